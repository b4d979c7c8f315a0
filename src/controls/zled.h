#pragma once
// Indicator lamp: one of three pictures in an on or off colour, scaled to
// its width; can blink by itself.

#include "controls/facecache.h"
#include "platform/controls.h"
#include "platform/timer.h"

#include <cstdint>

enum LedColorType : std::uint8_t {
    lctRed, lctBlue, lctGreen, lctyellow, lctMangenta, lctGrey, lctCyan, lctWhite, lctUser
};
enum LedStyleType : std::uint8_t { lstRound, lstSquare, lstSimpleRound };

using zcGetColor = std::function<void(TObject* Sender, TColor& TheColor)>;

// On and off colours of a lamp colour.
TColor LedOnColor(LedColorType c);
TColor LedOffColor(LedColorType c);

class TzLed : public TGraphicControl {
    Q_OBJECT
public:
    explicit TzLed(QWidget* parent = nullptr);
    ~TzLed() override;

    // The lit state. It stands in for the control's enabled flag under the
    // same name; the control itself stays enabled.
    bool Enabled() const { return m_lit; }
    void SetEnabled(bool v);
    LedColorType LEDColor() const { return m_color; }
    void SetLEDColor(LedColorType c);
    LedStyleType LedStyle() const { return m_style; }
    void SetLedStyle(LedStyleType s);
    bool SteelLook() const { return m_steelLook; }
    void SetSteelLook(bool v);
    bool Blink() const { return m_blink; }
    void SetBlink(bool v);
    int BlinkInterval() const { return m_blinkInterval; }
    void SetBlinkInterval(int ms);
    // Switches the lamp off and stops the ticks; Blink keeps its value.
    void StopBlink();
    bool Blinking() const { return m_timer != nullptr; }

    // The colour the lamp shows now.
    TColor LampColor();

    TNotifyEvent OnChange;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    zcGetColor OnGetOnColor;
    zcGetColor OnGetOffColor;

protected:
    virtual void BlinkTimer(TObject* sender);
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void FreeTimer();
    void StartTimer();

    bool m_steelLook = false;
    LedColorType m_color = lctRed;
    bool m_lit = false;
    bool m_blink = false;
    TTimer* m_timer = nullptr;
    int m_blinkInterval = 500;
    LedStyleType m_style = lstRound;
    paint::FaceCache m_face;
};
