#pragma once
// Opening a measuring exercise from the start form: the variant dialog
// first, then the exercise modally while the start form is hidden.

#include <functional>

class TForm;
class TSelVarForm;

// Dialog is made on first use (owner the application) and shown with
// HelpContext; cancelled, nothing else happens and false is returned.
// Otherwise SetVariant gets 1..100 or 0 for training, Start is hidden,
// Exercise is shown modally, and Start shown again when it closes.
bool OpenWithVariant(TForm* Start, TSelVarForm*& Dialog, int HelpContext, const std::function<void(int)>& SetVariant,
                     TForm* Exercise);
// Hides Start while ShowModal runs, and shows it again afterwards, also
// when it throws.
void ShowInstead(TForm* Start, const std::function<void()>& ShowModal);
