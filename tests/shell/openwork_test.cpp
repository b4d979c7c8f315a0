// Opening a measuring exercise from the start form through the variant
// dialog: cancel, training and a teacher's variant, and the caption the
// variant gives.

#include "shell/openwork.h"

#include "platform/help.h"
#include "shell/selvar.h"
#include "support/testutil.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct Opening {
    TForm start{nullptr};
    TForm exercise{nullptr};
    TSelVarForm dialog{nullptr};
    std::optional<int> variant;
    bool startHiddenDuringExercise = false;
    int dialogHelp = 0;

    Opening()
    {
        Application->HelpFile = "Vorlin.hlp";
        start.Show();
        testutil::pump();
    }

    // Answers the dialog with `press` and closes the exercise when it shows.
    bool Open(int help, const std::function<void(TSelVarForm*)>& press)
    {
        // Timers that never fired (no exercise after a cancel) go with the
        // opening instead of firing into the next test.
        QTimer::singleShot(0, &start, [this, press] {
            dialogHelp = dialog.HelpContext();
            QTimer::singleShot(0, &start, [this] {
                startHiddenDuringExercise = !start.isVisible();
                exercise.Close();
            });
            press(&dialog);
        });
        return OpenWithVariant(&start, &dialog, help, [this](int N) { variant = N; }, &exercise);
    }
};

TEST(OpenWork, CancelLeavesTheStartFormAsItWas)
{
    Opening o;
    EXPECT_FALSE(o.Open(103, [](TSelVarForm* d) { d->bCancel->Click(); }));
    EXPECT_FALSE(o.variant.has_value());
    EXPECT_TRUE(o.start.isVisible());
    EXPECT_EQ(o.dialogHelp, 103);
}

TEST(OpenWork, TrainingAndVariantReachTheExerciseWithTheStartFormHidden)
{
    Opening o;
    long long helpShown = 0;
    EXPECT_TRUE(o.Open(203, [&](TSelVarForm* d) {
        d->bHelp->Click();
        helpShown = Help::LastRequest().context;
        d->bTest->Click();
    }));
    EXPECT_EQ(helpShown, 203);
    EXPECT_EQ(o.variant, 0);
    EXPECT_TRUE(o.startHiddenDuringExercise);
    EXPECT_TRUE(o.start.isVisible());
    EXPECT_EQ(o.dialogHelp, 203);

    // The same dialog again, now for the other work, with variant 42 typed.
    EXPECT_TRUE(o.Open(103, [](TSelVarForm* d) {
        d->edVar->SetText("42");
        d->bOk->Click();
    }));
    EXPECT_EQ(o.variant, 42);
    EXPECT_EQ(o.dialogHelp, 103);
    EXPECT_TRUE(o.start.isVisible());
}

TEST(OpenWork, StartFormComesBackWhenTheWindowFails)
{
    Opening o;
    bool hidden = false;
    EXPECT_THROW(ShowInstead(&o.start,
                             [&] {
                                 hidden = !o.start.isVisible();
                                 throw Exception("broken");
                             }),
                 Exception);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(o.start.isVisible());
}

TEST(OpenWork, CaptionsNeverPileUp)
{
    const QString t = QStringLiteral("Определение амплитуды и частоты сигнала");
    EXPECT_EQ(VariantCaption(t, 0), t + " - Тренировка");
    EXPECT_EQ(VariantCaption(t, -3), t + " - Тренировка");
    EXPECT_EQ(VariantCaption(t, 42), t + " - Вариант 42");
}

} // namespace
