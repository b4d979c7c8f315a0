#include "exercises/scopelab.h"

#include "components/kitformdisp.h"
#include "scope/drawwire.h"
#include "scope/s1_73.h"

namespace {

TBitBtn* makeHelpButton(TWinControl* parent, const char* name, const QString& caption, const QString& hint,
                        const char* glyph, int help)
{
    auto* b = new TBitBtn(parent);
    b->SetName(QString::fromLatin1(name));
    b->SetCaption(caption);
    b->SetHint(hint);
    b->SetShowHint(true);
    b->SetHelpContext(help);
    b->SetGlyphName(QString::fromLatin1(glyph));
    return b;
}

} // namespace

TScopeLabForm::TScopeLabForm(QObject* owner, const QString& Title, int Work, int WorkHelp, int WiresHelp)
    : TLabBaseForm(owner), m_work(Work)
{
    SetCaption(Title);
    OnShow = [this](TObject* s) { FormShow(s); };
    OnResize = [this](TObject* s) { FormResize(s); };

    BitBtn2 = makeHelpButton(panControls, "BitBtn2", QStringLiteral("Цель работы"),
                             QStringLiteral("Вывести справочный текст о цели работы"), "PURPOSE", Work * 100 + 1);
    BitBtn2->SetBounds(8, 0, 113, 25);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn3 = makeHelpButton(panControls, "BitBtn3", QStringLiteral("Порядок выполнения"),
                             QStringLiteral("Вывести справочный текст с указаниями о проведении лабораторной работы"),
                             "INSTRUCT", Work * 100 + 2);
    BitBtn3->SetBounds(128, 0, 169, 25);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };

    panWork = new TPanel(this);
    panWork->SetName(QStringLiteral("panWork"));
    panWork->SetAlign(alClient);
    panWork->SetCaption(QStringLiteral(" "));
    panWork->SetHelpContext(WorkHelp);

    pbWires = new TPaintBox(panWork);
    pbWires->SetName(QStringLiteral("pbWires"));
    pbWires->SetAlign(alClient);
    pbWires->OnPaint = [this](TObject* s) { pbWiresPaint(s); };

    dispOsc = MakeDisplay("dispOsc");

    Scope = new TS1_73Form(Application);
    dispOsc->ShowForm(Scope);
    // The window opens with the focus on the front panel's first control.
    SetTabOrderList(Scope->TabOrderList());
    Scope->OnYSignal = [this](double T) { return GetYSignal(T); };

    Wires = std::make_unique<TWireSystem>();
    Wires->AddWire(4);
    Wires->AddWire(4);
    Wires->Hint = QStringLiteral("Провода от генератора к осциллографу");
    Wires->HelpContext = WiresHelp;
    Scope->OnInputPaint = [this](TObject* Sender, TCanvas& Canvas) {
        DrawWires(qobject_cast<QWidget*>(Sender), Canvas);
    };
}

TScopeLabForm::~TScopeLabForm()
{
    // The front panel outlives this window's wires only as a child widget
    // being torn down; it must not call back into them.
    if (Scope) {
        Scope->OnInputPaint = nullptr;
        Scope->OnYSignal = nullptr;
    }
}

void TScopeLabForm::FormShow(TObject*)
{
    Scope->ResetControls();
}

void TScopeLabForm::FormResize(TObject*)
{
    ArrangeInstruments();
}

void TScopeLabForm::TimerTimer(TObject*)
{
    Scope->RepaintScreen();
}

void TScopeLabForm::pbWiresPaint(TObject*)
{
    DrawWires(pbWires, *pbWires->Canvas());
}

void TScopeLabForm::DrawWires(QWidget* PaintBox, TCanvas& Canvas)
{
    if (PaintBox && Wires)
        Wires->Draw(PaintBox, Canvas);
}

void TScopeLabForm::GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text)
{
    Scope->GetHintInfo(P, Mode, Control, HelpContext, Text);
    Wires->GetHintInfo(P, Mode, Control, HelpContext, Text);
}

void TScopeLabForm::BitBtn2Click(TObject*)
{
    Application->HelpContext(m_work * 100 + 1);
}

void TScopeLabForm::BitBtn3Click(TObject*)
{
    Application->HelpContext(m_work * 100 + 2);
}

TKitFormDisplay* TScopeLabForm::MakeDisplay(const char* Name)
{
    auto* d = new TKitFormDisplay(panWork);
    d->SetName(QString::fromLatin1(Name));
    d->Bevel()->SetBorderSides({});
    d->Bevel()->SetMode(bmStandard);
    d->Bevel()->SetStandardStyle(lsNone);
    return d;
}

void TScopeLabForm::PlaceFrontPanel()
{
    const TPoint avail(panWork->ClientWidth() - 20, panWork->ClientHeight() / 2);
    const TPoint S = Scope->FitSize(avail);
    dispOsc->SetBounds((panWork->ClientWidth() - S.X) / 2, 10, S.X, S.Y);
    // The display passes its size on when it gets its resize; a window not
    // yet shown gets that only later, so the panel is sized here as well.
    Scope->SetBoundsRect(dispOsc->GetInnerRect());
    Scope->ArrangeControls();
}

void TScopeLabForm::RouteYWires(int x0, int y0, int y1, int EndX)
{
    Wires->RefControl = panWork;
    const TPoint U = panWork->ScreenToClient(Scope->ClientToScreen(Scope->YSockets[0]));
    const TPoint L = panWork->ScreenToClient(Scope->ClientToScreen(Scope->YSockets[1]));
    const int x1 = x0 + 4;
    const QPoint w0[] = {U.q(), {x0, U.Y}, {x0, y0}, {EndX, y0}};
    const QPoint w1[] = {L.q(), {x1, L.Y}, {x1, y1}, {EndX, y1}};
    for (int i = 0; i < 4; ++i) {
        Wires->Wires[0]->SetPoint(i, w0[i]);
        Wires->Wires[1]->SetPoint(i, w1[i]);
    }
    pbWires->Invalidate();
    Scope->pbYInput->Invalidate();
}
