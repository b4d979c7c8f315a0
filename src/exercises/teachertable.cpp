#include "exercises/teachertable.h"

#include "shell/showvars.h"

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
