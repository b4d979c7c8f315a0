#pragma once
// Painting a widget as the paint cycle does, into an image at the widget's
// own pixel ratio (QT_SCALE_FACTOR sets it for a whole benchmark run), warm
// (the same widget again and again) and cold (a fresh widget each time, its
// kept faces not yet drawn: only the first paint is timed).

#include <benchmark/benchmark.h>

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <chrono>
#include <cmath>

namespace bench {

inline QImage TargetFor(const QWidget& w)
{
    const qreal dpr = w.devicePixelRatioF();
    QImage target(int(std::ceil(w.width() * dpr)), int(std::ceil(w.height() * dpr)), QImage::Format_RGB32);
    target.setDevicePixelRatio(dpr);
    return target;
}

inline void Render(benchmark::State& state, QWidget& w, const QRegion& area = QRegion())
{
    QImage target = TargetFor(w);
    for (auto _ : state) {
        w.render(&target, QPoint(), area);
        benchmark::DoNotOptimize(target.constBits());
    }
}

// Make() builds the widget; with `timeBuild` its building is timed too.
// Register with UseManualTime().
template <class Make>
void RenderCold(benchmark::State& state, Make&& make, bool timeBuild = false)
{
    using clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto t0 = clock::now();
        auto w = make();
        QImage target = TargetFor(*w);
        const auto t1 = clock::now();
        w->render(&target);
        benchmark::DoNotOptimize(target.constBits());
        const auto t2 = clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t2 - (timeBuild ? t0 : t1)).count());
    }
}

} // namespace bench
