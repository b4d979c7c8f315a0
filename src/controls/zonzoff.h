#pragma once
// Two-state switches: the shared base with its press state machine and
// caption, the rocker with a lamp and the round push button.

#include "controls/facecache.h"
#include "controls/knobcolors.h"
#include "controls/knobgeometry.h"
#include "platform/controls.h"
#include "platform/stdctrls.h"

#include <cstdint>

using TzcOnOffGraphPlacement = knobgeo::GlyphAlign;
constexpr auto zcgp_Top = knobgeo::GlyphAlign::Top;
constexpr auto zcgp_Bottom = knobgeo::GlyphAlign::Bottom;
constexpr auto zcgp_Left = knobgeo::GlyphAlign::Left;
constexpr auto zcgp_Right = knobgeo::GlyphAlign::Right;

enum class zbHorzAlign : std::uint8_t { zbha_Center, zbha_Top, zbha_Bottom };

class TzcCustomOnOff : public TCustomControl {
    Q_OBJECT
public:
    explicit TzcCustomOnOff(QWidget* parent = nullptr);
    ~TzcCustomOnOff() override;

    bool SwitchOn() const { return m_switchOn; }
    void SetSwitchOn(bool v);
    TzcOnOffGraphPlacement GlyphAlign() const { return m_glyphAlign; }
    void SetGlyphAlign(TzcOnOffGraphPlacement a);
    bool Autofocus = false;
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor c);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    TColor HighLightColor() const { return m_highLight; }
    void SetHighLightColor(TColor c);
    TColor ShadowColor() const { return m_shadow; }
    void SetShadowColor(TColor c);
    bool MultipleLines() const { return m_multipleLines; }
    void SetMultipleLines(bool v);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);
    bool ShowTextPress() const { return m_showTextPress; }
    void SetShowTextPress(bool v);
    zbHorzAlign HorzAlign() const { return m_horzAlign; }
    void SetHorzAlign(zbHorzAlign a);
    bool SteelLook() const { return m_steelLook; }
    void SetSteelLook(bool v);
    bool UseFocusFrame() const { return m_useFocusFrame; }
    void SetUseFocusFrame(bool v);
    bool UseFocusBold() const { return m_useFocusBold; }
    void SetUseFocusBold(bool v);
    TColor GetColor() const { return Color(); }
    void SetColor(TColor c);

    // The state of the press machine, for views that show it.
    bool Pressed() const { return m_pressed; }
    bool Tracking() const { return m_tracking; }

    // Builds the hit regions after the control is set up.
    void Loaded();
    void Click() override;

    TNotifyEvent OnPaint;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnOn;
    TNotifyEvent OnOff;

protected:
    virtual void PaintDisabled(TCanvas& c);
    virtual void PaintOn(TCanvas& c);
    virtual void PaintOff(TCanvas& c);
    virtual void DrawCaption(TRect r, TCanvas& c);
    virtual void RebuildRegions();
    // Adds what the subclass's picture depends on beyond the settings of
    // this class; the picture is drawn anew only when something changes.
    virtual void AddFaceKey(paint::FaceCache::Key& key) const { (void)key; }
    virtual knobgeo::HitRegion MakeOnRegion();
    virtual knobgeo::HitRegion MakeOffRegion();

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;
    void CaptionChanged() override;
    void Resize() override;
    void FontChangedNotify() override { Invalidate(); }
    void EnabledChanged() override { Invalidate(); }
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

    // The switch picture's box and the caption box, in client coordinates,
    // filled by a subclass's geometry routine.
    int m_boxLeft = 0, m_boxTop = 0, m_boxWidth = 0, m_boxHeight = 0;
    int m_capLeft = 0, m_capTop = 0, m_capWidth = 0, m_capHeight = 0;
    void PlaceBox(int boxW, int boxH, bool pushButton);
    TPoint At(int x, int y) const { return TPoint(m_boxLeft + x, m_boxTop + y); }
    void DrawCaptionBox(TCanvas& c);

private:
    bool m_keyClick = false;
    TzcOnOffGraphPlacement m_glyphAlign = zcgp_Top;
    TColor m_backColor = clBtnFace;
    TAlignment m_alignment = TAlignment::taCenter;
    TColor m_highLight = clBtnHighlight;
    TColor m_shadow = clBtnShadow;
    bool m_multipleLines = false;
    bool m_wordWrap = false;
    bool m_showTextPress = true;
    zbHorzAlign m_horzAlign = zbHorzAlign::zbha_Center;
    bool m_switchOn = false;
    bool m_steelLook = false;
    knobgeo::HitRegion m_onRegion;
    knobgeo::HitRegion m_offRegion;
    bool m_useFocusFrame = false;
    bool m_useFocusBold = true;
    bool m_pressed = false;
    bool m_tracking = false;
    int m_shortcutId = 0;
    paint::FaceCache m_face;
};

using TzcOnOffSize = std::uint8_t;  // 1..3
using TzcOnOffSize2 = std::uint8_t; // 1..9

// Rocker switch with a lamp on its lower face.
class TzcLightOnOff : public TzcCustomOnOff {
    Q_OBJECT
public:
    explicit TzcLightOnOff(QWidget* parent = nullptr);

    TzcOnOffSize Size() const { return m_size; }
    void SetSize(TzcOnOffSize s);
    TColor OnColor() const { return m_onColor; }
    void SetOnColor(TColor c);
    TColor OffColor() const { return m_offColor; }
    void SetOffColor(TColor c);
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void PaintDisabled(TCanvas& c) override;
    void PaintOn(TCanvas& c) override;
    void PaintOff(TCanvas& c) override;
    knobgeo::HitRegion MakeOnRegion() override;
    knobgeo::HitRegion MakeOffRegion() override;
    void AddFaceKey(paint::FaceCache::Key& key) const override
    {
        key.insert(key.end(), {m_size, m_onColor, m_offColor});
    }

private:
    void CalcGeometry();
    void Poly(TCanvas& c, std::initializer_list<TPoint> pts);
    void DarkEdge(TCanvas& c);

    TzcOnOffSize m_size = 1;
    TColor m_onColor = 0x00FF00;
    TColor m_offColor = 0x008000;
    knobgeo::RockerGeometry m_g{};
};

// Round push button: raised when off, pressed flat when on.
class TzcSingleOnOff : public TzcCustomOnOff {
    Q_OBJECT
public:
    explicit TzcSingleOnOff(QWidget* parent = nullptr);

    TzcOnOffSize2 Size() const { return m_size; }
    void SetSize(TzcOnOffSize2 s);
    bool Use3D() const { return m_use3D; }
    void SetUse3D(bool v);
    KnobColorType KnobColor() const { return m_knobColor; }
    void SetKnobColor(KnobColorType k);
    bool HideReflex() const { return m_hideReflex; }
    void SetHideReflex(bool v);
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void PaintDisabled(TCanvas& c) override;
    void PaintOn(TCanvas& c) override;
    void PaintOff(TCanvas& c) override;
    knobgeo::HitRegion MakeOnRegion() override;
    knobgeo::HitRegion MakeOffRegion() override;
    void AddFaceKey(paint::FaceCache::Key& key) const override
    {
        key.insert(key.end(), {m_size, m_use3D, m_light, m_mid, m_dark, m_hideReflex});
    }

private:
    void CalcGeometry();
    void DrawBox(TCanvas& c);
    // A rectangle of the button's geometry placed in the control.
    TRect AtBox(TRect r) const;
    // The cap where it lies pressed in, moved by `shift` on both axes (the
    // raised cap stands 3 pixels up and left).
    TRect Cap(int shift) const;

    TzcOnOffSize2 m_size = 1;
    bool m_use3D = true;
    knobgeo::ButtonGeometry m_g{};
    TColor m_light = clWhite, m_mid = clSilver, m_dark = clGray;
    KnobColorType m_knobColor = kcSilver;
    bool m_hideReflex = false;
};
