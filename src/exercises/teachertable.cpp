#include "exercises/teachertable.h"

#include "shell/showvars.h"

#include "platform/stdctrls.h"

TShowVarsForm* ShowVarsForm = nullptr;

void ShowTeacherTable(TForm* Exercise, const QStringList& Lines)
{
    if (!ShowVarsForm)
        Application->CreateForm(ShowVarsForm);
    ShowVarsForm->txt->SetText(QString());
    Exercise->HideForm();
    try {
        ShowVarsForm->txt->SetText(Lines.join(QLatin1Char('\n')));
        ShowVarsForm->ShowModal();
    } catch (...) {
        Exercise->ShowForm();
        throw;
    }
    Exercise->ShowForm();
}

TButton* MakeVariantsButton(TWinControl* Parent, int Left, int Width, TNotifyEvent OnClick)
{
    auto* b = new TButton(Parent);
    b->SetName(QStringLiteral("bShowVariants"));
    b->SetBounds(Left, 0, Width, 25);
    b->SetCaption(QStringLiteral("Варианты"));
    b->OnClick = std::move(OnClick);
    return b;
}
