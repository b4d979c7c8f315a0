// One repaint of each laboratory form and of each bridge device as the
// paint cycle runs it: the oscilloscope's front panel at 920 px, the bridge
// bench form at 1024 x 700, and the part of the bench a device covers (the
// bench behind it, the device and the controls that lie on it); and both
// forms built and painted for the first time (…Cold).

#include "render.h"

#include <QApplication>

#include "bridge/dblonoff.h"
#include "bridge/eldevice.h"
#include "bridge/elgalvan.h"
#include "bridge/elscale.h"
#include "bridge/elstand.h"
#include "bridge/resbridge.h"
#include "controls/oscknob.h"
#include "platform/forms.h"
#include "platform/types.h"
// The front panel's header was renamed; the benchmark builds against both.
#if __has_include("scope/s1_73.h")
#include "scope/s1_73.h"
#else
#include "scope/S1_73.h"
#endif

#include <memory>

namespace {

using bench::Render;

std::unique_ptr<TS1_73Form> MakeFrontPanel()
{
    auto form = std::make_unique<TS1_73Form>();
    const TPoint size = form->FitSize(TPoint(920, 600));
    form->SetBounds(0, 0, size.X, size.Y);
    form->ArrangeControls();
    form->ResetControls();
    return form;
}

std::unique_ptr<TResBridgeForm> MakeBridgeForm()
{
    auto form = std::make_unique<TResBridgeForm>(nullptr);
    form->resize(1024, 700);
    return form;
}

template <class Form>
Form& Shown(std::unique_ptr<Form> form)
{
    form->show();
    QApplication::processEvents();
    return *form.release();
}

TS1_73Form& FrontPanel()
{
    static TS1_73Form& f = Shown(MakeFrontPanel());
    return f;
}

TResBridgeForm& BridgeForm()
{
    static TResBridgeForm& f = Shown(MakeBridgeForm());
    return f;
}

void BM_FrontPanel920(benchmark::State& state)
{
    Render(state, FrontPanel());
}
BENCHMARK(BM_FrontPanel920);

void BM_FrontPanel920Cold(benchmark::State& state) { bench::RenderCold(state, MakeFrontPanel, true); }
BENCHMARK(BM_FrontPanel920Cold)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A move of the time-base switch as the mouse turns it: the switch is
// set and painted at once.
void BM_FrontPanelTimeBaseStep(benchmark::State& state)
{
    TS1_73Form& f = FrontPanel();
    int v = 0;
    for (auto _ : state) {
        f.TimeBaseSwitch->SetValue(v);
        v = (v + 1) % 12;
    }
}
BENCHMARK(BM_FrontPanelTimeBaseStep);

void BM_BridgeForm1024x700(benchmark::State& state)
{
    Render(state, BridgeForm());
}
BENCHMARK(BM_BridgeForm1024x700);

void BM_BridgeForm1024x700Cold(benchmark::State& state) { bench::RenderCold(state, MakeBridgeForm, true); }
BENCHMARK(BM_BridgeForm1024x700Cold)->UseManualTime()->Unit(benchmark::kMicrosecond);

void RenderDevice(benchmark::State& state, QWidget* device)
{
    TElectricStand* stand = BridgeForm().Stand();
    Render(state, *stand, QRegion(device->geometry()));
}

void BM_Galvanometer(benchmark::State& state) { RenderDevice(state, BridgeForm().Galvanometer()); }
BENCHMARK(BM_Galvanometer);

void BM_GalvanometerDial(benchmark::State& state) { Render(state, *BridgeForm().Galvanometer()->Scale()); }
BENCHMARK(BM_GalvanometerDial);

void BM_DoubleOnOff(benchmark::State& state) { Render(state, *BridgeForm().Galvanometer()->RangeSwitch()); }
BENCHMARK(BM_DoubleOnOff);

void BM_DecadeBox(benchmark::State& state) { RenderDevice(state, BridgeForm().R0()); }
BENCHMARK(BM_DecadeBox);

void BM_FourPositionResistor(benchmark::State& state) { RenderDevice(state, BridgeForm().R1()); }
BENCHMARK(BM_FourPositionResistor);

void BM_SampleResistor(benchmark::State& state) { RenderDevice(state, BridgeForm().Rx()); }
BENCHMARK(BM_SampleResistor);

void BM_DCSource(benchmark::State& state) { RenderDevice(state, BridgeForm().Source()); }
BENCHMARK(BM_DCSource);

void BM_BridgeStand(benchmark::State& state) { Render(state, *BridgeForm().Stand()); }
BENCHMARK(BM_BridgeStand);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    LabApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
