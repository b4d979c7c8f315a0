#include "exercises/apsignal.h"

#include "exercises/abstgen.h"
#include "exercises/signalres.h"
#include "exercises/signalvariants.h"
#include "exercises/teachertable.h"

#include "components/kitformdisp.h"
#include "scope/drawwire.h"
#include "scope/s1_73.h"
#include "shell/openwork.h"
#include "shell/start.h"

#include <algorithm>

namespace {
const QString Title = QStringLiteral("Определение амплитуды и частоты сигнала");
}

TAPSignalForm::TAPSignalForm(QObject* owner)
    : TScopeLabForm(owner, Title, 1, 13001, 13002)
{
    InitSignalWorkResources();
    SetName(QStringLiteral("APSignalForm"));
    OnShow = [this](TObject* s) { FormShow(s); };

    BitBtn1 = new TBitBtn(panControls);
    BitBtn1->SetName(QStringLiteral("BitBtn1"));
    BitBtn1->SetBounds(8, 0, 75, 25);
    BitBtn1->SetCaption(QStringLiteral("ЭЛТ"));
    BitBtn1->SetHint(QStringLiteral("Показать работу электронной трубки изнутри"));
    BitBtn1->SetShowHint(true);
    BitBtn1->SetHelpContext(13003);
    BitBtn1->SetGlyphName(QStringLiteral("GLYPH_OSCTUBE"));
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn2->SetBounds(88, 0, 113, 25);
    BitBtn3->SetBounds(208, 0, 169, 25);

    bShowVariants = MakeVariantsButton(panControls, 376, 65, [this](TObject* s) { bShowVariantsClick(s); });

    Generator = new TAbstGenForm(Application);
    dispG1 = MakeDisplay("dispG1");
    dispG1->ShowForm(Generator);
}

double TAPSignalForm::GetYSignal(double T)
{
    return Generator->GetValue(T);
}

void TAPSignalForm::ArrangeInstruments()
{
    PlaceFrontPanel();
    const TPoint avail(panWork->ClientWidth() - 20, panWork->ClientHeight() / 2);
    const TPoint G = Generator->FitSize(avail);
    dispG1->SetBounds(10, dispOsc->Top() + dispOsc->Height() + 30, G.X, G.Y);
    Generator->SetBoundsRect(dispG1->GetInnerRect());

    const int x0 = std::min(dispOsc->Left(), dispG1->Left()) / 2 - 2;
    const int y0 = dispG1->Top() + dispG1->Height() / 2 + 4;
    RouteYWires(x0, y0, y0 - 4, dispG1->Left());
}

void TAPSignalForm::FormShow(TObject* Sender)
{
    TScopeLabForm::FormShow(Sender);
    bShowVariants->SetVisible(ProctorMode);
}

void TAPSignalForm::BitBtn1Click(TObject*)
{
    Scope->ShowTubeView();
}

void TAPSignalForm::SetTraining(bool Value)
{
    Training = Value;
    Generator->panSecret->SetVisible(Value);
}

void TAPSignalForm::SetVariant(int N)
{
    SetTraining(N == 0);
    Generator->SetTask(APSignalTask(N));
    SetCaption(VariantCaption(Title, N));
}

void TAPSignalForm::bShowVariantsClick(TObject*)
{
    // Computed from the rules, so the exercise on screen stays as it is.
    ShowTeacherTable(this, TeacherTable(APSignalTask));
}
