#include "works.h"

#include "exercises/apsignal.h"
#include "exercises/condosc.h"
#include "exercises/damposc.h"
#include "exercises/lissajou.h"
#include "exercises/openwork.h"
#include "scope/tubeview.h"
#include "shell/selvar.h"
#include "shell/start.h"

TTubeViewForm* TubeViewForm = nullptr;
TDampOscForm* DampOscForm = nullptr;
TCondOscForm* CondOscForm = nullptr;
TAPSignalForm* APSignalForm = nullptr;
TLissajouForm* LissajouForm = nullptr;
TSelVarForm* SelVarForm = nullptr;

namespace {

template <class F>
F* Made(F*& form)
{
    if (!form)
        Application->CreateForm(form);
    return form;
}

template <class F>
void ShowLabForm(TStartForm* start, F*& form)
{
    Made(form);
    ShowInstead(start, [&] { form->ShowModal(); });
}

// The measuring works ask for the variant first; the dialog's help topic
// is the work's.
template <class F>
void ShowMeasuringWork(TStartForm* start, F*& form, int dialogHelp)
{
    Made(form);
    OpenWithVariant(start, SelVarForm, dialogHelp, [&](int N) { form->SetVariant(N); }, form);
}

} // namespace

void CreateStartupForms()
{
    Application->CreateForm(DampOscForm);
    Application->CreateForm(CondOscForm);
}

void OpenWork(TStartForm* start, int work, int button)
{
    if (work == 1 && button == 1)
        ShowInstead(start, [] { ShowTubeViewManual(TubeViewForm); });
    else if (work == 1 && button == 2)
        ShowMeasuringWork(start, APSignalForm, 103);
    else if (work == 2 && button == 1)
        ShowMeasuringWork(start, LissajouForm, 203);
    else if (work == 3 && button == 1)
        ShowLabForm(start, DampOscForm);
    else if (work == 4 && button == 1)
        ShowLabForm(start, CondOscForm);
}
