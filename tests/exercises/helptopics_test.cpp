// Every help context a student can open in Vorlin has a topic in Vorlin's
// help: the windows are opened through the start form as the program does,
// and each is walked with the help pointer, F1 and its help buttons.

#include "exercises/apsignal.h"
#include "exercises/works.h"
#include "scope/tubeview.h"
#include "shell/selvar.h"
#include "shell/start.h"
#include "support/helpwalk.h"

#include <gtest/gtest.h>

namespace {

using helpwalk::Contexts;

// The variant dialog: its help button, then training.
void AnswerVariantDialog(const QString& work, Contexts& found)
{
    helpwalk::WhenShown([] { return SelVarForm; }, [work, &found](TForm* d) {
        auto* sv = static_cast<TSelVarForm*>(d);
        helpwalk::Note(found, helpwalk::Asked([&] { testutil::clickAt(sv, helpwalk::CentreIn(sv, sv->bHelp)); }),
                       "variant dialog of " + work);
        helpwalk::CarriedContexts(sv, "variant dialog of " + work, found);
        testutil::clickAt(sv, helpwalk::CentreIn(sv, sv->bTest));
    });
}

// Walks the laboratory window that opens next, then closes it; `inside`
// runs before the close (for the windows it opens in turn).
void WalkNextLab(const QString& where, Contexts& found, QWidget* opener,
                 std::function<void(TLabBaseForm*)> inside = nullptr)
{
    // A variant dialog may come first; it is answered by its own step.
    helpwalk::WhenShown([opener] { return qobject_cast<TLabBaseForm*>(helpwalk::ShownForm(opener)); },
                        [=, &found](TForm* f) {
        auto* lab = static_cast<TLabBaseForm*>(f);
        helpwalk::WalkLab(lab, where, found);
        if (inside)
            inside(lab);
        testutil::clickAt(lab, helpwalk::CentreIn(lab, lab->bClose));
    });
}

TEST(VorlinHelp, EveryContextTheWindowsCanOpenHasATopic)
{
    Application->HelpFile = "Vorlin.hlp";
    TStartForm start(nullptr, VorlinWorks());
    ProctorMode = true; // the teacher's buttons too
    CreateStartupForms();
    start.Show();
    testutil::pump();

    Contexts found;
    helpwalk::CarriedContexts(&start, "start form", found);
    for (int work = 1; work <= 4; ++work) {
        start.SetWork(work);
        helpwalk::ClickButtons(&start, {"Цель работы", "Порядок выполнения"}, QString("start form, work %1").arg(work),
                               found);
    }
    auto openWork = [&](int work, TBitBtn* button) {
        start.SetWork(work);
        testutil::clickAt(&start, helpwalk::CentreIn(&start, button));
    };

    WalkNextLab("tube view, manual", found, &start);
    openWork(1, start.bWork1);

    // The amplitude-and-frequency work: its teacher's table, and the tube
    // view fed by the front panel.
    AnswerVariantDialog("work 1", found);
    WalkNextLab("work 1", found, &start, [&found](TLabBaseForm* lab) {
        WalkNextLab("tube view, from the oscilloscope", found, lab);
        testutil::clickAt(lab, helpwalk::CentreIn(lab, APSignalForm->BitBtn1));
        helpwalk::WhenShown([lab] { return helpwalk::ShownForm(lab); }, [&found](TForm* table) {
            helpwalk::CarriedContexts(table, "teacher's table", found);
            table->Close();
        });
        helpwalk::ClickButtons(lab, {"Варианты"}, "work 1", found);
    });
    openWork(1, start.bWork2);

    AnswerVariantDialog("work 2", found);
    WalkNextLab("work 2", found, &start);
    openWork(2, start.bWork1);

    WalkNextLab("work 3", found, &start);
    openWork(3, start.bWork1);

    WalkNextLab("work 4", found, &start);
    openWork(4, start.bWork1);

    // The walk reached the parts that answer only through the help pointer.
    for (long long ctx : {11112LL, 11002LL, 12119LL, 12117LL, 13204LL, 13304LL})
        EXPECT_EQ(found.count(ctx), 1u) << "the walk never reached " << ctx;
    helpwalk::ExpectTopics(found, "Vorlin.hlp");
}

} // namespace
