#pragma once
// The one-line question, the entry counterpart of the application's message
// box: a small modal dialog with a caption, a prompt and a field.

#include <QString>
#include <functional>

class QWidget;

// Shows `value` for editing; true with the answer in `value` when it is
// confirmed, false with `value` unchanged when cancelled.  `check`, when
// given, is asked first: an exception it raises goes to the application's
// handler and the dialog stays up, the focus in the field with the text as
// typed.
bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value,
                const std::function<void(const QString&)>& check = {});
