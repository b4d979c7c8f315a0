// One repaint of each instrument control, as the paint cycle runs it:
// the frame drawn off-screen and copied to the target, and the first paint
// of a fresh control (…Cold). The limit is half a millisecond for a 120 px
// steel knob and a 200 px step switch with its scale picture.

#include "render.h"

#include <QApplication>
#include <memory>

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

using bench::Render;
using bench::RenderCold;

// A repaint of the control as the window keeps it (BM_Name), and the first
// paint of one freshly made, its kept pictures not yet drawn (BM_NameCold).
#define WARM_AND_COLD(Name)                                                                       \
    void BM_##Name(benchmark::State& state) { Render(state, *Make##Name()); }                      \
    BENCHMARK(BM_##Name);                                                                         \
    void BM_##Name##Cold(benchmark::State& state) { RenderCold(state, Make##Name); }               \
    BENCHMARK(BM_##Name##Cold)->UseManualTime();

std::unique_ptr<TzKnob> MakeSteelKnob120()
{
    auto k = std::make_unique<TzKnob>();
    k->SetBounds(0, 0, 120, 120);
    k->SetSteelLook(true);
    k->SetValue(37);
    return k;
}
WARM_AND_COLD(SteelKnob120)

std::unique_ptr<TzKnob> MakePlainKnob120()
{
    auto k = std::make_unique<TzKnob>();
    k->SetBounds(0, 0, 120, 120);
    k->SetValue(37);
    return k;
}
WARM_AND_COLD(PlainKnob120)

std::unique_ptr<TVorlinKnob> MakeStepSwitch200()
{
    auto k = std::make_unique<TVorlinKnob>();
    k->SetBounds(0, 0, 200, 200);
    k->SetKnobRadius(60);
    k->SetMax(17);
    k->BackgroundPicture().LoadFromData(scaleSvg);
    k->SetValue(9);
    return k;
}
WARM_AND_COLD(StepSwitch200)

std::unique_ptr<TzcSingleOnOff> MakePushButton()
{
    auto b = std::make_unique<TzcSingleOnOff>();
    b->SetCaption("Сеть");
    return b;
}
WARM_AND_COLD(PushButton)

std::unique_ptr<TzcLightOnOff> MakeRocker()
{
    auto r = std::make_unique<TzcLightOnOff>();
    r->SetSwitchOn(true);
    r->SetCaption("Развертка");
    return r;
}
WARM_AND_COLD(Rocker)

std::unique_ptr<TzLed> MakeLamp()
{
    auto l = std::make_unique<TzLed>();
    l->SetEnabled(true);
    return l;
}
WARM_AND_COLD(Lamp)

std::unique_ptr<TMekTransparentKnob> MakeTransparentKnob()
{
    auto k = std::make_unique<TMekTransparentKnob>();
    k->SetBounds(0, 0, 120, 120);
    k->SetNumPositions(101);
    k->SetStepPerTick(10);
    for (int i = 0; i <= 100; i += 10)
        k->Labels().append(QString::number(i));
    k->SetTransparent(false);
    return k;
}
WARM_AND_COLD(TransparentKnob)

std::unique_ptr<TMekWinGControl> MakeDrawingControl800x600()
{
    auto c = std::make_unique<TMekWinGControl>();
    c->SetBounds(0, 0, 800, 600);
    return c;
}
WARM_AND_COLD(DrawingControl800x600)

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
