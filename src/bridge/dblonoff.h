#pragma once
// An on/off switch made of two round push buttons stacked one above the
// other: while on, the upper button is pressed in and the lower one stands
// out; while off, the reverse. The user presses the one that stands out.

#include "controls/zonzoff.h"

// Geometry of the double switch for a size and a control size.
struct TDblOnOffGeometry {
    int boxLeft = 0, boxTop = 0, boxWidth = 0, boxHeight = 0;
    TRect caption;
    int diameter = 0, gap = 0, offset = 0;
    // Pressed positions of the two buttons; a raised button is drawn and
    // hit 3 pixels up and left of these.
    TRect upper() const;
    TRect lower() const;
};
TDblOnOffGeometry DblOnOffGeometry(int size, TzcOnOffGraphPlacement align, int width, int height);

class TzcDblOnOff : public TzcCustomOnOff {
public:
    explicit TzcDblOnOff(QWidget* owner);

    int Size() const { return m_size; }
    void SetSize(int s);
    bool Use3D() const { return m_use3D; }
    void SetUse3D(bool v);
    bool HideReflex() const { return m_hideReflex; }
    void SetHideReflex(bool v);
    KnobColorType OnKnobColor() const { return m_onKnobColor; }
    void SetOnKnobColor(KnobColorType k);
    KnobColorType OffKnobColor() const { return m_offKnobColor; }
    void SetOffKnobColor(KnobColorType k);

    void SetBounds(int left, int top, int width, int height) override;
    TDblOnOffGeometry Geometry() const;

protected:
    void Resize() override;

protected:
    void PaintDisabled(TCanvas& c) override;
    void PaintOn(TCanvas& c) override;
    void PaintOff(TCanvas& c) override;
    knobgeo::HitRegion MakeOnRegion() override;
    knobgeo::HitRegion MakeOffRegion() override;
    void AddFaceKey(paint::FaceCache::Key& key) const override
    {
        key.insert(key.end(), {m_size, m_use3D, m_hideReflex, m_onColors[0], m_onColors[1], m_onColors[2],
                               m_offColors[0], m_offColors[1], m_offColors[2]});
    }

private:
    void DrawBox(TCanvas& c, const TDblOnOffGeometry& g);
    void DrawButton(TCanvas& c, const TRect& place, bool raised, const TColor (&colors)[3]);
    void PaintState(TCanvas& c, bool on);
    // Computes the geometry and fills the base's box and caption fields.
    TDblOnOffGeometry Calc();

    int m_size = 1;
    bool m_use3D = true;
    TColor m_onColors[3] = {};  // light, mid, dark
    KnobColorType m_onKnobColor = kcGreen;
    TColor m_offColors[3] = {};
    KnobColorType m_offKnobColor = kcRed;
    bool m_hideReflex = false;
};
