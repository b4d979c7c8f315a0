#include "exercises/openwork.h"

#include "shell/selvar.h"

bool OpenWithVariant(TForm* Start, TSelVarForm*& Dialog, int HelpContext, const std::function<void(int)>& SetVariant,
                     TForm* Exercise)
{
    if (!Dialog)
        Application->CreateForm(Dialog);
    Dialog->SetHelpContext(HelpContext);
    const std::optional<int> variant = Dialog->Ask();
    if (!variant)
        return false;
    SetVariant(*variant);
    ShowInstead(Start, [Exercise] { Exercise->ShowModal(); });
    return true;
}

void ShowInstead(TForm* Start, const std::function<void()>& ShowModal)
{
    Start->HideForm();
    try {
        ShowModal();
    } catch (...) {
        Start->ShowForm();
        throw;
    }
    Start->ShowForm();
}
