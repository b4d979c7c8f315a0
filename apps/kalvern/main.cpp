// Kalvern: the bridge laboratory.

#include "bridge/kalvernstart.h"
#include "platform/forms.h"

kalvern::TStartForm* StartForm = nullptr;

int main(int argc, char** argv)
{
    LabApplication app(argc, argv);
    LoadQtTranslation();
    QCoreApplication::setApplicationVersion(KALVERN_VERSION);
    Application->HelpFile = "Kalvern.hlp";
    Application->SetTitle("Мост Уитстона");
    Application->CreateForm(StartForm);
    Application->Run();
    return 0;
}
