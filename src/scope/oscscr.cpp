#include "scope/oscscr.h"

#include "models/s1_73scale.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/raster.h"
#include "platform/vectorstate.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

// Truncation toward zero that never hands an out-of-range or non-finite
// double to an integer conversion.
inline int TruncClamped(double v)
{
    if (v > -1073741824.0 && v < 1073741824.0)
        return int(v);
    return v > 0 ? 1 << 30 : (v < 0 ? -(1 << 30) : 0);
}

// Clamps into [lo, hi]; NaN counts as the low end, like a huge negative value.
double ClampDivs(double v, double lo, double hi)
{
    if (std::isnan(v))
        return lo;
    return std::clamp(v, lo, hi);
}

// Black lines with the end pixel left out: [x0, x1) on row y, [y0, y1) in column x.
void HLine(QImage& img, int x0, int x1, int y)
{
    if (y < 0 || y >= img.height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, img.width());
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = x0; x < x1; ++x)
        line[x] = qRgb(0, 0, 0);
}

void VLine(QImage& img, int x, int y0, int y1)
{
    if (x < 0 || x >= img.width())
        return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, img.height());
    for (int y = y0; y < y1; ++y)
        reinterpret_cast<QRgb*>(img.scanLine(y))[x] = qRgb(0, 0, 0);
}

} // namespace

TTracePen TracePen(int d, double focus, double brightness)
{
    d = std::clamp(d, 0, 64);
    const double speed = (64 - d) / 128.0 + 0.5;
    double I = (focus / 2 + 0.5) * brightness * speed;
    if (!(I >= 0))
        I = 0;
    double w = ((64 - d) / 64.0 + 1) * ((1 - focus) * 9 + 1);
    if (!(w >= 1))
        w = 1;
    TTracePen pen;
    pen.Width = TruncClamped(std::min(w, 1000.0));
    if (I <= 1) {
        const int g = (TruncClamped(127 * I) + 128) % 256;
        pen.Color = qRgb(0, g, 0);
    } else {
        const int k = std::min(TruncClamped((I - 1) * 255), 255);
        pen.Color = qRgb(k, 255, k);
    }
    return pen;
}

TOscScreen::TOscScreen()
    : TimeOfDay(&Clock::TimeOfDay)
    , m_jitter(std::random_device{}() | 1u)
{
}

double TOscScreen::NextJitter()
{
    // xorshift64: cheap enough to run twice per pixel column every frame.
    m_jitter ^= m_jitter << 13;
    m_jitter ^= m_jitter >> 7;
    m_jitter ^= m_jitter << 17;
    return double(m_jitter >> 11) * (1.0 / 9007199254740992.0);
}

void TOscScreen::DrawGraticule()
{
    PixelsPerDiv = HorzDivs > 0 ? double(Width) / HorzDivs : 0.0;
    VertDivs = PixelsPerDiv > 0 ? Height / PixelsPerDiv : 0.0;
    CenterY = Height / 2;

    const int w = std::max(Width, 0), h = std::max(Height, 0);
    if (Graticule.width() != w || Graticule.height() != h || Graticule.format() != QImage::Format_RGB32)
        Graticule = QImage(w, h, QImage::Format_RGB32);
    ++m_graticuleGen;
    Graticule.fill(qRgb(0, 128, 0));
    if (w == 0 || h == 0 || PixelsPerDiv <= 0)
        return;

    for (int i = 0; i <= HorzDivs; ++i) {
        VLine(Graticule, TruncClamped(i * PixelsPerDiv), 0, Height);
        for (int j = 1; j <= 4; ++j)
            VLine(Graticule, TruncClamped((i + j / 5.0) * PixelsPerDiv), CenterY - 2, CenterY + 2);
    }
    const int n = TruncClamped(VertDivs / 2 + 1);
    const int cx = Width / 2;
    for (int i = 0; i <= n; ++i) {
        const int y = TruncClamped(i * PixelsPerDiv);
        HLine(Graticule, 0, Width, CenterY - y);
        if (i > 0)
            HLine(Graticule, 0, Width, CenterY + y);
        for (int j = 1; j <= 4; ++j) {
            const int yt = TruncClamped((i + j / 5.0) * PixelsPerDiv);
            HLine(Graticule, cx - 2, cx + 2, CenterY - yt);
            HLine(Graticule, cx - 2, cx + 2, CenterY + yt);
        }
    }
}

template <class Seg>
void TOscScreen::Sample(int N, double Duration, Seg&& Draw)
{
    ClearUpperVectorState();
    const double T0 = TraceStart(TimeOfDay());
    // One sample (N = 0) only places the pen, so its interval never matters.
    const double dt = N > 0 ? Duration / N : 0.0;
    // The pen depends on the settings and the distance only.
    TTracePen pens[65];
    for (int d = 0; d <= 64; ++d)
        pens[d] = TracePen(d, Focus, Brightness);
    QPoint pos; // the pen position, as line-to leaves it
    int prevX = 0, prevY = 0;
    for (int i = 0; i <= N; ++i) {
        double X = HorzDivs / 2.0, Y = 0;
        bool Visible = true;
        const double r = (Random ? Random() : NextJitter()) * 0.1;
        const double t = (i + r) * dt + T0;
        if (OnXValue)
            OnXValue(X, Visible, t);
        if (OnYValue)
            OnYValue(Y, Visible, t);
        X = ClampDivs(X, -100, 100);
        Y = ClampDivs(Y, -100, 100);
        const int px = TruncClamped(X * PixelsPerDiv);
        const int py = CenterY - TruncClamped(Y * PixelsPerDiv);
        if (i == 0 || !Visible) {
            pos = QPoint(px, py);
        } else {
            const int d = std::min(std::abs(px - prevX) + std::abs(py - prevY), 64);
            const QPoint to = d == 0 ? QPoint(px + 1, py) : QPoint(px, py);
            Draw(pos, to, pens[d]);
            pos = to;
        }
        prevX = px;
        prevY = py;
    }
}

void TOscScreen::DrawTrace(TCanvas& Canvas, int N, double Duration)
{
    DrawTrace(*Canvas.Painter(), N, Duration);
}

void TOscScreen::DrawTrace(QPainter& Canvas, int N, double Duration)
{
    int scale = 1;
    if (QImage* img = DirectTarget(Canvas, nullptr, &scale)) {
        // The frame still holds the last trace over the graticule: only the
        // tiles it covered are copied back.
        m_restorer.Restore(*img, Graticule, m_graticuleGen);
        if (!BeamOn || N < 0)
            return;
        raster::RunSink target(img, scale, nullptr, m_restorer.Tiles());
        Sample(N, Duration, [&](QPoint a, QPoint b, const TTracePen& pen) {
            if (pen.Width <= 1)
                RasterThinLine(target, a.x(), a.y(), b.x(), b.y(), pen.Color);
            else
                RasterWideLine(target, a.x(), a.y(), b.x(), b.y(), pen.Width, pen.Color);
        });
        return;
    }

    m_restorer.Invalidate();
    Canvas.drawImage(0, 0, Graticule);
    if (!BeamOn || N < 0)
        return;
    // A scaled or clipped canvas: the same pixels as above, each run filled
    // through the painter.
    Canvas.save();
    Canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Only what can show is rasterised: the screen, and the clip within it.
    QRect visible = Canvas.worldTransform().inverted().mapRect(QRect(0, 0, Canvas.device()->width(), Canvas.device()->height()));
    if (Canvas.hasClipping())
        visible &= Canvas.clipBoundingRect().toAlignedRect();
    visible = visible.adjusted(-1, -1, 1, 1);
    const raster::Clip clip{visible.left(), visible.top(), visible.right(), visible.bottom()};
    Sample(N, Duration, [&](QPoint a, QPoint b, const TTracePen& pen) {
        const QColor c = QColor::fromRgb(pen.Color);
        auto span = [&](int x0, int x1, int y) { Canvas.fillRect(QRect(x0, y, x1 - x0 + 1, 1), c); };
        if (pen.Width <= 1)
            raster::ThinLine(a.x(), a.y(), b.x(), b.y(), clip, span);
        else
            raster::WideLine(a.x(), a.y(), b.x(), b.y(), pen.Width, clip, span);
    });
    Canvas.restore();
}
