#pragma once
// Vorlin's works as its start form offers them, and the laboratory windows
// behind them. Each window is made on first use (owner the application)
// and kept until the program ends; the variant dialog is one for both
// measuring works.

#include "shell/start.h"

#include <vector>

class TAPSignalForm;
class TCondOscForm;
class TDampOscForm;
class TLissajouForm;
class TSelVarForm;
class TTubeViewForm;

extern TTubeViewForm* TubeViewForm;
extern TDampOscForm* DampOscForm;
extern TCondOscForm* CondOscForm;
extern TAPSignalForm* APSignalForm;
extern TLissajouForm* LissajouForm;
extern TSelVarForm* SelVarForm;

// The four works in the order of the start form's list.
std::vector<TLabWork> VorlinWorks();
// The laboratory windows the program makes right after its start form.
void CreateStartupForms();
