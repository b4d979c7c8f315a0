#include "bridge/dblonoff.h"

#include <algorithm>

TRect TDblOnOffGeometry::upper() const
{
    const int l = boxLeft + offset, t = boxTop + gap;
    return TRect(l, t, l + diameter, t + diameter);
}

TRect TDblOnOffGeometry::lower() const
{
    const int l = boxLeft + offset, t = boxTop + 2 * gap + diameter;
    return TRect(l, t, l + diameter, t + diameter);
}

TDblOnOffGeometry DblOnOffGeometry(int s, TzcOnOffGraphPlacement align, int W, int H)
{
    TDblOnOffGeometry g;
    const int bw = 18 * s + 19, bh = 24 * s + 34;
    g.boxWidth = bw;
    g.boxHeight = bh;
    switch (align) {
    case zcgp_Top:
        g.boxLeft = (W - bw) / 2;
        g.boxTop = 0;
        g.caption = Bounds(0, bh + 1, W, H - bh - 1);
        break;
    case zcgp_Bottom:
        g.boxLeft = (W - bw) / 2;
        g.boxTop = H - bh - 1;
        g.caption = Bounds(0, 0, W, H - bh - 1);
        break;
    case zcgp_Left:
        g.boxLeft = 0;
        g.boxTop = (H - bh) / 2;
        g.caption = Bounds(bw + 1, 0, W - bw - 1, H);
        break;
    case zcgp_Right:
        g.boxLeft = W - bw - 2;
        g.boxTop = (H - bh) / 2;
        g.caption = Bounds(0, 0, W - bw - 1, H);
        break;
    }
    g.diameter = 6 * s + 15;
    g.gap = (bh - 2 * g.diameter) / 3;
    g.offset = (bw - g.diameter) / 2;
    return g;
}

TzcDblOnOff::TzcDblOnOff(QWidget* owner) : TzcCustomOnOff(owner)
{
    KnobColorToColors(m_onKnobColor, m_onColors[0], m_onColors[1], m_onColors[2]);
    KnobColorToColors(m_offKnobColor, m_offColors[0], m_offColors[1], m_offColors[2]);
    SetBounds(Left(), Top(), 45, 70);
    SetColor(clBtnFace);
    SetShowTextPress(false);
}

TDblOnOffGeometry TzcDblOnOff::Geometry() const
{
    return DblOnOffGeometry(m_size, GlyphAlign(), Width(), Height());
}

void TzcDblOnOff::SetSize(int s)
{
    s = std::clamp(s, 1, 3);
    if (s == m_size)
        return;
    m_size = s;
    SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TzcDblOnOff::SetUse3D(bool v)
{
    if (v == m_use3D)
        return;
    m_use3D = v;
    Invalidate();
}

void TzcDblOnOff::SetHideReflex(bool v)
{
    if (v == m_hideReflex)
        return;
    m_hideReflex = v;
    Invalidate();
}

void TzcDblOnOff::SetOnKnobColor(KnobColorType k)
{
    if (k == m_onKnobColor)
        return;
    m_onKnobColor = k;
    KnobColorToColors(k, m_onColors[0], m_onColors[1], m_onColors[2]);
    Invalidate();
}

void TzcDblOnOff::SetOffKnobColor(KnobColorType k)
{
    if (k == m_offKnobColor)
        return;
    m_offKnobColor = k;
    KnobColorToColors(k, m_offColors[0], m_offColors[1], m_offColors[2]);
    Invalidate();
}

void TzcDblOnOff::SetBounds(int left, int top, int width, int height)
{
    width = std::max(width, 18 * m_size + 20);
    height = std::max(height, 24 * m_size + 35);
    TzcCustomOnOff::SetBounds(left, top, width, height);
    RebuildRegions();
}

namespace {
knobgeo::HitRegion raisedRegion(TRect r)
{
    OffsetRect(r, -3, -3);
    return knobgeo::HitRegion::ellipse({r.Left, r.Top, r.Right, r.Bottom});
}
} // namespace

knobgeo::HitRegion TzcDblOnOff::MakeOnRegion()
{
    return raisedRegion(Calc().upper());
}

knobgeo::HitRegion TzcDblOnOff::MakeOffRegion()
{
    return raisedRegion(Calc().lower());
}

TDblOnOffGeometry TzcDblOnOff::Calc()
{
    const TDblOnOffGeometry g = Geometry();
    m_boxLeft = g.boxLeft;
    m_boxTop = g.boxTop;
    m_boxWidth = g.boxWidth;
    m_boxHeight = g.boxHeight;
    m_capLeft = g.caption.Left;
    m_capTop = g.caption.Top;
    m_capWidth = g.caption.Width();
    m_capHeight = g.caption.Height();
    return g;
}

void TzcDblOnOff::Resize()
{
    TzcCustomOnOff::Resize();
    Calc();
}

void TzcDblOnOff::DrawBox(TCanvas& c, const TDblOnOffGeometry& g)
{
    c.Pen = TPen();
    if (!m_use3D)
        return;
    const int bl = g.boxLeft, bt = g.boxTop, bw = g.boxWidth, bh = g.boxHeight;
    c.Pen.Color = ShadowColor();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = Color();
    c.Polygon({TPoint(bl, bt), TPoint(bl, bt + bh), TPoint(bl + bw, bt + bh), TPoint(bl + bw, bt), TPoint(bl, bt)});
    auto line3 = [&](TColor col, TPoint a, TPoint b, TPoint d) {
        c.Pen.Color = col;
        c.Polyline({a, b, d});
    };
    line3(HighLightColor(), TPoint(bl + 1, bt + bh), TPoint(bl + 1, bt + 1), TPoint(bl + bw, bt + 1));
    line3(clBlack, TPoint(bl + bw, bt + 1), TPoint(bl + bw, bt + bh), TPoint(bl, bt + bh));
    line3(ShadowColor(), TPoint(bl + 2, bt + bh - 1), TPoint(bl + bw - 1, bt + bh - 1), TPoint(bl + bw - 1, bt + 2));
}

// A pressed button lies flat at its place; a raised one is a short cylinder
// rising from there toward the upper left, its cap 3 pixels up and left.
void TzcDblOnOff::DrawButton(TCanvas& c, const TRect& place, bool raised, const TColor (&colors)[3])
{
    const int lift = raised ? 3 : 0;
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = colors[1];
    for (int i = 0; i <= lift; ++i) {
        TRect q = place;
        OffsetRect(q, -i, -i);
        c.Ellipse(q);
    }
    TRect cap = place;
    OffsetRect(cap, -lift, -lift);
    if (!m_hideReflex)
        DrawKnobReflex(c, place.Width(), cap, colors[0], colors[2], raised ? 0 : 1);
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Ellipse(cap);
    c.Brush.Style = TBrushStyle::bsSolid;
}

// On: the upper button pressed in, the lower one standing out; off: the
// reverse.
void TzcDblOnOff::PaintState(TCanvas& c, bool on)
{
    const TDblOnOffGeometry g = Calc();
    DrawBox(c, g);
    DrawButton(c, g.upper(), !on, m_onColors);
    DrawButton(c, g.lower(), on, m_offColors);
    DrawCaption(g.caption, c);
}

void TzcDblOnOff::PaintOn(TCanvas& c)
{
    PaintState(c, true);
}

void TzcDblOnOff::PaintOff(TCanvas& c)
{
    PaintState(c, false);
}

void TzcDblOnOff::PaintDisabled(TCanvas& c)
{
    const TDblOnOffGeometry g = Calc();
    DrawBox(c, g);
    c.Pen = TPen();
    c.Pen.Color = ShadowColor();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = ShadowColor();
    c.Ellipse(g.upper());
    c.Ellipse(g.lower());
    DrawCaption(g.caption, c);
}
