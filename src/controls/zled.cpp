#include "controls/zled.h"

#include "controls/knobgeometry.h"
#include "controls/steelbrush.h"

namespace {
struct LedColors {
    TColor on, off;
};
constexpr LedColors ledTable[] = {
    {0x0000FF, 0x000080}, // lctRed
    {0xFF0000, 0x800000}, // lctBlue
    {0x00FF00, 0x008000}, // lctGreen
    {0x00FFFF, 0x008080}, // lctyellow
    {0xFF00FF, 0x800080}, // lctMangenta
    {0xC0C0C0, 0x000000}, // lctGrey
    {0xFFFF00, 0x808000}, // lctCyan
    {0xFFFFFF, 0x808080}, // lctWhite
    {0x0000FF, 0x000080}, // lctUser: the start for its colour events
};
} // namespace

TColor LedOnColor(LedColorType c) { return ledTable[std::min<int>(c, lctUser)].on; }
TColor LedOffColor(LedColorType c) { return ledTable[std::min<int>(c, lctUser)].off; }

TzLed::TzLed(QWidget* parent) : TGraphicControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetBounds(Left(), Top(), 17, 17);
}

TzLed::~TzLed()
{
    FreeTimer();
}

void TzLed::SetEnabled(bool v)
{
    if (v == m_lit)
        return;
    m_lit = v;
    Refresh();
    if (OnChange)
        OnChange(this);
}

void TzLed::SetLEDColor(LedColorType c)
{
    m_color = c;
    Refresh();
}

void TzLed::SetLedStyle(LedStyleType s)
{
    if (s == m_style)
        return;
    m_style = s;
    Invalidate();
}

void TzLed::SetSteelLook(bool v)
{
    m_steelLook = v;
    Invalidate();
}

void TzLed::FreeTimer()
{
    if (!m_timer)
        return;
    // The timer may be the one whose tick is running now.
    m_timer->SetEnabled(false);
    m_timer->OnTimer = nullptr;
    m_timer->deleteLater();
    m_timer = nullptr;
}

void TzLed::StartTimer()
{
    // An interval of zero or less would tick without pause: no blinking.
    if (m_blinkInterval <= 0)
        return;
    m_timer = new TTimer(this);
    m_timer->SetInterval(m_blinkInterval);
    m_timer->OnTimer = [this](TObject* s) { BlinkTimer(s); };
}

void TzLed::SetBlink(bool v)
{
    if (v == m_blink)
        return;
    FreeTimer();
    m_blink = v;
    if (v)
        StartTimer();
    Refresh();
}

void TzLed::SetBlinkInterval(int ms)
{
    if (ms == m_blinkInterval)
        return;
    FreeTimer();
    m_blinkInterval = ms;
    if (m_blink)
        StartTimer();
    Refresh();
}

void TzLed::BlinkTimer(TObject*)
{
    SetEnabled(!m_lit);
}

void TzLed::StopBlink()
{
    SetEnabled(false);
    FreeTimer();
}

TColor TzLed::LampColor()
{
    TColor c = m_lit ? LedOnColor(m_color) : LedOffColor(m_color);
    if (m_color == lctUser) {
        const zcGetColor& ev = m_lit ? OnGetOnColor : OnGetOffColor;
        if (ev)
            ev(this, c);
    }
    return c;
}

void TzLed::Paint()
{
    const int W = Width(), H = Height();
    const auto [q, h] = knobgeo::LampWidthsFor(W);
    const TColor back = Parent() ? Parent()->Color() : Color();
    const TColor lamp = LampColor();
    const TBitmap& face = m_face.Get(this, W, H, Font(), {back, lamp, m_steelLook, m_style}, [&](TCanvas& c) {
        if (m_steelLook) {
            FillSteel(c, TRect(0, 0, W, H));
        } else {
            c.Brush.Color = back;
            c.FillRect(TRect(0, 0, W, H));
        }
        c.Brush.Color = lamp;
        c.Pen.Color = clBlack;
        c.Pen.Width = q;

        if (m_style == lstSquare) {
            c.FillRect(TRect(0, 0, W, H));
            c.Polyline({{q - 1, q - 1}, {W - 1, q - 1}, {W - 1, H - 1}, {q - 1, H - 1}, {q - 1, q - 1}});
            c.Polyline({{3 * q - 1, 3 * q - 1},
                        {W - 2 * q - 1, 3 * q - 1},
                        {W - 2 * q - 1, H - 2 * q - 1},
                        {3 * q - 1, H - 2 * q - 1},
                        {3 * q - 1, 3 * q - 1}});
            c.Pen.Color = clSilver;
            c.Polyline({{2 * q - 1, H - q - 1}, {2 * q - 1, 2 * q - 1}, {W - 2 * q + 1, 2 * q - 1}});
            c.Pen.Color = clGray;
            c.Polyline({{W - q - 1, 3 * q - 1}, {W - q - 1, H - q - 1}, {2 * q - 1, H - q - 1}});
            c.Brush.Color = clGray;
            c.FillRect(TRect(W - 6 * q, H - 5 * q, W - 4 * q, H - 4 * q));
            c.FillRect(TRect(W - 9 * q, H - 5 * q, W - 7 * q, H - 4 * q));
            c.Brush.Color = clWhite;
            c.Pen.Color = clWhite;
            c.FillRect(TRect(4 * q, 4 * q, 6 * q, 5 * q));
            c.Brush.Color = clSilver;
            c.Pen.Color = clSilver;
            c.FillRect(TRect(7 * q, 4 * q, 9 * q, 5 * q));
        } else {
            c.Ellipse(0, 0, W, H);
            if (m_style == lstRound) {
                c.Pen.Color = clSilver;
                c.Ellipse(q, q, W - q, H - q);
                c.Pen.Color = clGray;
                c.Arc(q, q, W - q, H - q, q, H - q, W - q, q);
                c.Pen.Color = clBlack;
                c.Ellipse(2 * q, 2 * q, W - 2 * q, H - 2 * q);
                c.Arc(q, q, W - q, H - q, W / 2 + 3 * q, q, W / 2 - 3 * q, q);
                c.Arc(q, q, W - q, H - q, W / 2 - 3 * q, H - q, W / 2 + 3 * q, H - q);
                c.Arc(q, q, W - q, H - q, q, H / 2 - 3 * q, q, H / 2 + 3 * q);
                c.Arc(q, q, W - q, H - q, W - q, H / 2 + 3 * q, W - q, H / 2 - 3 * q);
            }
            // The reflex of the glass.
            c.Pen.Width = h;
            const int l = 4 * q, t = 4 * q, r = W - 4 * q, b = H - 4 * q;
            c.Pen.Color = clGray;
            c.Arc(l, t, r, b, W - 4 * q, H - 2 * q, W - 4 * q, H - 9 * q);
            c.Pen.Color = clWhite;
            c.Arc(l, t, r, b, 8 * q, 0, 7 * q, 9 * q);
            c.Pen.Color = clSilver;
            c.Arc(l, t, r, b, 8 * q, 0, 7 * q, 8 * q);
        }
    });
    Canvas()->Draw(0, 0, face);
    if (OnPaint)
        OnPaint(this);
}

void TzLed::MouseEnter()
{
    TGraphicControl::MouseEnter();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TzLed::MouseLeave()
{
    TGraphicControl::MouseLeave();
    if (OnMouseLeave)
        OnMouseLeave(this);
}
