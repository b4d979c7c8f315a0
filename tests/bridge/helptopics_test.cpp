// Every help context a student can open in Kalvern has a topic in Kalvern's
// help: the start form, the variant dialog, the bridge window and the
// teacher's table, walked with the help pointer, F1 and the help buttons.

#include "bridge/kalvernstart.h"
#include "bridge/resbridge.h"
#include "shell/selvar.h"
#include "support/helpwalk.h"

#include <gtest/gtest.h>

using kalvern::TStartForm;
using helpwalk::Contexts;

TEST(KalvernHelp, EveryContextTheWindowsCanOpenHasATopic)
{
    Application->HelpFile = "Kalvern.hlp";
    TStartForm start(nullptr);
    kalvern::ProctorMode = true; // the teacher's button too
    start.show();
    testutil::pump();

    Contexts found;
    helpwalk::CarriedContexts(&start, "start form", found);
    helpwalk::ClickButtons(&start, {"Цель работы", "Порядок выполнения"}, "start form", found);

    helpwalk::WhenShown([] { return TStartForm::SelVarForm(); }, [&found](TForm* d) {
        auto* sv = static_cast<TSelVarForm*>(d);
        helpwalk::Note(found, helpwalk::Asked([&] { testutil::clickAt(sv, helpwalk::CentreIn(sv, sv->bHelp)); }),
                       "variant dialog");
        helpwalk::CarriedContexts(sv, "variant dialog", found);
        testutil::clickAt(sv, helpwalk::CentreIn(sv, sv->bTest)); // training: the Rx entry shows
    });
    helpwalk::WhenShown([] { return TStartForm::ResBridgeForm(); }, [&found](TForm* f) {
        auto* lab = static_cast<TResBridgeForm*>(f);
        helpwalk::WalkLab(lab, "bridge", found);
        helpwalk::WhenShown([lab] { return helpwalk::ShownForm(lab); }, [&found](TForm* table) {
            helpwalk::CarriedContexts(table, "teacher's table", found);
            table->Close();
        });
        helpwalk::ClickButtons(lab, {"Варианты"}, "bridge", found);
        testutil::clickAt(lab, helpwalk::CentreIn(lab, lab->bClose));
    });
    testutil::clickAt(&start, helpwalk::CentreIn(&start, start.bResBridge));

    // The walk reached the devices, which answer only through the help pointer.
    for (long long ctx : {13004LL, 13005LL, 13010LL, 13011LL})
        EXPECT_EQ(found.count(ctx), 1u) << "the walk never reached " << ctx;
    helpwalk::ExpectTopics(found, "Kalvern.hlp");
}
