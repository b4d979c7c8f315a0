// Cost of the oscilloscope's per-frame drawing: the trace against a plain
// 1-px polyline of the same points, and one frame of the tube view.

#include "scope/osctube.h"
#include "tracerig.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using bench::TraceRig;

constexpr int kWidth = 1920;
constexpr int kHeight = 1234; // the screen's 7 : 4.5

void Baseline(QImage& image, const std::vector<QPoint>& pts) { bench::Polyline(image, pts); }

struct TubeRig {
    TVorlinoTube tube{nullptr};
    QImage image{kWidth, 1000, QImage::Format_RGB32};
    double mono = 0;
    TubeRig()
    {
        tube.Monotonic = [this] { return mono; };
        tube.OnDeflection = [](double& x, double& y, double t, bool&) {
            x = std::sin(t) * 0.8;
            y = std::cos(t * 1.3) * 0.8;
        };
        tube.SetSize(kWidth, 1000);
        tube.Reset();
        for (int i = 0; i < 40; ++i) { // a full flight of electrons
            mono += 0.4;
            Frame();
        }
    }
    void Frame()
    {
        mono += 0.05;
        QPainter p(&image);
        tube.Paint(p);
    }
};

void BM_TraceBaseline(benchmark::State& state)
{
    TraceRig rig(kWidth, kHeight, 1.0);
    const auto pts = rig.Points();
    for (auto _ : state)
        Baseline(rig.image, pts);
}
BENCHMARK(BM_TraceBaseline)->Unit(benchmark::kMicrosecond);

void BM_TraceSharp(benchmark::State& state)
{
    TraceRig rig(kWidth, kHeight, 1.0);
    for (auto _ : state)
        rig.Draw();
}
BENCHMARK(BM_TraceSharp)->Unit(benchmark::kMicrosecond);

void BM_TraceBlurred(benchmark::State& state)
{
    TraceRig rig(kWidth, kHeight, 0.0);
    for (auto _ : state)
        rig.Draw();
}
BENCHMARK(BM_TraceBlurred)->Unit(benchmark::kMicrosecond);

void BM_TubeFrame(benchmark::State& state)
{
    TubeRig rig;
    for (auto _ : state)
        rig.Frame();
}
BENCHMARK(BM_TubeFrame)->Unit(benchmark::kMicrosecond);

template <class F>
double MedianMicros(F&& f, int reps = 60)
{
    std::vector<double> us;
    for (int i = 0; i < reps; ++i) {
        const auto a = std::chrono::steady_clock::now();
        f();
        const auto b = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(b - a).count());
    }
    std::sort(us.begin(), us.end());
    return us[us.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    TraceRig sharp(kWidth, kHeight, 1.0), blurred(kWidth, kHeight, 0.0);
    const auto pts = sharp.Points();
    const double base = MedianMicros([&] { Baseline(sharp.image, pts); });
    const double s = MedianMicros([&] { sharp.Draw(); });
    const double b = MedianMicros([&] { blurred.Draw(); });
    TubeRig tube;
    const double t = MedianMicros([&] { tube.Frame(); });
    std::printf("baseline 1-px polyline, %d points: %.0f us\n", int(pts.size()), base);
    std::printf("DrawTrace sharp focus:   %.0f us, ratio %.2f (limit 3)\n", s, s / base);
    std::printf("DrawTrace blurred focus: %.0f us, %.2f of 3 ms\n", b, b / 3000.0);
    std::printf("tube frame 1920x1000:    %.0f us, %.2f of 1 ms\n", t, t / 1000.0);
    const bool ok = s <= 3 * base && b <= 3000 && t < 1000;
    std::printf("%s\n", ok ? "all within limits" : "OVER A LIMIT");
    return 0;
}
