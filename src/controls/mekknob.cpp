#include "controls/mekknob.h"

#include "controls/knobcolors.h"
#include "controls/knobgeometry.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

TMekTransparentKnob::TMekTransparentKnob(QWidget* parent) : TzDialControl(parent)
{
    SetBounds(Left(), Top(), 60, 60);
    SetTabStop(true);
    SetTransparent(true);
}

void TMekTransparentKnob::SetPosition(int v)
{
    if (v == m_position)
        return;
    m_position = v;
    if (OnChange)
        OnChange(this);
    Repaint();
}

namespace {
void storeAndRepaint(int& field, int v, TMekTransparentKnob* k)
{
    if (field == v)
        return;
    field = v;
    k->Repaint();
}
} // namespace

void TMekTransparentKnob::SetRadius(int v) { storeAndRepaint(m_radius, v, this); }
void TMekTransparentKnob::SetNumPositions(int v) { storeAndRepaint(m_numPositions, v, this); }
void TMekTransparentKnob::SetAngle1(int v) { storeAndRepaint(m_angle1, v, this); }
void TMekTransparentKnob::SetAngle2(int v) { storeAndRepaint(m_angle2, v, this); }

void TMekTransparentKnob::SetStepPerTick(int v)
{
    m_stepPerTick = v;
    Repaint();
}

void TMekTransparentKnob::SetTransparent(bool v)
{
    m_transparent = v;
    // Transparent: the parent's picture is painted first beneath the knob.
    setAttribute(Qt::WA_OpaquePaintEvent, !v);
    Repaint();
}

int TMekTransparentKnob::AngleOfPosition(int p) const
{
    return knobgeo::PositionAngle(p, m_numPositions, m_angle1, m_angle2);
}

const TMekTransparentKnob::LabelLayout& TMekTransparentKnob::LayoutLabels() const
{
    LabelKey key{ClientWidth(), ClientHeight(), m_radius, m_numPositions, m_angle1, m_angle2,
                 m_stepPerTick, m_labels, Font()};
    if (!m_labelCache || !(m_labelCache->first == key))
        m_labelCache.emplace(std::move(key), MakeLabelLayout());
    return m_labelCache->second;
}

TMekTransparentKnob::LabelLayout TMekTransparentKnob::MakeLabelLayout() const
{
    const int cx = ClientWidth() / 2, cy = ClientHeight() / 2;
    const int step = std::max(1, m_stepPerTick);
    const int labelDist = (ClientHeight() / 2 + m_radius) / 2;
    const int rim = std::min(m_radius / 8, 6);
    std::vector<std::pair<TPoint, TPoint>> ticks;
    for (int p = 0; p < m_numPositions; p += step) {
        const int a = AngleOfPosition(p);
        ticks.emplace_back(knobgeo::PointAtAngle(cx, cy, a, m_radius + 3),
                           knobgeo::PointAtAngle(cx, cy, a, m_radius + 6));
    }
    TFont font = Font();
    font.Name = "Arial";
    font.SetSize(std::min(ClientHeight() / 10, 10));
    const int fullSize = font.PixelSize;
    const TRect client = ClientRect();
    const auto inside = [&](const TRect& r) {
        return r.Left >= client.Left && r.Top >= client.Top && r.Right <= client.Right
               && r.Bottom <= client.Bottom;
    };

    // Each label is centred on the ray of its tick; where our font would
    // print it over a tick or under the body's rim there, it moves out along
    // the ray, and if one would leave the knob that way, all of them are set
    // a pixel smaller and placed again. Labels that fit nowhere keep the
    // plain place and size.
    const auto place = [&](int size, bool plain, LabelLayout& out) {
        out.font = font;
        out.font.PixelSize = size;
        out.places.clear();
        const QFontMetrics fm(out.font.ToQFont());
        int i = 0;
        for (int p = 0; p < m_numPositions && i < m_labels.size(); p += step, ++i) {
            const QString shown = out.font.DisplayText(m_labels[i]);
            const int w = fm.horizontalAdvance(shown), h = fm.height();
            const QRect ink = fm.tightBoundingRect(shown).translated(0, fm.ascent());
            const int a = AngleOfPosition(p);
            TRect cell, inked;
            for (int d = labelDist;; ++d) {
                const TPoint at = knobgeo::PointAtAngle(cx, cy, a, d);
                cell = Bounds(at.X - w / 2, at.Y - h / 2, w, h);
                inked = TRect::from(ink.translated(cell.Left, cell.Top));
                if (plain || knobgeo::InkClearOfKnob(inked, ticks, cx, cy, m_radius, rim))
                    break;
                if (!inside(inked))
                    return false;
            }
            // The digits themselves and a little round them.
            InflateRect(inked, 2, 2);
            out.places.push_back({p, m_labels[i], cell, inked});
        }
        return true;
    };
    LabelLayout out;
    for (int size = fullSize; size >= std::min(fullSize, 7); --size)
        if (place(size, false, out))
            return out;
    place(fullSize, true, out);
    return out;
}

int TMekTransparentKnob::PositionFromPoint(int x, int y)
{
    // A click on a printed number means that number: the angle alone would
    // give a neighbouring position for much of its width.
    for (const LabelPlace& l : LayoutLabels().places)
        if (PtInRect(l.hit, TPoint(x, y)))
            return l.position;
    return knobgeo::PositionFromPoint(x, y, ClientWidth() / 2, ClientHeight() / 2, m_numPositions,
                                      m_angle1, m_angle2);
}

void TMekTransparentKnob::SetPositionFromPoint(int x, int y)
{
    const int p = PositionFromPoint(x, y);
    if (p >= 0)
        SetPosition(p);
}

void TMekTransparentKnob::PaintKnob(TCanvas& c)
{
    const int cx = ClientWidth() / 2, cy = ClientHeight() / 2;
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsClear;
    const TFont saved = c.Font;
    const LabelLayout& labels = LayoutLabels();
    c.Font = labels.font;

    // A step of zero or less would never leave the first tick.
    const int step = std::max(1, m_stepPerTick);
    for (int p = 0; p < m_numPositions; p += step) {
        const int a = AngleOfPosition(p);
        const TPoint t1 = knobgeo::PointAtAngle(cx, cy, a, m_radius + 3);
        const TPoint t2 = knobgeo::PointAtAngle(cx, cy, a, m_radius + 6);
        c.MoveTo(t1.X, t1.Y);
        c.LineTo(t2.X, t2.Y);
    }
    for (const LabelPlace& l : labels.places) {
        c.Font.Color = l.position == m_position ? TColor(0xFF0000) : clBlack;
        c.TextOut(l.cell.Left, l.cell.Top, l.text);
    }
    c.Font = saved;
    c.Brush.Style = TBrushStyle::bsSolid;

    const int parity = m_position % 2 != 0 ? 1 : 0;
    auto drawBody = [&](TCanvas& b) {
        const TRect box(Width() / 2 - m_radius, Height() / 2 - m_radius, Width() / 2 + m_radius,
                        Height() / 2 + m_radius);
        const int k = std::min(m_radius / 8, 6);
        b.Pen.Color = clBlack;
        b.Brush.Color = clSilver;
        for (int j = k; j >= 0; --j)
            b.Ellipse(box.Left + j, box.Top + j, box.Right + j, box.Bottom + j);
        b.Ellipse(box);
        DrawKnobReflex(b, 2 * m_radius, box, clWhite, clGray, parity);
        b.Pen.Color = clBlack;
        b.Brush.Style = TBrushStyle::bsClear;
        b.Ellipse(box);
    };
    if (!paint::FaceCache::CopiesExactly(this)) {
        c.Pen = TPen();
        drawBody(c);
    } else if (QPainter* p = c.Painter()) {
        p->drawImage(QPoint(0, 0), m_body.GetOverlay(this, Width(), Height(), TFont(), {m_radius, parity}, drawBody));
    }
    c.Pen = TPen();
    c.Brush.Color = clSilver;
    c.Brush.Style = TBrushStyle::bsClear;

    const int a = AngleOfPosition(m_position);
    const TPoint p0 = knobgeo::PointAtAngle(cx, cy, a, 0);
    const TPoint p1 = knobgeo::PointAtAngle(cx, cy, a, m_radius - 2);
    c.Pen.Width = 3;
    c.Pen.Color = 0x0000FF;
    c.MoveTo(p0.X, p0.Y);
    c.LineTo(p1.X, p1.Y);
    c.Pen.Width = 1;
    c.Brush.Style = TBrushStyle::bsSolid;
    if (Focused())
        c.DrawFocusRect(ClientRect());
}

void TMekTransparentKnob::Paint()
{
    if (m_transparent) {
        // What lies beneath has already been painted by the parent.
        TCanvas& c = *Canvas();
        c.Font = Font();
        PaintKnob(c);
        return;
    }
    TCanvas& c = m_frame.Begin(this, ClientWidth(), ClientHeight(), Font());
    c.Brush.Color = Color();
    c.FillRect(ClientRect());
    PaintKnob(c);
    m_frame.End(*Canvas());
}

void TMekTransparentKnob::Repaint()
{
    // A transparent knob is repainted together with what lies beneath it.
    repaint();
}

void TMekTransparentKnob::KeyDown(std::uint16_t& key, TShiftState)
{
    if (key < VK_PRIOR || key > VK_DOWN)
        return;
    const int last = std::max(0, m_numPositions - 1);
    const int step = std::max(1, m_numPositions / 10);
    if (const auto p = knobgeo::KeyTarget(key, m_position, 0, last, step))
        SetPosition(*p);
    key = 0;
}
