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

    TKitTechnicalLineTypes LineType() const { return lineType_; }
    void SetLineType(TKitTechnicalLineTypes v);
    TKitLineEndings LineEndingsign() const { return endSign_; }
    void SetLineEndingsign(TKitLineEndings v);
    TKitLineEndings LineStartSign() const { return startSign_; }
    void SetLineStartSign(TKitLineEndings v);
    const TPen& LineSettings() const { return pen_; }
    void SetLineSettings(const TPen& p);
    bool Arrowed() const { return arrowed_; }
    void SetArrowed(bool v);
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int v);
    int SignSize() const { return signSize_; }
    void SetSignSize(int v);
    TKitSignPlaces SignPlaces() const { return signPlaces_; }
    void SetSignPlaces(TKitSignPlaces v);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor v);
    TColor FillColor() const { return fillColor_; }
    void SetFillColor(TColor v);
    bool ShadowVisible() const { return shadowVisible_; }
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

    TKitTechnicalLineTypes lineType_ = lsStraightLeftToRight;
    TKitLineEndings endSign_ = leClosedArrowRight;
    TKitLineEndings startSign_ = leNothing;
    TPen pen_;
    bool arrowed_ = false;
    int shadowDepth_ = 6;
    int signSize_ = 40;
    TKitSignPlaces signPlaces_ = spEnd;
    TColor shadowColor_ = clBtnShadow;
    TColor fillColor_ = clNone;
    bool shadowVisible_ = false;
};

// The arrow sign that points the given way, keeping the open or closed kind
// of `sign`; other signs come back unchanged.  Directions: 0 up, 1 down,
// 2 left, 3 right.
TKitLineEndings KitArrowFacing(TKitLineEndings sign, int direction);
// The directions (0 up, 1 down, 2 left, 3 right) of a line type's start and end.
void KitLineDirections(TKitTechnicalLineTypes type, int& start, int& end);
