#pragma once
// An oscilloscope screen as the front panel drives it, for the trace
// benchmarks: sweep on X, a 1 kHz sine on Y, and the same points as a plain
// polyline for QPainter to draw.

#include "scope/oscscr.h"
#include "models/s1_73scale.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace bench {

constexpr double kSecPerDiv = 1e-4;

// The phase is reduced first, as a generator does: the time of day in
// seconds times 2π·1000 would make sin itself the largest cost.
inline double Sine(double t)
{
    const double cycles = 1000.0 * t;
    return 1.5 * std::sin(2 * std::numbers::pi * (cycles - std::floor(cycles)));
}

struct TraceRig {
    TOscScreen screen;
    QImage image;
    double gain; // divisions per volt
    double prev = 0;
    // At a pixel ratio the image holds ratio x ratio device pixels for each
    // of the screen's.
    TraceRig(int w, int h, double focus, int ratio = 1, double voltsPerDiv = 0.5)
        : image(w * ratio, h * ratio, QImage::Format_RGB32), gain(1 / voltsPerDiv)
    {
        image.setDevicePixelRatio(ratio);
        screen.Width = w;
        screen.Height = h;
        screen.HorzDivs = 10;
        screen.BeamOn = true;
        screen.Focus = focus;
        screen.DrawGraticule();
        screen.OnXValue = [this](double& x, bool& vis, double t) {
            x = SweepDivs(t, kSecPerDiv);
            if (x < prev)
                vis = false;
            prev = x;
        };
        screen.OnYValue = [this](double& y, bool&, double t) { y = Sine(t) * gain; };
    }
    // Volts per division in the place of the ratio would silently draw the
    // ordinary trace.
    TraceRig(int w, int h, double focus, double voltsPerDiv) = delete;
    int Samples() const { return 2 * screen.Width; }
    void Draw()
    {
        QPainter p(&image);
        screen.DrawTrace(p, Samples(), 10 * kSecPerDiv);
    }
    // The same points as one plain polyline.
    std::vector<QPoint> Points()
    {
        std::vector<QPoint> pts;
        const double t0 = screen.TimeOfDay();
        const int n = Samples();
        for (int i = 0; i <= n; ++i) {
            const double t = t0 + i * (10 * kSecPerDiv) / n;
            pts.emplace_back(int(SweepDivs(t, kSecPerDiv) * screen.PixelsPerDiv),
                             screen.CenterY - int(Sine(t) * gain * screen.PixelsPerDiv));
        }
        std::sort(pts.begin(), pts.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
        return pts;
    }
};

inline void Polyline(QImage& image, const std::vector<QPoint>& pts)
{
    QPainter p(&image);
    p.setPen(QPen(Qt::green, 1));
    p.drawPolyline(pts.data(), int(pts.size()));
}

} // namespace bench
