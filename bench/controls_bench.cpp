// One repaint of each instrument control, as the paint cycle runs it:
// the frame drawn off-screen and copied to the target. The limit is half a
// millisecond for a 120 px steel knob and a 200 px step switch with its
// scale picture.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "controls/mekknob.h"
#include "controls/mekwing.h"
#include "controls/oscknob.h"
#include "controls/zknob.h"
#include "controls/zled.h"
#include "controls/zonzoff.h"

namespace {

const QByteArray scaleSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='200' viewBox='0 0 200 200'>"
    "<rect width='200' height='200' fill='#e8e4d8'/>"
    "<circle cx='100' cy='100' r='90' fill='none' stroke='black'/>"
    "<text x='30' y='170' font-size='12'>0</text><text x='100' y='20' font-size='12'>5</text>"
    "<text x='165' y='170' font-size='12'>11</text></svg>";

void Render(benchmark::State& state, QWidget& w)
{
    QImage target(w.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        w.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_SteelKnob120(benchmark::State& state)
{
    TzKnob k;
    k.SetBounds(0, 0, 120, 120);
    k.SetSteelLook(true);
    k.SetValue(37);
    Render(state, k);
}
BENCHMARK(BM_SteelKnob120);

void BM_PlainKnob120(benchmark::State& state)
{
    TzKnob k;
    k.SetBounds(0, 0, 120, 120);
    k.SetValue(37);
    Render(state, k);
}
BENCHMARK(BM_PlainKnob120);

void BM_StepSwitch200(benchmark::State& state)
{
    TVorlinKnob k;
    k.SetBounds(0, 0, 200, 200);
    k.SetKnobRadius(60);
    k.SetMax(17);
    k.BackgroundPicture().LoadFromData(scaleSvg);
    k.SetValue(9);
    Render(state, k);
}
BENCHMARK(BM_StepSwitch200);

void BM_PushButton(benchmark::State& state)
{
    TzcSingleOnOff b;
    b.SetCaption("Сеть");
    Render(state, b);
}
BENCHMARK(BM_PushButton);

void BM_Rocker(benchmark::State& state)
{
    TzcLightOnOff r;
    r.SetSwitchOn(true);
    r.SetCaption("Развертка");
    Render(state, r);
}
BENCHMARK(BM_Rocker);

void BM_Lamp(benchmark::State& state)
{
    TzLed l;
    l.SetEnabled(true);
    Render(state, l);
}
BENCHMARK(BM_Lamp);

void BM_TransparentKnob(benchmark::State& state)
{
    TMekTransparentKnob k;
    k.SetBounds(0, 0, 120, 120);
    k.SetNumPositions(101);
    k.SetStepPerTick(10);
    for (int i = 0; i <= 100; i += 10)
        k.Labels().append(QString::number(i));
    k.SetTransparent(false);
    Render(state, k);
}
BENCHMARK(BM_TransparentKnob);

void BM_DrawingControl800x600(benchmark::State& state)
{
    TMekWinGControl c;
    c.SetBounds(0, 0, 800, 600);
    Render(state, c);
}
BENCHMARK(BM_DrawingControl800x600);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
