// Vorlin: the oscilloscope laboratory.

#include "exercises/works.h"
#include "platform/forms.h"
#include "shell/start.h"

TStartForm* StartForm = nullptr;

int main(int argc, char** argv)
{
    LabApplication app(argc, argv);
    LoadQtTranslation();
    QCoreApplication::setApplicationVersion(VORLIN_VERSION);
    Application->HelpFile = "Vorlin.hlp";
    Application->SetTitle("Изучение электронного осциллографа");
    Application->CreateForm(StartForm, VorlinWorks());
    CreateStartupForms();
    Application->Run();
    return 0;
}
