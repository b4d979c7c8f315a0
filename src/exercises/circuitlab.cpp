#include "exercises/circuitlab.h"

#include "exercises/circuitres.h"
#include "exercises/lcrcont.h"

#include "components/kitformdisp.h"

TCircuitLabForm::TCircuitLabForm(QObject* owner, const QString& Title, int Work, int Base)
    : TScopeLabForm(owner, Title, Work, Base + 1, Base + 2), m_base(Base)
{
    InitCircuitWorkResources();
    pbCont = new TPaintBox(panWork);
    pbCont->SetName(QStringLiteral("pbCont"));
    pbCont->SetHint(QStringLiteral("Колебательный контур"));
    pbCont->SetFont(TFont(QStringLiteral("MS Sans Serif"), 16, clGreen));
    pbCont->OnPaint = [this](TObject* s) { pbContPaint(s); };

    dispCont = MakeDisplay("dispCont");

    Circuit = new TLCRContForm(Application);
    Circuit->SetHelpContext(Base + 5);
    dispCont->ShowForm(Circuit);
}

void TCircuitLabForm::pbContPaint(TObject*)
{
    DrawCircuit(pbCont);
}

void TCircuitLabForm::GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text)
{
    TScopeLabForm::GetHintInfo(P, Mode, Control, HelpContext, Text);
    const TPoint q = panWork->ScreenToClient(P);
    if (PtInRect(pbCont->BoundsRect(), q))
        HelpContext = m_base + 4;
}

void TCircuitLabForm::PlaceCircuit(TControl* Driver, int Height, int MarginRight)
{
    const int w = Height / 2;
    pbCont->SetBounds(Driver->Left() - w, Driver->Top(), w, Height);
    const TPoint B = Circuit->FitSize(TPoint(panWork->ClientWidth(), panWork->ClientHeight()));
    dispCont->SetBounds(pbCont->Left() - B.X - 10, pbCont->Top() + pbCont->Height() * 5 / 12, B.X, B.Y);
    Circuit->SetBoundsRect(dispCont->GetInnerRect());
    RouteYWires(MarginRight / 2 - 2, pbCont->Top() + pbCont->Height() / 3, pbCont->Top() + pbCont->Height() / 6, pbCont->Left());
}
