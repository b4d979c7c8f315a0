#include "platform/groupctrls.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleOption>
#include <algorithm>

namespace {

// Radio circles as the classic desktop draws them: a white disc with a
// grey outline, small enough to fit the row the group gives each button
// (the desktop style's own circles are taller than these rows and have no
// outline on the panel's grey).
class RowRadioStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override
    {
        if ((m == PM_ExclusiveIndicatorWidth || m == PM_ExclusiveIndicatorHeight) && w)
            return std::clamp(w->height() - 3, 1, 12);
        return QProxyStyle::pixelMetric(m, o, w);
    }
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* o, QPainter* p, const QWidget* w) const override
    {
        if (pe != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(pe, o, p, w);
            return;
        }
        const bool enabled = o->state & State_Enabled;
        const bool sunken = o->state & State_Sunken;
        const QRectF r = QRectF(o->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(QColor(64, 64, 64), 1));
        p->setBrush(enabled && !sunken ? QColor(Qt::white) : o->palette.color(QPalette::Button));
        p->drawEllipse(r);
        if (o->state & State_On) {
            const double d = std::max(2.0, r.width() / 3);
            p->setPen(Qt::NoPen);
            p->setBrush(enabled ? QColor(Qt::black) : QColor(128, 128, 128));
            p->drawEllipse(QRectF(r.center() - QPointF(d / 2, d / 2), QSizeF(d, d)));
        }
        p->restore();
    }
};

QStyle* RadioStyle()
{
    static QPointer<RowRadioStyle> style;
    if (!style) {
        style = new RowRadioStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

TGroupBox::TGroupBox(QWidget* parent)
    : TCustomControl(parent)
{
}

int TGroupBox::CaptionHeight() const
{
    return QFontMetrics(Font().ToQFont()).height();
}

TRect TGroupBox::AdjustClientRect() const
{
    TRect r = ClientRect();
    r.Left += 2;
    r.Right -= 2;
    r.Bottom -= 2;
    r.Top += CaptionHeight();
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

void TGroupBox::Paint()
{
    TCanvas& c = *Canvas();
    c.Brush.Color = Color();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.FillRect(ClientRect());
    c.Font = Font();
    const int th = CaptionHeight();
    // An etched frame: a shadow line with a highlight just inside it.
    TRect r(0, th / 2, Width(), Height());
    c.Brush.Style = TBrushStyle::bsClear;
    c.Pen.Width = 1;
    c.Pen.Color = clBtnHighlight;
    c.Rectangle(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
    c.Pen.Color = clBtnShadow;
    c.Rectangle(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
    const QString text = Caption();
    if (!text.isEmpty()) {
        c.Brush.Style = TBrushStyle::bsSolid;
        c.Brush.Color = Color();
        c.TextOut(8, 0, text);
    }
}

void TGroupBox::FontChangedNotify()
{
    Realign();
    update();
}

void TGroupBox::CaptionChanged()
{
    update();
}

TRadioGroup::TRadioGroup(QWidget* parent)
    : TGroupBox(parent)
{
}

void TRadioGroup::SetItems(const QStringList& items)
{
    for (QRadioButton* b : m_buttons)
        delete b;
    m_buttons.clear();
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setStyle(RadioStyle());
        b->setFont(Font().ToQFont());
        b->setAutoExclusive(false);
        connect(b, &QRadioButton::clicked, this, [this, i] { buttonClicked(i); });
        b->show();
        m_buttons.push_back(b);
    }
    if (m_itemIndex >= items.size())
        m_itemIndex = -1;
    for (int i = 0; i < int(m_buttons.size()); ++i)
        m_buttons[i]->setChecked(i == m_itemIndex);
    arrange();
}

QRadioButton* TRadioGroup::Button(int i) const
{
    return i >= 0 && i < int(m_buttons.size()) ? m_buttons[i] : nullptr;
}

void TRadioGroup::SetItemIndex(int i)
{
    if (i < -1 || i >= int(m_buttons.size()))
        i = -1;
    if (i == m_itemIndex)
        return;
    m_itemIndex = i;
    for (int k = 0; k < int(m_buttons.size()); ++k)
        m_buttons[k]->setChecked(k == i);
    Click();
}

void TRadioGroup::buttonClicked(int i)
{
    // A click on the chosen button keeps it chosen and changes nothing.
    if (i == m_itemIndex) {
        m_buttons[i]->setChecked(true);
        return;
    }
    SetItemIndex(i);
}

void TRadioGroup::arrange()
{
    const int n = int(m_buttons.size());
    if (n == 0)
        return;
    const TRect r = AdjustClientRect();
    const int rowH = std::max(1, (r.Height() - 2) / n);
    for (int i = 0; i < n; ++i)
        m_buttons[i]->setGeometry(r.Left + 6, r.Top + i * rowH, std::max(0, r.Width() - 8), rowH);
}

void TRadioGroup::resizeEvent(QResizeEvent* e)
{
    TGroupBox::resizeEvent(e);
    arrange();
}

void TRadioGroup::FontChangedNotify()
{
    for (QRadioButton* b : m_buttons)
        b->setFont(Font().ToQFont());
    TGroupBox::FontChangedNotify();
    arrange();
}
