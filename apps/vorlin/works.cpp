#include "works.h"

#include "exercises/condosc.h"
#include "exercises/damposc.h"
#include "scope/TubeView.h"
#include "shell/start.h"

TTubeViewForm* TubeViewForm = nullptr;
TDampOscForm* DampOscForm = nullptr;
TCondOscForm* CondOscForm = nullptr;

namespace {

// The start form stays hidden while the laboratory window is up, and comes
// back however the window ends.
template <class Run>
void WhileHidden(TStartForm* start, Run run)
{
    start->HideForm();
    try {
        run();
    } catch (...) {
        start->ShowForm();
        throw;
    }
    start->ShowForm();
}

template <class F>
void ShowLabForm(TStartForm* start, F*& form)
{
    if (!form)
        Application->CreateForm(form);
    WhileHidden(start, [&] { form->ShowModal(); });
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
        WhileHidden(start, [] { ShowTubeViewManual(TubeViewForm); });
    else if (work == 3 && button == 1)
        ShowLabForm(start, DampOscForm);
    else if (work == 4 && button == 1)
        ShowLabForm(start, CondOscForm);
}
