#pragma once
// Round instrument knob with a tick scale, rim, reflex and pointer, turned
// by dragging round its centre or by the keyboard.

#include "controls/dialcontrol.h"
#include "controls/facecache.h"
#include "controls/framebuffer.h"
#include "controls/knobcolors.h"
#include "controls/knobgeometry.h"
#include "platform/controls.h"

using KnobPointWidth = std::uint8_t; // 1..5

class TzKnob : public TzDialControl {
    Q_OBJECT
public:
    explicit TzKnob(QWidget* parent = nullptr);

    int Value() const { return m_value; }
    void SetValue(int v);
    int Min() const { return m_min; }
    virtual void SetMin(int v);
    int Max() const { return m_max; }
    virtual void SetMax(int v);
    KnobColorType KnobColor() const { return m_knobColor; }
    void SetKnobColor(KnobColorType k);
    bool SteelLook() const { return m_steelLook; }
    void SetSteelLook(bool v);
    TColor PointColor() const { return m_pointColor; }
    void SetPointColor(TColor c);
    KnobPointWidth PointWidth() const { return m_pointWidth; }
    void SetPointWidth(KnobPointWidth w);
    bool Ticks() const { return m_ticks; }
    void SetTicks(bool v);
    int StepPerTick() const { return m_stepPerTick; }
    void SetStepPerTick(int v);
    TColor TickColor() const { return m_tickColor; }
    void SetTickColor(TColor c);
    bool HideReflex() const { return m_hideReflex; }
    void SetHideReflex(bool v);
    bool AutoFocus = false;

    // Both Width and Height make a square of the given side.
    void SetWidth(int side) override;
    void SetHeight(int side) override { SetWidth(side); }
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() { RebuildHitRegion(); }

    virtual int ValueFromPoint(int x, int y);
    virtual void SetValueFromPoint(int x, int y);
    // Whether a press at the point grabs the knob.
    bool InHitRegion(int x, int y) const { return m_hit.contains(x, y); }

    TNotifyEvent OnChange;
    TNotifyEvent OnMinimum;
    TNotifyEvent OnMaximum;
    TNotifyEvent OnPaint;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Paint() override;
    bool GrabsAt(int x, int y) override { return m_hit.contains(x, y); }
    void DialTo(int x, int y) override { SetValueFromPoint(x, y); }
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Resize() override;

private:
    void RebuildHitRegion();

    knobgeo::HitRegion m_hit;
    TColor m_light = clWhite, m_mid = clSilver, m_dark = clGray;
    KnobColorType m_knobColor = kcSilver;
    int m_value = 0;
    bool m_steelLook = false;
    TColor m_pointColor = 0x0000FF;
    KnobPointWidth m_pointWidth = 1;
    bool m_ticks = true;
    int m_stepPerTick = 10;
    TColor m_tickColor = clBlack;
    int m_min = 0;
    int m_max = 100;
    bool m_hideReflex = false;
    paint::FaceCache m_face;
    paint::FrameBuffer m_frame;
};
