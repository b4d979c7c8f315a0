#include "exercises/radiogroup.h"

#include "platform/forms.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent) : TQtHostControl(parent), m_box(new QGroupBox)
{
    auto* layout = new QVBoxLayout(m_box);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->setSpacing(0);
    SetInner(m_box);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(185, 105);
}

void TRadioGroup::CaptionChanged()
{
    m_box->setTitle(Caption());
}

void TRadioGroup::SetItems(const QStringList& items)
{
    for (QRadioButton* b : m_buttons)
        delete b;
    m_buttons.clear();
    for (const QString& text : items) {
        auto* b = new QRadioButton(text, m_box);
        b->setAutoExclusive(true);
        m_box->layout()->addWidget(b);
        connect(b, &QRadioButton::clicked, this, [this] {
            Guarded([this] {
                if (OnClick)
                    OnClick(this);
            });
        });
        m_buttons.push_back(b);
    }
}

int TRadioGroup::ItemIndex() const
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->isChecked())
            return int(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int i)
{
    for (std::size_t k = 0; k < m_buttons.size(); ++k) {
        // Auto-exclusive buttons refuse to clear the checked one.
        m_buttons[k]->setAutoExclusive(false);
        m_buttons[k]->setChecked(int(k) == i);
        m_buttons[k]->setAutoExclusive(true);
    }
}
