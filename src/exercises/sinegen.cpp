#include "exercises/sinegen.h"

#include "controls/mekknob.h"
#include "models/generator.h"
#include "platform/groupctrls.h"
#include "platform/numtext.h"

#include <algorithm>
#include <cmath>

namespace {

TLabel* makeValueLabel(TGroupBox* box, const char* name, const QString& text)
{
    auto* l = new TLabel(box);
    l->SetName(QString::fromLatin1(name));
    l->SetAutoSize(false);
    l->SetAlign(alClient);
    l->SetAlignment(TAlignment::taCenter);
    l->SetLayout(TTextLayout::tlCenter);
    TFont f = box->Font();
    f.PixelSize = 16;
    f.Style = fsBold;
    l->SetFont(f);
    l->SetCaption(text);
    return l;
}

TGroupBox* makeBox(TWinControl* parent, const char* name, int top, const QString& caption)
{
    auto* g = new TGroupBox(parent);
    g->SetName(QString::fromLatin1(name));
    g->SetBounds(184, top, 89, 41);
    g->SetCaption(caption);
    return g;
}

} // namespace

TSineGenForm::TSineGenForm(QObject* owner)
    : TForm(owner)
{
    SetName(QStringLiteral("SineGenForm"));
    SetFont(TFont(QStringLiteral("MS Sans Serif"), 11));
    SetClientSize(286, 166);

    Panel1 = new TPanel(this);
    Panel1->SetName(QStringLiteral("Panel1"));
    Panel1->SetAlign(alClient);
    Panel1->SetBevelWidth(4);
    Panel1->SetCaption(QStringLiteral(" "));

    Label3 = new TLabel(Panel1);
    Label3->SetName(QStringLiteral("Label3"));
    Label3->SetBounds(168, 8, 0, 0);
    Label3->SetCaption(QStringLiteral("Генератор сигналов"));

    rgM = new TRadioGroup(Panel1);
    rgM->SetName(QStringLiteral("rgM"));
    rgM->SetBounds(184, 24, 89, 57);
    rgM->SetCaption(QStringLiteral("Множитель"));
    rgM->SetItems({QStringLiteral("x 1 Гц"), QStringLiteral("x 10 Гц"), QStringLiteral("x 100 Гц")});
    rgM->SetItemIndex(0);

    GroupBox1 = makeBox(Panel1, "GroupBox1", 80, QStringLiteral("Частота"));
    txtFreq = makeValueLabel(GroupBox1, "txtFreq", QStringLiteral("1234 Гц"));
    GroupBox2 = makeBox(Panel1, "GroupBox2", 120, QStringLiteral("Напряжение"));
    txtVoltage = makeValueLabel(GroupBox2, "txtVoltage", QStringLiteral("1 В"));

    Knob = new TMekTransparentKnob(this);
    Knob->SetName(QStringLiteral("Knob"));
    Knob->raise();
    Knob->SetAngle1(225);
    Knob->SetAngle2(-45);
    Knob->SetNumPositions(101);
    Knob->SetStepPerTick(10);
    for (int i = 0; i <= 10; ++i)
        Knob->Labels().append(IntToStr(i * 10));
    Knob->OnChange = [this](TObject* s) { KnobChange(s); };
    rgM->OnClick = [this](TObject* s) { KnobChange(s); };
    Knob->SetTransparent(false);
    SetBounds(Left(), Top(), Width(), Height());
    SetVoltage(1);
    UpdateFrequencyText();
    DoCreate();
}

double TSineGenForm::GetFrequency() const
{
    return SineGenFrequency(Knob->Position(), rgM->ItemIndex());
}

void TSineGenForm::UpdateFrequencyText()
{
    txtFreq->SetCaption(FloatToStr(GetFrequency()) + QStringLiteral(" Гц"));
}

void TSineGenForm::KnobChange(TObject*)
{
    if (OnChange)
        OnChange(this);
    UpdateFrequencyText();
}

void TSineGenForm::SetVoltage(double V)
{
    Voltage = V;
    txtVoltage->SetCaption(FloatToStr(V) + QStringLiteral(" В"));
}

double TSineGenForm::GetValue(double T) const
{
    return GeneratorValue(gwSine, GetFrequency(), Voltage, 0, T);
}

TPoint TSineGenForm::FitSize(TPoint) const
{
    return TPoint(286, 166);
}

void TSineGenForm::SetBounds(int left, int top, int width, int height)
{
    TForm::SetBounds(left, top, width, height);
    if (!Knob)
        return;
    Knob->SetBounds(8, 8, std::max(0, height - 16), std::max(0, height - 16));
    // A very low form would give a negative radius; the knob then shrinks
    // to its pointer.
    Knob->SetRadius(std::max(0, height / 2 - 32));
}
