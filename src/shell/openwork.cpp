#include "shell/openwork.h"

#include "shell/selvar.h"

bool OpenWithVariant(TForm* Start, TSelVarForm* Dialog, int HelpContext, const std::function<void(int)>& SetVariant,
                     TForm* Exercise)
{
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

QString VariantCaption(const QString& Title, int N)
{
    if (N <= 0)
        return Title + QStringLiteral(" - Тренировка");
    return Title + QStringLiteral(" - Вариант ") + QString::number(N);
}
