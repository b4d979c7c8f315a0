#include "exercises/abstgen.h"

#include "exercises/signalres.h"

#include "platform/numtext.h"

#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;
constexpr int PhaseSteps = 16;   // track-bar steps from 0 to pi
}

TAbstGenForm::TAbstGenForm(QObject* owner) : TForm(owner)
{
    InitSignalWorkResources();
    SetName(QStringLiteral("AbstGenForm"));
    SetBorderStyle(TFormBorderStyle::bsNone);
    SetClientSize(280, 120);
    SetHelpContext(12001);
    SetFont(TFont("MS Sans Serif", 11));
    OnCreate = [this](TObject* s) { FormCreate(s); };

    Panel1 = new TPanel(this);
    Panel1->SetName(QStringLiteral("Panel1"));
    Panel1->SetAlign(alClient);
    Panel1->SetBevelWidth(5);
    Panel1->SetCaption(QStringLiteral(" "));
    Panel1->SetHint(QStringLiteral("Генератор сигналов различной формы"));

    Label1 = new TLabel(Panel1);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetAlignment(TAlignment::taCenter);
    Label1->SetCaption(QStringLiteral("Генератор сигналов"));
    Label1->SetBounds(8, 5, Label1->Width(), Label1->Height());

    lbType = new TRadioGroup(Panel1);
    lbType->SetName(QStringLiteral("lbType"));
    lbType->SetBounds(8, 24, 121, 81);
    lbType->SetCaption(QStringLiteral("Форма сигнала"));
    lbType->SetItems({QStringLiteral("Синусоида"), QStringLiteral("Прямоугольный"), QStringLiteral("Пила")});
    lbType->SetItemIndex(0);
    lbType->SetHint(QStringLiteral("Выбор формы сигнала"));
    lbType->SetHelpContext(12003);

    panSecret = new TPanel(Panel1);
    panSecret->SetName(QStringLiteral("panSecret"));
    panSecret->SetBounds(128, 8, 145, 105);
    panSecret->SetBevelOuter(TBevelCut::bvNone);
    panSecret->SetCaption(QStringLiteral(" "));
    // Clicks on the panels, or on the speed buttons standing on them, must
    // not pull the focus out of an entry field: leaving a field confirms it,
    // and the cancel button would come too late.
    Panel1->setFocusPolicy(Qt::NoFocus);
    panSecret->setFocusPolicy(Qt::NoFocus);

    Label2 = new TLabel(panSecret);
    Label2->SetName(QStringLiteral("Label2"));
    Label2->SetCaption(QStringLiteral("Частота, Гц"));
    Label2->SetBounds(8, 8, Label2->Width(), Label2->Height());

    edF = new TEdit(panSecret);
    edF->SetName(QStringLiteral("edF"));
    edF->SetBounds(80, 0, 56, 21);
    edF->SetHint(QStringLiteral("Поле для задания частоты сигнала в герцах"));
    edF->SetHelpContext(12004);

    Label3 = new TLabel(panSecret);
    Label3->SetName(QStringLiteral("Label3"));
    Label3->SetCaption(QStringLiteral("Амплитуда, В"));
    Label3->SetBounds(8, 32, Label3->Width(), Label3->Height());

    edA = new TEdit(panSecret);
    edA->SetName(QStringLiteral("edA"));
    edA->SetBounds(80, 24, 56, 21);
    edA->SetHint(QStringLiteral("Поле ввода амплитуды сигнала в вольтах"));
    edA->SetHelpContext(12005);

    bOK = new TSpeedButton(panSecret);
    bOK->SetName(QStringLiteral("bOK"));
    bOK->SetBounds(88, 46, 23, 22);
    bOK->SetGlyphName(QStringLiteral("GEN_CONFIRM"));
    bOK->SetEnabled(false);
    bOK->SetHint(QStringLiteral("Подтвердить ввод значения"));

    bCancel = new TSpeedButton(panSecret);
    bCancel->SetName(QStringLiteral("bCancel"));
    bCancel->SetBounds(112, 46, 23, 22);
    bCancel->SetGlyphName(QStringLiteral("GEN_REJECT"));
    bCancel->SetEnabled(false);
    bCancel->SetHint(QStringLiteral("Отказаться от ввода значения"));

    Label4 = new TLabel(panSecret);
    Label4->SetName(QStringLiteral("Label4"));
    Label4->SetCaption(QStringLiteral("Фаза"));
    Label4->SetBounds(8, 80, Label4->Width(), Label4->Height());

    // Our font prints "Амплитуда, В" wider than the room left of its field;
    // the labels' column moves left, as far as it takes to stand a
    // few pixels clear of the fields.
    const int labelLeft = std::clamp(edF->Left() - 6 - std::max(Label2->Width(), Label3->Width()), 0, 8);
    for (TLabel* l : {Label2, Label3, Label4})
        l->SetBounds(labelLeft, l->Top(), l->Width(), l->Height());

    sbP = new TTrackBar(panSecret, TTrackBarOrientation::trHorizontal);
    sbP->SetName(QStringLiteral("sbP"));
    sbP->SetBounds(40, 72, 105, 33);
    sbP->SetRange(-PhaseSteps, PhaseSteps);
    sbP->SetPosition(0);
    sbP->SetFrequency(4);
    sbP->SetThumbLength(20);
    sbP->Slider()->setTickPosition(QSlider::TicksBelow);
    sbP->SetHint(QStringLiteral("Изменение фазы сигнала"));
    sbP->SetHelpContext(12006);

    bOK->OnClick = [this](TObject* s) { bOkClick(s); };
    bCancel->OnClick = [this](TObject* s) { bCancelClick(s); };
    for (TEdit* e : {edF, edA}) {
        e->OnChange = [this](TObject* s) { EditChange(s); };
        e->OnExit = [this](TObject* s) { bOkClick(s); };
        e->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { edKeyDown(s, k, sh); };
    }
    sbP->OnChange = [this](TObject* s) { sbPChange(s); };
    DoCreate();
}

void TAbstGenForm::FormCreate(TObject*)
{
    SetAmplitude(1);
    SetFrequency(1000);
    SetPhase(0);
}

void TAbstGenForm::SetAmplitude(double A)
{
    Amplitude = A;
    edA->SetText(FloatToStr(A));
}

void TAbstGenForm::SetFrequency(double F)
{
    Frequency = ClampGenFrequency(F);
    edF->SetText(FloatToStr(Frequency));
}

void TAbstGenForm::SetPhase(double P)
{
    Phase = P;
    double steps = std::isfinite(P) ? std::clamp(P / Pi * PhaseSteps, -double(PhaseSteps), double(PhaseSteps)) : 0.0;
    // A phase that came from a track-bar step must give that step back;
    // 11/16 pi, say, divides out to a hair below 11.
    if (std::abs(steps - std::nearbyint(steps)) < 1e-9)
        steps = std::nearbyint(steps);
    m_settingPhase = true;
    sbP->SetPosition(Trunc(steps));
    m_settingPhase = false;
}

void TAbstGenForm::SetTask(const TSignalTask& Task)
{
    SetAmplitude(Task.Amplitude);
    SetFrequency(Task.Frequency);
    SetPhase(0);
}

double TAbstGenForm::GetValue(double T) const
{
    return GeneratorValue(lbType->ItemIndex(), Frequency, Amplitude, Phase, T);
}

TPoint TAbstGenForm::FitSize(TPoint) const
{
    return TPoint(280, 120);
}

void TAbstGenForm::bOkClick(TObject*)
{
    SetFrequency(StrToFloat(edF->Text()));
    SetAmplitude(StrToFloat(edA->Text()));
    if (OnChange)
        OnChange(this);
    edF->LineEdit()->setModified(false);
    edA->LineEdit()->setModified(false);
    EditChange(this);
}

void TAbstGenForm::bCancelClick(TObject*)
{
    edF->SetText(FloatToStr(Frequency));
    edA->SetText(FloatToStr(Amplitude));
    edF->LineEdit()->setModified(false);
    edA->LineEdit()->setModified(false);
    EditChange(this);
}

void TAbstGenForm::EditChange(TObject*)
{
    const bool modified = edF->LineEdit()->isModified() || edA->LineEdit()->isModified();
    bOK->SetEnabled(modified);
    bCancel->SetEnabled(modified);
}

void TAbstGenForm::edKeyDown(TObject*, std::uint16_t& Key, TShiftState)
{
    if (Key == VK_RETURN) {
        // Handled here: Enter must not also reach the field's parents.
        Key = 0;
        bOkClick(this);
    }
}

void TAbstGenForm::sbPChange(TObject*)
{
    if (m_settingPhase)
        return;
    SetPhase(sbP->Position() / double(PhaseSteps) * Pi);
    if (OnChange)
        OnChange(this);
}
