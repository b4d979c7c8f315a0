// Cost of the oscilloscope's per-frame drawing: the trace against a plain
// 1-px polyline of the same points, and one frame of the tube view, at pixel
// ratio 1 and beside it at ratio 2 (…/2).

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
    QImage image;
    double mono = 0;
    explicit TubeRig(int ratio = 1) : image(kWidth * ratio, 1000 * ratio, QImage::Format_RGB32)
    {
        image.setDevicePixelRatio(ratio);
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
        tube.Tick();
        QPainter p(&image);
        tube.Paint(p);
        // As the view does: the window is told, the next frame starts anew.
        benchmark::DoNotOptimize(tube.TakeChange());
    }
};

void BM_TraceBaseline(benchmark::State& state)
{
    TraceRig rig(kWidth, kHeight, 1.0, int(state.range(0)));
    const auto pts = rig.Points();
    for (auto _ : state)
        Baseline(rig.image, pts);
}
BENCHMARK(BM_TraceBaseline)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_TraceSharp(benchmark::State& state)
{
    TraceRig rig(kWidth, kHeight, 1.0, int(state.range(0)));
    for (auto _ : state)
        rig.Draw();
}
BENCHMARK(BM_TraceSharp)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_TraceBlurred(benchmark::State& state)
{
    TraceRig rig(kWidth, kHeight, 0.0, int(state.range(0)));
    for (auto _ : state)
        rig.Draw();
}
BENCHMARK(BM_TraceBlurred)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_TubeFrame(benchmark::State& state)
{
    TubeRig rig(int(state.range(0)));
    for (auto _ : state)
        rig.Frame();
}
BENCHMARK(BM_TubeFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

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

    // Medians of one run, each ratio beside the other; the limits are the
    // sharp trace within 1.5 times the polyline, ratio 2 within 4.5 times
    // ratio 1 (four times the pixels) and within 2 times the polyline there.
    double base[3], sharp[3], blurred[3], tube[3];
    for (int r : {1, 2}) {
        TraceRig s(kWidth, kHeight, 1.0, r), b(kWidth, kHeight, 0.0, r);
        const auto pts = s.Points();
        base[r] = MedianMicros([&] { Baseline(s.image, pts); });
        sharp[r] = MedianMicros([&] { s.Draw(); });
        blurred[r] = MedianMicros([&] { b.Draw(); });
        TubeRig t(r);
        tube[r] = MedianMicros([&] { t.Frame(); });
    }
    std::printf("%-26s %10s %10s %8s\n", "", "ratio 1", "ratio 2", "2 / 1");
    auto row = [](const char* what, const double* v) {
        std::printf("%-26s %7.0f us %7.0f us %8.2f\n", what, v[1], v[2], v[2] / v[1]);
    };
    row("1-px polyline (QPainter)", base);
    row("trace, sharp", sharp);
    row("trace, blurred", blurred);
    row("tube frame 1920x1000", tube);
    std::printf("sharp / polyline: %.2f at ratio 1, %.2f at ratio 2\n", sharp[1] / base[1], sharp[2] / base[2]);
    const bool ok = sharp[1] <= 1.5 * base[1] && sharp[2] <= 2 * base[2] && sharp[2] <= 4.5 * sharp[1]
                    && blurred[2] <= 4.5 * blurred[1] && blurred[1] <= 3000 && tube[1] < 1000;
    std::printf("%s\n", ok ? "all within limits" : "OVER A LIMIT");
    return 0;
}
