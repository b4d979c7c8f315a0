#pragma once
// Standard controls: a captioned frame that holds other controls, and the
// radio group built on it, a column of radio buttons of which at most one
// is chosen.

#include "platform/controls.h"

#include <QStringList>
#include <vector>

class QRadioButton;

class TGroupBox : public TCustomControl {
    Q_OBJECT
public:
    explicit TGroupBox(QWidget* parent = nullptr);
    // Inside the etched frame, below the caption.
    TRect AdjustClientRect() const override;

protected:
    void Paint() override;
    void FontChangedNotify() override;
    void CaptionChanged() override;
    // The height of the caption's text line.
    int CaptionHeight() const;
};

class TRadioGroup : public TGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    QStringList Items() const { return m_items; }
    // The chosen item, -1 when none.
    int ItemIndex() const { return m_itemIndex; }
    // Choosing an item from code acts as a click on it.
    void SetItemIndex(int i);
    QRadioButton* Button(int i) const;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void FontChangedNotify() override;

private:
    void arrange();
    void buttonClicked(int i);
    QStringList m_items;
    std::vector<QRadioButton*> m_buttons;
    int m_itemIndex = -1;
};
