#include "bridge/elscale.h"

#include "platform/clock.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TElAnalogScale::TElAnalogScale(QWidget* owner) : TMekWinGControl(owner) {}

void TElAnalogScale::SetValue(double v)
{
    m_value = v;
    m_motion.SetTarget(v);
}

void TElAnalogScale::SetArrowPercentLen(int v)
{
    m_arrowPercentLen = v;
    MarkDirty();
}

// A tick count below 1 would divide by zero in the face loops.
void TElAnalogScale::SetMiddleTics(int v)
{
    m_middleTics = std::max(1, v);
    MarkDirty();
}

void TElAnalogScale::SetSmallTics(int v)
{
    m_smallTics = std::max(1, v);
    MarkDirty();
}

void TElAnalogScale::SetScalePercentLen(int v)
{
    m_scalePercentLen = v;
    MarkDirty();
}

void TElAnalogScale::SetScaleAngle(double x)
{
    m_startAngle = 90 + x / 2;
    m_endAngle = 90 - x / 2;
    MarkDirty();
}

void TElAnalogScale::SetLabels(const QStringList& l)
{
    m_labels = l;
    MarkDirty();
}

void TElAnalogScale::SetBounds(int left, int top, int width, int height)
{
    TMekWinGControl::SetBounds(left, top, width, height);
    m_dirty = true;
}

void TElAnalogScale::Resize()
{
    TMekWinGControl::Resize();
    m_dirty = true;
}

TPoint TElAnalogScale::PointAt(double f, double r) const
{
    const double a = m_startAngle + (m_endAngle - m_startAngle) * f;
    const double phi = a * 2 * std::numbers::pi / 360;
    return TPoint(Round(std::cos(phi) * r) + m_centerX, m_centerY - Round(std::sin(phi) * r));
}

TElAnalogScale::TickCounts TElAnalogScale::Ticks() const
{
    const int n = int(m_labels.size());
    const int major = n > 1 ? n : 0;
    const int m = n < 2 ? m_middleTics + 1 : (n - 1) * m_middleTics + 1;
    const int s = m < 2 ? m_smallTics + 1 : (m - 1) * m_smallTics + 1;
    return {major, m, s};
}

void TElAnalogScale::PaintBuffer(TCanvas& canvas)
{
    // The face is drawn at the pixel ratio of the frame it goes on, so that
    // its inscriptions are as sharp as everything else on a HiDPI screen.
    const QPainter* p = canvas.Painter();
    const qreal dpr = p && p->device() ? p->device()->devicePixelRatioF() : devicePixelRatioF();
    if (m_face.DevicePixelRatio() != dpr)
        m_dirty = true;
    if (m_dirty) {
        m_centerX = ClientWidth() / 2;
        m_centerY = ClientHeight();
        m_needleLength = ClientHeight() / 100.0 * m_arrowPercentLen;
        m_face.SetDevicePixelRatio(dpr);
        m_face.SetSize(ClientWidth(), ClientHeight());
        if (!m_face.Empty())
            DrawScale(m_face.Canvas());
        m_dirty = false;
    }
    if (m_face.Empty())
        return;
    canvas.Draw(0, 0, m_face);
    DrawNeedle(canvas);
}

void TElAnalogScale::DrawScale(TCanvas& c)
{
    const double H = ClientHeight();
    const double R = H / 100 * m_scalePercentLen;
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = clWhite;
    c.FillRect(ClientRect());
    if (OnPaintBackground)
        OnPaintBackground(this, c);
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font = TFont();
    c.Font.Color = clBlack;
    const TickCounts t = Ticks();
    auto tick = [&](double f, double len) {
        const TPoint a = PointAt(f, R), b = PointAt(f, R + len);
        c.MoveTo(a.X, a.Y);
        c.LineTo(b.X, b.Y);
    };
    const int n = int(m_labels.size());
    if (n > 1) {
        for (int i = 0; i < n; ++i) {
            const double f = double(i) / (n - 1);
            const TPoint ext = c.TextExtent(m_labels[i]);
            const TPoint p = PointAt(f, R + 0.15 * H);
            c.TextOut(p.X - ext.X / 2, p.Y - ext.Y / 2, m_labels[i]);
            tick(f, 0.10 * H);
        }
    }
    for (int j = 0; j < t.middle; ++j)
        tick(double(j) / (t.middle - 1), 0.05 * H);
    for (int j = 0; j < t.small; ++j)
        tick(double(j) / (t.small - 1), 0.02 * H);
}

void TElAnalogScale::DrawNeedle(TCanvas& c)
{
    c.Pen = TPen();
    c.Pen.Color = clBlack;
    c.Pen.Width = 2;
    const double v = ClampD(m_motion.Shown(), bridge::NeedleMotion::LowStop, bridge::NeedleMotion::HighStop);
    const TPoint p = PointAt(v, m_needleLength);
    c.MoveTo(m_centerX, m_centerY);
    c.LineTo(p.X, p.Y);
}

bool TElAnalogScale::Animate()
{
    if (!m_motion.Animate(Clock::Monotonic(), m_dirty))
        return false;
    Repaint();
    return true;
}
