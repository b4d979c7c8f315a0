#pragma once
class TStartForm;
// Opens what a work button of the start form stands for.
void OpenWork(TStartForm* start, int work, int button);
// The laboratory windows the program makes right after its start form.
void CreateStartupForms();
