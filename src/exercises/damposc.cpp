#include "exercises/damposc.h"

#include "models/circuitsignals.h"
#include "exercises/lcrcont.h"

#include "components/kitformdisp.h"

TDampOscForm::TDampOscForm(QObject* owner)
    : TCircuitLabForm(owner, QStringLiteral("Затухающие колебания"), 3, 13200)
{
    SetName(QStringLiteral("DampOscForm"));
    GI1 = new TPanel(panWork);
    GI1->SetName(QStringLiteral("GI1"));
    GI1->SetBounds(0, 0, 169, 89);
    GI1->SetBevelWidth(4);
    GI1->SetHint(QStringLiteral("Генератор импульсов с частотой 100 Гц"));
    GI1->SetHelpContext(13203);
    GI1->SetCaption(QStringLiteral(" "));
    Label1 = new TLabel(GI1);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetAutoSize(false);
    Label1->SetAlign(alClient);
    Label1->SetAlignment(TAlignment::taCenter);
    Label1->SetLayout(TTextLayout::tlCenter);
    Label1->SetCaption(QStringLiteral("Генератор импульсов"));

    Circuit->SetResistance(5);
    Circuit->SetCapacitance(0.000001);
    Circuit->SetInductance(0.001);
    DoCreate();
}

double TDampOscForm::GetYSignal(double T)
{
    return DampedOscillation(T, Circuit->Inductance, Circuit->Capacitance, Circuit->Resistance);
}

void TDampOscForm::ArrangeInstruments()
{
    PlaceFrontPanel();
    GI1->SetBounds(dispOsc->Left() + dispOsc->Width() - GI1->Width(), dispOsc->Top() + dispOsc->Height() + 10,
                   GI1->Width(), GI1->Height());
    PlaceCircuit(GI1, 2 * GI1->Height(), dispOsc->Left());
}
