#pragma once
// A window-less technical line: straight, along two edges, diagonal or a
// quarter-ellipse curve, with signs (arrows, diamonds, circles...) at its
// start, end or both, an optional drop shadow and the control's bevel.

#include "components/kitctrl.h"

enum TKitTechnicalLineTypes : std::uint8_t {
    lsStraightLeftToRight, lsStraightTopToBottom, lsTopLeftToBottomRight, lsBottomLeftToTopRight,
    lsTopLeftEdge, lsBottomLeftEdge, lsTopRightEdge, lsBottomRightEdge,
    lsTopLeftCurve, lsBottomLeftCurve, lsTopRightCurve, lsBottomRightCurve
};

enum TKitLineEndings : std::uint8_t {
    leNothing, leOpenArrowUp, leOpenArrowDown, leOpenArrowRight, leOpenArrowLeft,
    leClosedArrowUp, leClosedArrowDown, leClosedArrowLeft, leClosedArrowRight,
    leDiamond, leCircle, leRectangle, leRoundRect, leParallelogramm, leComb,
    leHalfCircleLeft, leHalfCircleRight, leHalfCircleUp, leHalfCircleDown
};

enum TKitSignPlaces : std::uint8_t { spEnd, spStart, spBoth, spNoWhere };

class TKitTechnicalLine : public TKitGraphicControl {
    Q_OBJECT
public:
    explicit TKitTechnicalLine(QWidget* parent = nullptr);
    ~TKitTechnicalLine() override;

    TKitTechnicalLineTypes LineType() const { return m_lineType; }
    void SetLineType(TKitTechnicalLineTypes v);
    TKitLineEndings LineEndingsign() const { return m_endSign; }
    void SetLineEndingsign(TKitLineEndings v);
    TKitLineEndings LineStartSign() const { return m_startSign; }
    void SetLineStartSign(TKitLineEndings v);
    const TPen& LineSettings() const { return m_pen; }
    void SetLineSettings(const TPen& p);
    bool Arrowed() const { return m_arrowed; }
    void SetArrowed(bool v);
    int ShadowDepth() const { return m_shadowDepth; }
    void SetShadowDepth(int v);
    int SignSize() const { return m_signSize; }
    void SetSignSize(int v);
    TKitSignPlaces SignPlaces() const { return m_signPlaces; }
    void SetSignPlaces(TKitSignPlaces v);
    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor v);
    TColor FillColor() const { return m_fillColor; }
    void SetFillColor(TColor v);
    bool ShadowVisible() const { return m_shadowVisible; }
    void SetShadowVisible(bool v);

    bool IsEmpty() const override { return false; }

protected:
    void Paint() override;

private:
    template <class T>
    void store(T& field, T v)
    {
        if (field == v)
            return;
        field = v;
        Invalidate();
    }

    TKitTechnicalLineTypes m_lineType = lsStraightLeftToRight;
    TKitLineEndings m_endSign = leClosedArrowRight;
    TKitLineEndings m_startSign = leNothing;
    TPen m_pen;
    bool m_arrowed = false;
    int m_shadowDepth = 6;
    int m_signSize = 40;
    TKitSignPlaces m_signPlaces = spEnd;
    TColor m_shadowColor = clBtnShadow;
    TColor m_fillColor = clNone;
    bool m_shadowVisible = false;
};

// The arrow sign that points the given way, keeping the open or closed kind
// of `sign`; other signs come back unchanged.  Directions: 0 up, 1 down,
// 2 left, 3 right.
TKitLineEndings KitArrowFacing(TKitLineEndings sign, int direction);
// The directions (0 up, 1 down, 2 left, 3 right) of a line type's start and end.
void KitLineDirections(TKitTechnicalLineTypes type, int& start, int& end);
