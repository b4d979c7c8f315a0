#include "scope/drawwire.h"

#include "platform/graphics.h"

#include <QWidget>
#include <algorithm>

QPoint TSingleWire::GetPoint(int I) const
{
    return I >= 0 && I < int(Points.size()) ? Points[I] : QPoint();
}

void TSingleWire::SetPoint(int I, QPoint P)
{
    if (I >= 0 && I < int(Points.size()))
        Points[I] = P;
}

void TSingleWire::Draw(QWidget* PaintBox, TCanvas& Canvas, QWidget* RefControl) const
{
    const TColor savedColor = Canvas.Pen.Color;
    const int savedWidth = Canvas.Pen.Width;
    Canvas.Pen.Color = Color;
    Canvas.Pen.Width = 2;
    for (size_t i = 0; i < Points.size(); ++i) {
        QPoint p = Points[i];
        if (RefControl)
            p = RefControl->mapToGlobal(p);
        if (PaintBox)
            p = PaintBox->mapFromGlobal(p);
        if (i == 0)
            Canvas.MoveTo(p.x(), p.y());
        else
            Canvas.LineTo(p.x(), p.y());
    }
    Canvas.Pen.Color = savedColor;
    Canvas.Pen.Width = savedWidth;
}

bool TSingleWire::HitTest(const TPoint& P, QWidget* RefControl) const
{
    const QPoint q = RefControl ? RefControl->mapFromGlobal(P.q()) : P.q();
    for (size_t k = 0; k + 1 < Points.size(); ++k) {
        const QPoint a = Points[k], b = Points[k + 1];
        const int left = std::min(a.x(), b.x()) - WireHitHalfWidth;
        const int right = std::max(a.x(), b.x()) + WireHitHalfWidth;
        const int top = std::min(a.y(), b.y()) - WireHitHalfHeight;
        const int bottom = std::max(a.y(), b.y()) + WireHitHalfHeight;
        if (q.x() >= left && q.x() < right && q.y() >= top && q.y() < bottom)
            return true;
    }
    return false;
}

TSingleWire* TWireSystem::AddWire(int N)
{
    auto w = std::make_unique<TSingleWire>();
    w->Points.assign(std::max(N, 0), QPoint(0, 0));
    Wires.push_back(std::move(w));
    return Wires.back().get();
}

void TWireSystem::Draw(QWidget* PaintBox, TCanvas& Canvas) const
{
    for (const auto& w : Wires)
        w->Draw(PaintBox, Canvas, RefControl);
}

int TWireSystem::WireAt(const TPoint& P) const
{
    for (size_t i = 0; i < Wires.size(); ++i)
        if (Wires[i]->HitTest(P, RefControl))
            return int(i);
    return -1;
}

int TWireSystem::GetHintInfo(const TPoint& P, bool, TControl*, int& HelpContext, QString& Text) const
{
    const int i = WireAt(P);
    if (i < 0)
        return -1;
    const TSingleWire& w = *Wires[i];
    if (!w.Hint.isEmpty())
        Text = w.Hint;
    else if (!Hint.isEmpty())
        Text = Hint;
    if (w.HelpContext != 0)
        HelpContext = w.HelpContext;
    else if (this->HelpContext != 0)
        HelpContext = this->HelpContext;
    return i;
}
