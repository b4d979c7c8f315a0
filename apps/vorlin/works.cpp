#include "works.h"

#include "scope/TubeView.h"
#include "shell/start.h"

TTubeViewForm* TubeViewForm = nullptr;

void OpenWork(TStartForm* start, int work, int button)
{
    if (work == 1 && button == 1) {
        // The start form stays hidden while the laboratory window is up.
        start->HideForm();
        try {
            ShowTubeViewManual(TubeViewForm);
        } catch (...) {
            start->ShowForm();
            throw;
        }
        start->ShowForm();
    }
}
