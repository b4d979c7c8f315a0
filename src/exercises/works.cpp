#include "exercises/works.h"

#include "exercises/apsignal.h"
#include "exercises/condosc.h"
#include "exercises/damposc.h"
#include "exercises/lissajou.h"
#include "scope/tubeview.h"
#include "shell/openwork.h"
#include "shell/selvar.h"

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
std::function<void(TStartForm*)> LabForm(F*& form)
{
    return [&form](TStartForm* start) {
        Made(form);
        ShowInstead(start, [&] { form->ShowModal(); });
    };
}

// The measuring works ask for the variant first; the dialog's help topic
// is the work's.
template <class F>
std::function<void(TStartForm*)> MeasuringWork(F*& form, int dialogHelp)
{
    return [&form, dialogHelp](TStartForm* start) {
        Made(form);
        OpenWithVariant(start, Made(SelVarForm), dialogHelp, [&](int N) { form->SetVariant(N); }, form);
    };
}

void TubeViewManual(TStartForm* start)
{
    ShowInstead(start, [] { ShowTubeViewManual(TubeViewForm); });
}

} // namespace

std::vector<TLabWork> VorlinWorks()
{
    return {
        {"Изучение электронного осциллографа", "LIST_WORK1", 101, 102,
         {"Работа электронно-лучевой трубки", "GLYPH_OSCTUBE", TubeViewManual},
         {"Определение амплитуды и частоты сигнала", "GLYPH_APSIGNAL", MeasuringWork(APSignalForm, 103)}},
        {"Фигуры Лиссажу", "LIST_WORK2", 201, 202,
         {"Определение частоты сигнала", "GLYPH_LISSAJOU", MeasuringWork(LissajouForm, 203)}, {}},
        {"Затухающие колебания в контуре", "LIST_WORK3", 301, 302,
         {"Затухающие колебания", "GLYPH_DAMPOSC", LabForm(DampOscForm)}, {}},
        {"Вынужденные колебания в контуре", "LIST_WORK4", 401, 402,
         {"Вынужденные колебания", "GLYPH_CONDOSC", LabForm(CondOscForm)}, {}},
    };
}

void CreateStartupForms()
{
    Application->CreateForm(DampOscForm);
    Application->CreateForm(CondOscForm);
}
