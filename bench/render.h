#pragma once
// Painting a widget as the paint cycle does, into an image at the widget's
// own pixel ratio (QT_SCALE_FACTOR sets it for a whole benchmark run), warm
// (the same widget again and again, painted once before the timing starts)
// and cold (a fresh widget each time, its kept faces not yet drawn: only the
// first paint is timed). Times are the thread's CPU time, so that other
// programs on a loaded machine do not count.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <cmath>
#include <ctime>

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
    // The benchmark calls this afresh for each repetition and times its first
    // rounds alone: a first paint among them would be read as a repaint.
    w.render(&target, QPoint(), area);
    for (auto _ : state) {
        w.render(&target, QPoint(), area);
        benchmark::DoNotOptimize(target.constBits());
    }
}

inline double ThreadSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + 1e-9 * double(ts.tv_nsec);
}

// Make() builds the widget; with `timeBuild` its building is timed too.
// Register with UseManualTime().
template <class Make>
void RenderCold(benchmark::State& state, Make&& make, bool timeBuild = false)
{
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        auto w = make();
        QImage target = TargetFor(*w);
        const double t1 = ThreadSeconds();
        w->render(&target);
        benchmark::DoNotOptimize(target.constBits());
        const double t2 = ThreadSeconds();
        state.SetIterationTime(t2 - (timeBuild ? t0 : t1));
    }
}

} // namespace bench
