#include "platform/inputquery.h"

#include "platform/forms.h"
#include "platform/windowmanager.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

namespace {

class CheckedInputDialog : public QInputDialog {
public:
    CheckedInputDialog(QWidget* parent, const std::function<void(const QString&)>& check)
        : QInputDialog(parent), m_check(check)
    {
    }
    void done(int result) override
    {
        if (result == QDialog::Accepted && m_check) {
            try {
                m_check(textValue());
            } catch (const std::exception& e) {
                Application->HandleException(e);
                // The value is typed anew over the refused one.
                if (auto* field = findChild<QLineEdit*>()) {
                    field->setFocus();
                    field->selectAll();
                }
                return;
            }
        }
        QInputDialog::done(result);
    }

private:
    const std::function<void(const QString&)>& m_check;
};

} // namespace

bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value,
                const std::function<void(const QString&)>& check)
{
    CheckedInputDialog dialog(parent, check);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    // The dialog sizes itself to its layout: the prompt makes room for the
    // whole title.
    if (auto* label = dialog.findChild<QLabel*>())
        label->setMinimumWidth(WindowManager::TitleWidth(caption));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}
