#include "exercises/condosc.h"

#include "models/circuitsignals.h"
#include "exercises/lcrcont.h"
#include "exercises/sinegen.h"

#include "components/kitformdisp.h"

#include <algorithm>

TCondOscForm::TCondOscForm(QObject* owner)
    : TCircuitLabForm(owner, QStringLiteral("Вынужденные колебания"), 4, 13300)
{
    SetName(QStringLiteral("CondOscForm"));
    dispG1 = MakeDisplay("dispG1");
    Generator = new TSineGenForm(Application);
    dispG1->ShowForm(Generator);
    dispG1->SetHelpContext(13303);

    Circuit->SetResistance(5);
    Circuit->SetCapacitance(0.000001);
    Circuit->SetInductance(0.001);
    DoCreate();
}

double TCondOscForm::GetYSignal(double T)
{
    return Generator->GetValue(T)
           * ForcedAmplitudeRatio(Generator->GetFrequency(), Circuit->Inductance, Circuit->Capacitance,
                                  Circuit->Resistance);
}

void TCondOscForm::ArrangeInstruments()
{
    PlaceFrontPanel();
    const TPoint G = Generator->FitSize(TPoint(panWork->ClientWidth() - 20, panWork->ClientHeight() / 2));
    dispG1->SetBounds(dispOsc->Left() + dispOsc->Width() - G.X, panWork->ClientHeight() / 2 + 10, G.X, G.Y);
    Generator->SetBoundsRect(dispG1->GetInnerRect());
    PlaceCircuit(dispG1, dispG1->Height(), std::min(dispOsc->Left(), dispG1->Left()));
}
