#include "platform/clock.h"
#include "platform/help.h"
#include "shell/labbase.h"
#include "support/testutil.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A laboratory window with a panel (hint and help context) holding a label.
class LabFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TLabBaseForm::ResetHintState();
        form = new TLabBaseForm(nullptr);
        panel = new TPanel(form);
        panel->SetBounds(20, 60, 200, 120);
        panel->SetHint("Блок|Блок питания стенда");
        panel->SetHelpContext(12102);
        label = new TLabel(panel);
        label->SetAutoSize(false);
        label->SetBounds(10, 10, 80, 20);
        label->SetCaption("Метка");
        plain = new TPanel(form);
        plain->SetBounds(300, 60, 100, 100);
        plain->SetHelpContext(900);
        form->ShowForm();
        QApplication::setActiveWindow(form);
        testutil::pump();
        Application->HelpFile = "Vorlin.hlp";
    }
    void TearDown() override { delete form; }
    // Puts the (pinned) cursor at a point of the form and lets the timer run.
    void cursorAt(QPoint p)
    {
        TPoint s = TPoint::from(form->mapToGlobal(p));
        SetCursorPosForTest(&s);
    }
    void tick(Clock::Manual& clock, double seconds)
    {
        clock.Advance(seconds);
        form->Timer->OnTimer(form->Timer);
    }
    QString status() const { return form->StatusBar->SimpleText(); }

    TLabBaseForm* form = nullptr;
    TPanel* panel = nullptr;
    TLabel* label = nullptr;
    TPanel* plain = nullptr;
};

TEST_F(LabFixture, FrameIsFullScreenWithItsToolStrip)
{
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(form->frameGeometry().size(), QSize(Screen->Width(), Screen->Height()));
    EXPECT_EQ(form->panControls->Height(), 28);
    EXPECT_EQ(form->panControlsRight->Width(), 199);
    EXPECT_EQ(form->bClose->Caption(), "Закрыть");
    EXPECT_EQ(form->bCalculator->Caption(), "Кальк.");
    EXPECT_EQ(form->StatusBar->Top() + form->StatusBar->Height(), form->ClientHeight());
    testutil::screenshot(form, "labbase_bare");
}

TEST_F(LabFixture, HintRefreshWaitsForAMoveAndHalfASecond)
{
    Clock::Manual clock(1000.0);
    cursorAt(QPoint(40, 80)); // over the label inside the panel
    tick(clock, 0.6);
    EXPECT_EQ(status(), "Блок питания стенда");

    // Still cursor: nothing changes however many ticks pass.
    form->StatusBar->SetSimpleText("x");
    for (int i = 0; i < 30; ++i)
        tick(clock, 0.05);
    EXPECT_EQ(status(), "x");

    // Moved: the next refresh comes within half a second.
    cursorAt(QPoint(350, 100));
    for (int i = 0; i < 11; ++i)
        tick(clock, 0.05);
    EXPECT_EQ(status(), ""); // no hint anywhere up the chain

    // Back over the panel, and then outside every window of the program.
    cursorAt(QPoint(40, 80));
    tick(clock, 0.6);
    EXPECT_EQ(status(), "Блок питания стенда");
    TPoint outside(-500, -500);
    SetCursorPosForTest(&outside);
    tick(clock, 0.6);
    EXPECT_EQ(status(), "");
}

TEST_F(LabFixture, TheTimerRunsOnlyWhileActive)
{
    EXPECT_TRUE(form->Timer->Enabled());
    form->StatusBar->SetSimpleText("something");
    TForm other;
    other.ShowForm();
    QApplication::setActiveWindow(&other);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Timer->Enabled(); }, 30000));
    EXPECT_EQ(status(), "");
    QApplication::setActiveWindow(form);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->Timer->Enabled(); }, 30000));
}

TEST_F(LabFixture, HelpPointerFindsTheDeepestContext)
{
    testutil::clickAt(form, form->bHelpPointer->mapTo(form, QPoint(5, 5)));
    ASSERT_TRUE(form->HelpMode());
    EXPECT_EQ(status(), "Подведите курсор мыши к нужному объекту и нажмите кнопку.");
    EXPECT_TRUE(form->bHelpPointer->Down());
    EXPECT_EQ(Screen->Cursor(), crHelp);

    int before = Help::RequestCount();
    testutil::clickAt(form, QPoint(40, 80)); // the label in the panel
    EXPECT_FALSE(form->HelpMode());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    ASSERT_EQ(Help::RequestCount(), before + 1);
    EXPECT_EQ(Help::LastRequest().context, 12102);
    EXPECT_EQ(Help::LastRequest().window, "LabPtr");
    EXPECT_EQ(Help::LastRequest().file, "Vorlin.hlp");

    form->SetHelpMode(true);
    testutil::clickAt(form, QPoint(350, 100));
    EXPECT_EQ(Help::LastRequest().context, 900);
    EXPECT_EQ(Help::LastRequest().window, "main");
}

TEST_F(LabFixture, HelpPointerButtonOnlyEndsTheMode)
{
    form->SetHelpMode(true);
    int before = Help::RequestCount();
    testutil::clickAt(form, form->bHelpPointer->mapTo(form, QPoint(5, 5)));
    EXPECT_FALSE(form->HelpMode());
    EXPECT_FALSE(form->bHelpPointer->Down());
    EXPECT_EQ(Help::RequestCount(), before);
}

TEST_F(LabFixture, GetHintInfoCanReplaceTheContext)
{
    struct Answering : TLabBaseForm {
        using TLabBaseForm::TLabBaseForm;
        void GetHintInfo(const TPoint&, bool mode, TControl*, int& ctx, QString& text) override
        {
            if (mode)
                ctx = 11105;
            else
                text = "Экран|Экран трубки";
        }
    };
    form->hide();
    Answering f(nullptr);
    f.ShowForm();
    testutil::pump();
    f.SetHelpMode(true);
    testutil::clickAt(&f, QPoint(100, 200));
    EXPECT_EQ(Help::LastRequest().context, 11105);
    Help::CloseAll(); // the viewer would lie over the point
    Clock::Manual clock(2000.0);
    TPoint p = TPoint::from(f.mapToGlobal(QPoint(100, 200)));
    SetCursorPosForTest(&p);
    clock.Advance(1);
    f.Timer->OnTimer(f.Timer);
    EXPECT_EQ(f.StatusBar->SimpleText(), "Экран трубки");
}

TEST_F(LabFixture, ARestoreBeepsAndMaximisesAgain)
{
    int beeps = BeepCount();
    form->SetWindowState(TWindowState::wsNormal);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->WindowState() == TWindowState::wsMaximized; }, 30000));
    EXPECT_EQ(BeepCount(), beeps + 1);
}

TEST_F(LabFixture, CloseButtonEndsTheModalForm)
{
    QTimer::singleShot(0, [this] { testutil::clickAt(form, form->bClose->mapTo(form, QPoint(10, 10))); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

} // namespace
