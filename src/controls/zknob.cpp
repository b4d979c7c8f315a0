#include "controls/zknob.h"

#include "controls/steelbrush.h"

#include <algorithm>

TzKnob::TzKnob(QWidget* parent) : TzDialControl(parent)
{
    KnobColorToColors(m_knobColor, m_light, m_mid, m_dark);
    SetParentColor(true);
    SetTabStop(true);
    SetWidth(57);
    SetHeight(57);
}

void TzKnob::SetValue(int v)
{
    m_value = v > m_max ? m_max : v < m_min ? m_min : v;
    if (OnChange)
        OnChange(this);
    // The ends are told by the value asked for, so a clamped one tells none.
    if (v == m_min && OnMinimum)
        OnMinimum(this);
    if (v == m_max && OnMaximum)
        OnMaximum(this);
    RefreshIfNot({m_value, m_min, m_max});
}

void TzKnob::SetMin(int v)
{
    m_min = std::min(v, m_max);
    SetValue(m_value);
    Invalidate();
}

void TzKnob::SetMax(int v)
{
    m_max = std::max(v, m_min);
    SetValue(m_value);
    Invalidate();
}

void TzKnob::SetKnobColor(KnobColorType k)
{
    if (k == m_knobColor)
        return;
    m_knobColor = k;
    KnobColorToColors(k, m_light, m_mid, m_dark);
    Invalidate();
}

void TzKnob::SetSteelLook(bool v)
{
    m_steelLook = v;
    Invalidate();
}

void TzKnob::SetPointColor(TColor c)
{
    if (c == m_pointColor)
        return;
    m_pointColor = c;
    Invalidate();
}

void TzKnob::SetPointWidth(KnobPointWidth w)
{
    w = std::clamp<KnobPointWidth>(w, 1, 5);
    if (w == m_pointWidth)
        return;
    m_pointWidth = w;
    Refresh();
}

void TzKnob::SetTicks(bool v)
{
    if (v == m_ticks)
        return;
    m_ticks = v;
    Invalidate();
}

void TzKnob::SetStepPerTick(int v)
{
    if (v == m_stepPerTick)
        return;
    m_stepPerTick = v;
    Invalidate();
}

void TzKnob::SetTickColor(TColor c)
{
    m_tickColor = c;
    Invalidate();
}

void TzKnob::SetHideReflex(bool v)
{
    if (v == m_hideReflex)
        return;
    m_hideReflex = v;
    Invalidate();
}

void TzKnob::SetWidth(int side)
{
    SetBounds(Left(), Top(), side, side);
}

void TzKnob::SetBounds(int left, int top, int width, int height)
{
    const int side = knobgeo::KnobSide(width, height, Width());
    TzDialControl::SetBounds(left, top, side, side);
    // Rebuilt on every size, parent or not, so that a knob made in code
    // answers presses as soon as it is shown.
    RebuildHitRegion();
}

void TzKnob::Resize()
{
    RebuildHitRegion();
    TzDialControl::Resize();
}

void TzKnob::RebuildHitRegion()
{
    TRect f = ClientRect();
    InflateRect(f, -8, -8);
    m_hit = knobgeo::HitRegion::ellipse(f);
}

int TzKnob::ValueFromPoint(int x, int y)
{
    return knobgeo::ValueFromPercent(knobgeo::PercentFromPoint(x, y, Width() / 2), m_min, m_max);
}

void TzKnob::SetValueFromPoint(int x, int y)
{
    SetValue(ValueFromPoint(x, y));
}

void TzKnob::Paint()
{
    const int W = Width(), H = Height();
    const int r = W / 2;
    const TRect f = knobgeo::KnobFace(W);
    const TColor back = Color();
    const int parity = m_value % 2 != 0 ? 1 : 0;
    const paint::FaceCache::Key key{back, m_steelLook, m_ticks, m_tickColor, m_min, m_max, m_stepPerTick,
                                    m_light, m_mid, m_dark, m_hideReflex, parity};
    const TBitmap& face = m_face.Get(this, W, H, Font(), key, [&](TCanvas& c) {
        c.Brush.Color = back;
        if (m_steelLook)
            FillSteel(c, TRect(0, 0, W, H));
        else
            c.FillRect(TRect(0, 0, W, H));

        if (m_ticks) {
            c.Pen.Color = m_tickColor;
            c.Pen.Width = 1;
            for (int v : knobgeo::TickValues(m_min, m_max, m_stepPerTick)) {
                const TPoint e =
                    knobgeo::RayEnd(r, r, r, knobgeo::PercentAngle(knobgeo::KnobPercent(v, m_min, m_max)));
                c.MoveTo(r, r);
                c.LineTo(e.X, e.Y);
            }
        }

        // Body round the face; it covers the inner parts of the ticks.
        c.Pen.Color = clBlack;
        c.Pen.Style = TPenStyle::psClear;
        c.Brush.Color = back;
        if (m_steelLook)
            c.Brush.Bitmap = SteelBrushBitmap();
        c.Ellipse(f.Left - 3, f.Top - 3, f.Right + 3, f.Bottom + 3);
        c.Brush.Bitmap = nullptr;

        c.Pen.Style = TPenStyle::psSolid;
        c.Brush.Color = m_mid;
        for (int k = W / 22; k >= 0; --k)
            c.Ellipse(f.Left + k, f.Top + k, f.Right + k, f.Bottom + k);
        c.Ellipse(f);
        if (!m_hideReflex)
            DrawKnobReflex(c, f.Right - f.Left, f, m_light, m_dark, parity);
        c.Pen.Color = clBlack;
        c.Brush.Style = TBrushStyle::bsClear;
        c.Ellipse(f);
    });
    TCanvas& c = m_frame.Begin(this, face, Font());
    Painted({m_value, m_min, m_max});

    c.Pen.Color = m_pointColor;
    c.Pen.Width = m_pointWidth;
    const TPoint e = knobgeo::RayEnd(r, r, r - m_pointWidth - 8,
                                     knobgeo::PercentAngle(knobgeo::KnobPercent(m_value, m_min, m_max)));
    c.MoveTo(r, r);
    c.LineTo(e.X, e.Y);

    c.Pen.Width = 1;
    c.Pen.Color = clBlack;
    c.Brush.Color = back;
    if (Focused())
        c.DrawFocusRect(TRect(0, 0, W, H));
    m_frame.End(*Canvas());
    if (OnPaint)
        OnPaint(this);
}

void TzKnob::KeyDown(std::uint16_t& key, TShiftState)
{
    if (key < VK_PRIOR || key > VK_DOWN)
        return;
    if (const auto v = knobgeo::KeyTarget(key, m_value, m_min, m_max, knobgeo::KnobKeyStep(m_min, m_max)))
        SetValue(*v);
    key = 0;
}

void TzKnob::MouseEnter()
{
    TzDialControl::MouseEnter();
    if (AutoFocus && !Focused() && CanFocus())
        SetFocus();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TzKnob::MouseLeave()
{
    TzDialControl::MouseLeave();
    if (OnMouseLeave)
        OnMouseLeave(this);
}
