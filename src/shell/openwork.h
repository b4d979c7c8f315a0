#pragma once
// Opening a laboratory window from a start form, the same in both
// programs: the variant dialog first for a measuring exercise, then the
// window modally while the start form is hidden.

#include <QString>
#include <functional>

class TForm;
class TSelVarForm;

// Dialog (made by the caller) is shown with HelpContext; cancelled,
// nothing else happens and false is returned. Otherwise SetVariant gets
// 1..100 or 0 for training, Start is hidden, Exercise is shown modally,
// and Start shown again when it closes.
bool OpenWithVariant(TForm* Start, TSelVarForm* Dialog, int HelpContext, const std::function<void(int)>& SetVariant,
                     TForm* Exercise);
// Hides Start while ShowModal runs, and shows it again afterwards, also
// when it throws.
void ShowInstead(TForm* Start, const std::function<void()>& ShowModal);

// The caption of an exercise opened for variant N: the title followed by
// " - Тренировка" for N <= 0, else by " - Вариант N".
QString VariantCaption(const QString& Title, int N);
