// Vorlin: the oscilloscope laboratory.

#include "platform/forms.h"
#include "shell/start.h"
#include "works.h"

TStartForm* StartForm = nullptr;

int main(int argc, char** argv)
{
    LabApplication app(argc, argv);
    LoadQtTranslation();
    QCoreApplication::setApplicationVersion(VORLIN_VERSION);
    Application->HelpFile = "Vorlin.hlp";
    Application->SetTitle("Изучение электронного осциллографа");
    TStartForm::SetWorkOpener(OpenWork);
    Application->CreateForm(StartForm);
    CreateStartupForms();
    Application->Run();
    return 0;
}
