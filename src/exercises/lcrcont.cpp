#include "exercises/lcrcont.h"

#include "platform/numtext.h"

namespace {

TLabel* makeLabel(TWinControl* parent, const char* name, int x, int y, const QString& text)
{
    auto* l = new TLabel(parent);
    l->SetName(QString::fromLatin1(name));
    l->SetBounds(x, y, 0, 0);
    l->SetCaption(text);
    return l;
}

TEdit* makeEdit(TWinControl* parent, const char* name, int y, const QString& hint)
{
    auto* e = new TEdit(parent);
    e->SetName(QString::fromLatin1(name));
    e->SetBounds(126, y, 75, 21);
    e->SetText(QStringLiteral("0"));
    e->SetHint(hint);
    e->SetShowHint(true);
    return e;
}

} // namespace

TLCRContForm::TLCRContForm(QObject* owner)
    : TForm(owner)
{
    SetName(QStringLiteral("LCRContForm"));
    SetFont(TFont(QStringLiteral("MS Sans Serif"), 11));
    SetClientSize(212, 106);

    Panel1 = new TPanel(this);
    Panel1->SetName(QStringLiteral("Panel1"));
    Panel1->SetAlign(alClient);
    Panel1->SetBevelWidth(4);
    Panel1->SetCaption(QStringLiteral(" "));
    Panel1->SetHint(QStringLiteral("Блок ввода параметров колебательного контура"));

    Label2 = makeLabel(Panel1, "Label2", 16, 8, QStringLiteral("Колебательный контур"));
    Label2->SetAutoSize(false);
    Label2->SetBounds(16, 8, 169, 17);
    Label2->SetAlignment(TAlignment::taCenter);
    Label3 = makeLabel(Panel1, "Label3", 8, 32, QStringLiteral("Индуктивность L, мГн"));
    edL = makeEdit(Panel1, "edL", 24,
                   QStringLiteral("Поле ввода значения индуктивности L колебательного контура в милигенри"));
    Label5 = makeLabel(Panel1, "Label5", 8, 56, QStringLiteral("Емкость C, мкФ"));
    edC = makeEdit(Panel1, "edC", 48,
                   QStringLiteral("Поле ввода значения емкости C колебательного контура в микрофарадах"));
    Label6 = makeLabel(Panel1, "Label6", 8, 80, QStringLiteral("Сопротивление R, Ом"));
    edR = makeEdit(Panel1, "edR", 72,
                   QStringLiteral("Поле ввода значения сопротивления R колебательного контура в омах"));
    for (TEdit* e : {edL, edC, edR})
        e->OnExit = [this](TObject* s) { edLExit(s); };
    DoCreate();
}

void TLCRContForm::SetCapacitance(double C)
{
    Capacitance = C;
    edC->SetText(FloatToStr(C / 0.000001));
}

void TLCRContForm::SetInductance(double L)
{
    Inductance = L;
    edL->SetText(FloatToStr(L / 0.001));
}

void TLCRContForm::SetResistance(double R)
{
    Resistance = R;
    edR->SetText(FloatToStr(R));
}

void TLCRContForm::edLExit(TObject*)
{
    SetInductance(StrToFloat(edL->Text()) * 0.001);
    SetCapacitance(StrToFloat(edC->Text()) * 0.000001);
    SetResistance(StrToFloat(edR->Text()));
}

TPoint TLCRContForm::FitSize(TPoint) const
{
    return TPoint(212, 106);
}

void DrawCircuit(TCanvas& c, int w, int h)
{
    // k·w/n is taken as (w·k) div n throughout.
    auto X = [w](int k, int n) { return w * k / n; };
    auto Y = [h](int k, int n) { return h * k / n; };
    auto line = [&c](int x1, int y1, int x2, int y2) {
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    auto dot = [&c](int x, int y) { c.Ellipse(x - 2, y - 2, x + 2, y + 2); };

    c.Pen.Color = RGB(255, 0, 0);
    c.Pen.Width = 2;
    c.Pen.Style = TPenStyle::psSolid;
    line(X(4, 6), Y(3, 24), X(4, 6), Y(5, 24));
    line(X(9, 12), Y(3, 24), X(9, 12), Y(5, 24));
    line(X(1, 12), Y(1, 2), X(3, 12), Y(1, 2));
    line(X(1, 12), Y(13, 24), X(3, 12), Y(13, 24));
    for (int i = 0; i < 4; ++i)
        c.Arc(X(5, 12), Y(8 + i, 24), X(7, 12), Y(9 + i, 24), X(6, 12), Y(9 + i, 24), X(6, 12), Y(8 + i, 24));
    c.Brush.Style = TBrushStyle::bsClear;
    c.Rectangle(X(5, 12), Y(7, 12), X(7, 12), Y(9, 12));

    c.Pen.Color = RGB(0, 0, 255);
    c.Pen.Width = 2;
    c.Brush.Color = RGB(0, 0, 255);
    c.Brush.Style = TBrushStyle::bsSolid;
    line(0, Y(1, 6), X(4, 6), Y(1, 6));
    line(X(9, 12), Y(1, 6), w, Y(1, 6));
    dot(X(1, 3), Y(1, 6));
    line(X(1, 3), Y(1, 6), X(1, 3), Y(3, 12));
    dot(X(1, 3), Y(3, 12));
    line(X(1, 6), Y(3, 12), X(1, 2), Y(3, 12));
    line(X(1, 6), Y(3, 12), X(1, 6), Y(6, 12));
    line(X(1, 2), Y(3, 12), X(1, 2), Y(4, 12));
    line(X(1, 2), Y(6, 12), X(1, 2), Y(7, 12));
    line(X(1, 2), Y(9, 12), X(1, 2), Y(10, 12));
    c.MoveTo(X(1, 6), Y(13, 24));
    c.LineTo(X(1, 6), Y(10, 12));
    c.LineTo(X(1, 2), Y(10, 12));
    dot(X(1, 3), Y(10, 12));
    line(X(1, 3), Y(10, 12), X(1, 3), Y(11, 12));
    dot(X(1, 3), Y(11, 12));
    c.MoveTo(2, Y(11, 12));
    c.LineTo(X(5, 6), Y(11, 12));
    c.LineTo(X(5, 6), Y(4, 12));
    c.LineTo(w, Y(4, 12));
    c.MoveTo(2, Y(11, 12));
    c.LineTo(2, Y(4, 12));
    c.LineTo(0, Y(4, 12));

    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(X(1, 2), 0, QStringLiteral("Cp"));
    c.TextOut(X(3, 12), Y(5, 12), QStringLiteral("C"));
    c.TextOut(X(2, 3), Y(5, 12), QStringLiteral("L"));
    c.TextOut(X(2, 3), Y(7, 12), QStringLiteral("R"));
}

void DrawCircuit(TPaintBox* PaintBox)
{
    TCanvas& c = *PaintBox->Canvas();
    c.Font = PaintBox->Font();
    DrawCircuit(c, PaintBox->Width(), PaintBox->Height());
}
