#pragma once
// A framed group of radio buttons with a caption; the chosen item is an
// index, -1 when none is chosen.

#include "platform/stdctrls.h"

#include <QStringList>
#include <vector>

class QGroupBox;
class QRadioButton;

class TRadioGroup : public TQtHostControl {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    int ItemCount() const { return int(m_buttons.size()); }
    QRadioButton* Item(int i) const { return m_buttons.at(std::size_t(i)); }
    int ItemIndex() const;
    // Outside 0..count-1 no item is chosen.
    void SetItemIndex(int i);

    // Fired when the user picks an item.
    TNotifyEvent OnClick;

protected:
    void CaptionChanged() override;

private:
    QGroupBox* m_box;
    std::vector<QRadioButton*> m_buttons;
};
