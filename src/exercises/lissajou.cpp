#include "exercises/lissajou.h"

#include "exercises/abstgen.h"
#include "exercises/signalres.h"
#include "exercises/signalvariants.h"
#include "exercises/teachertable.h"

#include "components/kitformdisp.h"
#include "platform/numtext.h"
#include "scope/drawwire.h"
#include "scope/s1_73.h"
#include "shell/openwork.h"
#include "shell/start.h"

#include <algorithm>

namespace {
const QString VariantTitle = QStringLiteral("Определение частоты сигнала");
constexpr int LissajousSamples = 400;
}

TLissajouForm::TLissajouForm(QObject* owner)
    : TScopeLabForm(owner, QStringLiteral("Фигуры Лиссажу"), 2, 13101, 13102)
{
    InitSignalWorkResources();
    SetName(QStringLiteral("LissajouForm"));
    OnShow = [this](TObject* s) { FormShow(s); };

    bShowVariants = MakeVariantsButton(panControls, 304, 75, [this](TObject* s) { bShowVariantsClick(s); });

    edDT = new TEdit(panWork);
    edDT->SetName(QStringLiteral("edDT"));
    edDT->SetVisible(false);
    edCnt = new TEdit(panWork);
    edCnt->SetName(QStringLiteral("edCnt"));
    edCnt->SetVisible(false);
    edDT->OnExit = [this](TObject* s) { edDTExit(s); };
    edCnt->OnExit = [this](TObject* s) { edDTExit(s); };

    StudiedGenerator = new TAbstGenForm(Application);
    StudiedGenerator->SetHint(QStringLiteral("Генератор исследуемого сигнала"));
    dispG1 = MakeDisplay("dispG1");
    dispG1->ShowForm(StudiedGenerator);

    ComparisonGenerator = new TAbstGenForm(Application);
    ComparisonGenerator->SetHint(QStringLiteral("Генератор сигнала сравнения"));
    dispG2 = MakeDisplay("dispG2");
    dispG2->ShowForm(ComparisonGenerator);

    Scope->OnXSignal = [this](double T) { return GetXSignal(T); };
    // The sampling follows every confirmed entry and phase move, from the
    // start on rather than from the first layout.
    StudiedGenerator->OnChange = [this](TObject* s) { AdjustSampling(s); };
    ComparisonGenerator->OnChange = [this](TObject* s) { AdjustSampling(s); };

    Wires->AddWire(4);
    Wires->AddWire(4);
}

double TLissajouForm::GetYSignal(double T)
{
    return StudiedGenerator->GetValue(T);
}

double TLissajouForm::GetXSignal(double T)
{
    return ComparisonGenerator->GetValue(T);
}

void TLissajouForm::ArrangeInstruments()
{
    PlaceFrontPanel();
    const TPoint avail(panWork->ClientWidth() - 20, panWork->ClientHeight() / 2);
    const int top = dispOsc->Top() + dispOsc->Height() + 30;
    const TPoint G1 = StudiedGenerator->FitSize(avail);
    dispG1->SetBounds(10, top, G1.X, G1.Y);
    StudiedGenerator->SetBoundsRect(dispG1->GetInnerRect());
    const TPoint G2 = ComparisonGenerator->FitSize(avail);
    dispG2->SetBounds(ClientWidth() / 2 + 5, top, G2.X, G2.Y);
    ComparisonGenerator->SetBoundsRect(dispG2->GetInnerRect());

    const int x0 = std::min(dispOsc->Left(), dispG1->Left()) / 2 - 2;
    const int y0 = dispG1->Top() + dispG1->Height() / 2 + 4;
    RouteYWires(x0, y0, y0 - 4, dispG1->Left());

    // The X wires run down the right margin, the one from the upper socket
    // outside the other, into the comparison generator's right edge.
    const TPoint XU = panWork->ScreenToClient(Scope->ClientToScreen(Scope->XSockets[0]));
    const TPoint XL = panWork->ScreenToClient(Scope->ClientToScreen(Scope->XSockets[1]));
    const int e = dispG2->Left() + dispG2->Width();
    const int xr = (std::max(dispOsc->Left() + dispOsc->Width(), e) + ClientWidth()) / 2 + 2;
    const int xr1 = xr - 4;
    const int y2 = dispG2->Top() + G2.Y / 2 + 4;
    const int y3 = y2 - 4;
    const QPoint w2[] = {XU.q(), {xr, XU.Y}, {xr, y2}, {e, y2}};
    const QPoint w3[] = {XL.q(), {xr1, XL.Y}, {xr1, y3}, {e, y3}};
    for (int i = 0; i < 4; ++i) {
        Wires->Wires[2]->SetPoint(i, w2[i]);
        Wires->Wires[3]->SetPoint(i, w3[i]);
    }
    Scope->pbXInput->Invalidate();
}

void TLissajouForm::FormShow(TObject* Sender)
{
    TScopeLabForm::FormShow(Sender);
    bShowVariants->SetVisible(ProctorMode);
    edDT->SetText(FloatToStr(Scope->SampleInterval));
    edCnt->SetText(IntToStr(Scope->GetSampleCount()));
}

void TLissajouForm::edDTExit(TObject*)
{
    Scope->SetSampleInterval(StrToFloat(edDT->Text()));
    Scope->SetSampleCount(StrToInt(edCnt->Text()));
}

void TLissajouForm::SetTraining(bool Value)
{
    Training = Value;
    StudiedGenerator->panSecret->SetVisible(Value);
    ComparisonGenerator->panSecret->SetVisible(true);
}

void TLissajouForm::SetVariant(int N)
{
    SetTraining(N == 0);
    StudiedGenerator->SetTask(LissajouTask(N));
    SetCaption(VariantCaption(VariantTitle, N));
    AdjustSampling(this);
}

void TLissajouForm::AdjustSampling(TObject*)
{
    Scope->SetSampleCount(LissajousSamples);
    Scope->SetSampleInterval(LissajousSampleInterval(StudiedGenerator->Frequency, ComparisonGenerator->Frequency,
                                                     Scope->GetSampleCount()));
}

void TLissajouForm::bShowVariantsClick(TObject*)
{
    // Computed from the rules, so the exercise on screen stays as it is.
    ShowTeacherTable(this, TeacherTable(LissajouTask));
}
