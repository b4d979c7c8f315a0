#include "models/bridgemodel.h"
#include "bridge/dblonoff.h"
#include "controls/zonzoff.h"
#include "bridge/eldevice.h"
#include "bridge/elgalvan.h"
#include "bridge/elscale.h"
#include "bridge/kalvernstart.h"
#include "bridge/resbridge.h"
#include "controls/mekknob.h"
#include "controls/zled.h"
#include "platform/clock.h"
#include "platform/help.h"
#include "support/globals.h"
#include "support/realboxes.h"
#include "support/testutil.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Collects the messages the application would show in a box.
struct MessageLog {
    QStringList texts;
    testutil::ScopedValue<decltype(TApplication::MessageBoxHook)> hook{
        Application->MessageBoxHook, [this](const QString& t, const QString&, unsigned) {
            texts << t;
            return int(mrOk);
        }};
};

struct BridgeFixture : ::testing::Test {
    void SetUp() override
    {
        form = std::make_unique<TResBridgeForm>(nullptr);
        form->resize(1024, 700);
    }
    void ShowForm()
    {
        form->show();
        testutil::pump();
    }
    // Turns R0's decades to the given digits (x10000 first).
    void SetR0(const std::array<int, 6>& digits)
    {
        for (int i = 0; i < 6; ++i)
            form->R0()->Knob(i)->SetPosition(9 - digits[size_t(i)]);
    }
    double Current() const { return form->Galvanometer()->Current(); }
    std::unique_ptr<TResBridgeForm> form;
};

} // namespace

TEST_F(BridgeFixture, BuildsTheCircuit)
{
    EXPECT_EQ(form->Caption(), "Мост Уитстона");
    EXPECT_EQ(form->Stand()->UnitsWidth(), 230);
    EXPECT_EQ(form->Stand()->UnitsHeight(), 150);
    EXPECT_EQ(form->Stand()->HelpContext(), 13001);
    EXPECT_EQ(form->Source()->Voltage(), 9.0);
    EXPECT_EQ(form->Wires().size(), 8u);
    // Six devices, four labels, eight wires.
    EXPECT_EQ(form->Stand()->DeviceCount(), 18);
    const TElWire* w7 = form->Wires()[6];
    ASSERT_EQ(w7->PointCount(), 9);
    EXPECT_EQ(w7->Point(0).X, 95);
    EXPECT_EQ(w7->Point(0).Y, 115);
    EXPECT_TRUE(w7->Point(5).Joint);
    EXPECT_EQ(w7->Point(5).X, 225);
    EXPECT_EQ(w7->Point(8).X, 215);
    EXPECT_EQ(w7->Point(8).Y, 15);
    EXPECT_TRUE(w7->EndDot);
    EXPECT_FALSE(form->Wires()[7]->EndDot);
    EXPECT_FALSE(form->bShowVars->Visible());
}

TEST_F(BridgeFixture, VariantsSetRxCaptionAndEntry)
{
    form->SetVariant(7);
    EXPECT_EQ(form->Caption(), "Мост Уитстона - Вариант 7");
    EXPECT_NEAR(form->Rx()->Resistance(), std::exp(6.0) * std::log(12.0), 1e-9);
    EXPECT_TRUE(form->panSecret->isHidden());
    form->SetVariant(0);
    EXPECT_EQ(form->Caption(), "Мост Уитстона - Тренировка");
    EXPECT_EQ(form->Rx()->Resistance(), 1000.0);
    EXPECT_EQ(form->edRx->Text(), "1000");
    EXPECT_FALSE(form->panSecret->isHidden());
    EXPECT_FALSE(form->bEdRxOK->Enabled());
}

TEST_F(BridgeFixture, CurrentFollowsTheBridgeAndTheSource)
{
    ShowForm();
    form->SetVariant(0);  // Rx = 1000
    form->Recalculate();
    EXPECT_EQ(Current(), 0.0);
    EXPECT_EQ(form->StatusBar->PanelText(), "R1=1 Ом.   R2=1 Ом.   R0=0 Ом.   ");
    SetR0({0, 1, 0, 0, 0, 0});  // R0 = 1000 = Rx, R1 = R2: balance
    form->Source()->SetIsOn(true);
    form->Recalculate();
    EXPECT_EQ(Current(), 0.0);
    EXPECT_EQ(form->StatusBar->PanelText(), "R1=1 Ом.   R2=1 Ом.   R0=1000 Ом.   U=9 В.   ");
    // Hints of the window go to the bar's simple text and do not cover the
    // values line.
    const QImage before = form->StatusBar->grab().toImage();
    form->StatusBar->SetSimpleText("Гальванометр");
    EXPECT_EQ(form->StatusBar->grab().toImage(), before);
    // One decade up from balance: needle left of centre.
    form->R0()->Knob(3)->SetPosition(8);  // +10
    EXPECT_LT(Current(), 0.0);
    EXPECT_LT(form->Galvanometer()->Scale()->Value(), 0.5);
    form->R0()->Knob(3)->SetPosition(9);
    form->R0()->Knob(4)->SetPosition(9);
    form->R0()->Knob(1)->SetPosition(9);  // R0 = 0
    EXPECT_GT(Current(), 0.0);
    // Switching the source off by its switch sends the current to zero.
    testutil::clickAt(form.get(), form->Source()->PowerSwitch()->mapTo(form.get(), QPoint(14, 45)));
    testutil::clickAt(form.get(), form->Source()->PowerSwitch()->mapTo(form.get(), QPoint(14, 10)));
    if (form->Source()->IsOn())
        form->Source()->SetIsOn(false), form->Recalculate();
    EXPECT_EQ(Current(), 0.0);
}

TEST_F(BridgeFixture, RangeSwitchRescalesTheNeedleTarget)
{
    ShowForm();
    form->SetVariant(0);
    form->Source()->SetIsOn(true);
    SetR0({0, 0, 9, 9, 9, 0});  // 999 ohms against 1000: a small current
    const double i = Current();
    ASSERT_GT(i, 0.0);
    EXPECT_DOUBLE_EQ(form->Galvanometer()->Scale()->Value(), i * 250000 + 0.5);
    form->Galvanometer()->RangeSwitch()->SetSwitchOn(true);
    form->Recalculate();
    EXPECT_DOUBLE_EQ(form->Galvanometer()->Scale()->Value(), i * 2500 + 0.5);
}

TEST_F(BridgeFixture, RxEntryConfirmsCancelsAndRefusesBadInput)
{
    ShowForm();
    form->SetVariant(0);
    MessageLog log;
    QLineEdit* le = form->edRx->LineEdit();
    le->setFocus();
    le->selectAll();
    QTest::keyClicks(le, "470");
    EXPECT_TRUE(form->bEdRxOK->Enabled());
    EXPECT_TRUE(form->bEdRxCancel->Enabled());
    QTest::keyClick(le, Qt::Key_Return);
    EXPECT_EQ(form->Rx()->Resistance(), 470.0);
    EXPECT_FALSE(form->bEdRxOK->Enabled());
    EXPECT_FALSE(form->bEdRxCancel->Enabled());
    EXPECT_TRUE(form->isVisible());

    le->selectAll();
    QTest::keyClicks(le, "12");
    QTest::keyClick(le, Qt::Key_Escape);
    EXPECT_EQ(form->edRx->Text(), "470");
    EXPECT_EQ(form->Rx()->Resistance(), 470.0);
    EXPECT_TRUE(form->isVisible());  // Escape does not close the window

    le->selectAll();
    QTest::keyClicks(le, "abc");
    QTest::keyClick(le, Qt::Key_Return);
    ASSERT_EQ(log.texts.size(), 1) << log.texts.join(" / ").toStdString();
    EXPECT_EQ(log.texts[0], "\"abc\" не является числом.");
    EXPECT_EQ(form->Rx()->Resistance(), 470.0);
    EXPECT_EQ(form->edRx->Text(), "abc");
    EXPECT_TRUE(le->isModified());

    le->selectAll();
    QTest::keyClicks(le, "0.001");
    QTest::keyClick(le, Qt::Key_Return);
    ASSERT_EQ(log.texts.size(), 2);
    EXPECT_EQ(log.texts[1], "Сопротивление должно быть в диапазоне от 0.01 Ом до 10 МОм.");
    EXPECT_EQ(form->Rx()->Resistance(), 470.0);
    EXPECT_EQ(form->edRx->Text(), "0.001");
    EXPECT_TRUE(form->bEdRxOK->Enabled());

    le->selectAll();
    QTest::keyClicks(le, "inf");
    QTest::keyClick(le, Qt::Key_Return);
    EXPECT_EQ(log.texts.size(), 3);
    EXPECT_EQ(form->Rx()->Resistance(), 470.0);

    // The locale's separator and the point are both taken.
    le->selectAll();
    QTest::keyClicks(le, "12.5");
    QTest::keyClick(le, Qt::Key_Return);
    EXPECT_EQ(form->Rx()->Resistance(), 12.5);
}

TEST_F(BridgeFixture, ARefusedRxEntryGivesOneRealBoxAndKeepsTheFocus)
{
    ShowForm();
    form->SetVariant(0);
    QApplication::setActiveWindow(form.get());
    testutil::pump();
    QLineEdit* le = form->edRx->LineEdit();
    le->setFocus();
    le->selectAll();
    QTest::keyClicks(le, "xyz");
    testutil::RealMessageBoxes boxes;
    // A click on a decade knob would take the focus: the entry is refused
    // once, the focus stays in the field and the knob does not turn.
    TMekTransparentKnob* knob = form->R0()->Knob(2);
    const int position = knob->Position();
    testutil::clickAt(form.get(), knob->mapTo(form.get(), QPoint(knob->Width() / 4, knob->Height() / 2)));
    ASSERT_TRUE(boxes.awaitFocusIn(le, 1));
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(knob->Position(), position);
    EXPECT_EQ(form->Rx()->Resistance(), 1000.0);
    EXPECT_TRUE(form->bEdRxOK->Enabled());  // unchanged by the failed exit
    EXPECT_TRUE(le->isModified());

    // The OK button works once per click and takes no focus.
    testutil::clickAt(form.get(), form->bEdRxOK->mapTo(form.get(), QPoint(10, 10)));
    ASSERT_TRUE(boxes.awaitFocusIn(le, 2));
    EXPECT_EQ(boxes.texts.size(), 2);

    // So Escape gives the shown value back instead of closing the window.
    QTest::keyClick(le, Qt::Key_Escape);
    EXPECT_EQ(form->edRx->Text(), "1000");
    EXPECT_TRUE(form->isVisible());

    // Leaving without an edit re-enters the shown value.
    form->edRxExit(form->edRx);
    EXPECT_FALSE(form->bEdRxOK->Enabled());
    EXPECT_FALSE(form->bEdRxCancel->Enabled());
    EXPECT_EQ(form->Rx()->Resistance(), 1000.0);
    EXPECT_EQ(boxes.texts.size(), 2);
}

TEST_F(BridgeFixture, TimerTickEasesTheNeedle)
{
    Clock::Manual clock;
    ShowForm();
    form->SetVariant(0);
    form->Recalculate();
    form->TimerTimer(nullptr);  // first tick: needle on its target
    TElAnalogScale* scale = form->Galvanometer()->Scale();
    EXPECT_DOUBLE_EQ(scale->ShownValue(), 0.5);
    form->Source()->SetIsOn(true);
    form->Recalculate();  // R0 = 0: needle to the right end
    const double target = scale->TargetValue();
    EXPECT_GT(target, 0.5);
    clock.Advance(0.05);
    form->TimerTimer(nullptr);
    const double first = scale->ShownValue();
    EXPECT_GT(first, 0.5);
    EXPECT_LT(first, target);
    for (int i = 0; i < 200; ++i) {
        clock.Advance(0.05);
        form->TimerTimer(nullptr);
    }
    EXPECT_DOUBLE_EQ(scale->ShownValue(), std::min(target, 1.1));
}

TEST_F(BridgeFixture, HelpContextsOfTheDevices)
{
    ShowForm();
    auto ctxAt = [&](TControl* c) {
        int ctx = 13001;
        QString t;
        form->GetHintInfo(TPoint(), true, c, ctx, t);
        return ctx;
    };
    EXPECT_EQ(ctxAt(form->Galvanometer()), 13010);
    EXPECT_EQ(ctxAt(form->Rx()), 13005);
    EXPECT_EQ(ctxAt(form->R0()), 13006);
    EXPECT_EQ(ctxAt(form->Wires()[0]), 13004);
    EXPECT_EQ(ctxAt(form->Stand()), 13001);
    EXPECT_EQ(form->Galvanometer()->Scale()->HelpContext(), 13010);
    EXPECT_EQ(form->Source()->PowerSwitch()->HelpContext(), 13009);
    EXPECT_EQ(form->R1()->Knob()->HelpContext(), 13007);
    EXPECT_EQ(form->R2()->Knob()->HelpContext(), 13008);
    // Only a bench context is refined.
    int ctx = 10002;
    QString t;
    form->GetHintInfo(TPoint(), true, form->Rx(), ctx, t);
    EXPECT_EQ(ctx, 10002);
}

TEST_F(BridgeFixture, HintsFindDevicesUnderTheWires)
{
    ShowForm();
    TElectricStand* s = form->Stand();
    // The middle of R0's face, away from any wire: the box, not a wire.
    const TPoint inBox(form->R0()->Left() + 5, form->R0()->Top() + form->R0()->Height() - 5);
    EXPECT_EQ(s->ControlAtPos(inBox), form->R0());
    // On wire 2's vertical line at x = 105 units.
    const TPoint onWire(s->UnitsToX(105), s->UnitsToY(50));
    EXPECT_EQ(s->ControlAtPos(onWire), form->Wires()[1]);
}

TEST_F(BridgeFixture, TeachersTableLeavesTheExerciseAlone)
{
    form->SetVariant(12);
    std::unique_ptr<TForm> t = TResBridgeForm::CreateVariantsForm();
    EXPECT_EQ(t->Caption(), "Значения Rx для разных вариантов");
    auto* memo = t->findChild<TMemo*>();
    ASSERT_NE(memo, nullptr);
    const QStringList lines = memo->Text().split("\n");
    EXPECT_EQ(lines.size(), 101);
    EXPECT_EQ(lines[55], "55\t      97.8");
    EXPECT_EQ(form->Caption(), "Мост Уитстона - Вариант 12");
    EXPECT_NEAR(form->Rx()->Resistance(), bridge::VariantRx(12), 1e-12);
    t->resize(360, 400);
    t->show();
    testutil::pump();
    testutil::screenshot(t.get(), "bridge_teacher_table");
}

TEST_F(BridgeFixture, ScreenshotsOfTheBench)
{
    Clock::Manual clock;
    form->resize(1024, 740);
    ShowForm();
    form->SetVariant(0);
    form->Source()->SetIsOn(true);
    SetR0({0, 0, 9, 0, 0, 0});  // 900 against 1000: off centre
    form->TimerTimer(nullptr);
    testutil::pump();
    QImage off = testutil::screenshot(form.get(), "bridge_bench_off_centre");
    SetR0({0, 1, 0, 0, 0, 0});  // balance
    for (int i = 0; i < 100; ++i) {
        clock.Advance(0.05);
        form->TimerTimer(nullptr);
    }
    EXPECT_DOUBLE_EQ(form->Galvanometer()->Scale()->ShownValue(), 0.5);
    testutil::pump();
    testutil::screenshot(form.get(), "bridge_bench_balance");
    EXPECT_FALSE(off.isNull());
}

TEST_F(BridgeFixture, HelpPointerOpensTheTopicOfWhatIsClicked)
{
    Application->HelpFile = "Kalvern.hlp";
    form->SetVariant(0);  // the Rx field, which has the focus, holds a value
    ShowForm();
    TElectricStand* s = form->Stand();
    auto helpAt = [&](QPoint benchPoint) {
        form->SetHelpMode(true);
        testutil::clickAt(form.get(), s->mapTo(form.get(), benchPoint));
        return Help::LastRequest().context;
    };
    auto centreOf = [&](QWidget* w) { return w->geometry().center(); };
    // The status bar shows the prompt while the mode is on, its panel of
    // the circuit's values after.
    testutil::clickAt(form.get(), form->bHelpPointer->mapTo(form.get(), QPoint(5, 5)));
    EXPECT_TRUE(form->StatusBar->SimplePanel());
    EXPECT_EQ(form->StatusBar->SimpleText(), "Подведите курсор мыши к нужному объекту и нажмите кнопку.");
    EXPECT_EQ(helpAt(centreOf(form->Galvanometer()->Scale())), 13010);
    EXPECT_FALSE(form->StatusBar->SimplePanel());
    EXPECT_EQ(helpAt(centreOf(form->Galvanometer()->RangeSwitch())), 13010);
    // The galvanometer's face below its scale.
    EXPECT_EQ(helpAt(QPoint(form->Galvanometer()->Left() + 3, form->Galvanometer()->Top() + 3)), 13010);
    EXPECT_EQ(helpAt(QPoint(s->UnitsToX(105), s->UnitsToY(50))), 13004);  // wire 2
    EXPECT_EQ(helpAt(QPoint(s->UnitsToX(180), s->UnitsToY(130))), 13001);  // empty bench
    EXPECT_EQ(helpAt(centreOf(form->Source()->Lamp())), 13001);
    EXPECT_EQ(helpAt(centreOf(form->R0()->Knob(2))), 13006);
    EXPECT_EQ(helpAt(QPoint(form->Rx()->Left() + 3, form->Rx()->Top() + 3)), 13005);
}

TEST_F(BridgeFixture, MouseOnKnobsAndRangeSwitchMovesTheNeedleTarget)
{
    ShowForm();
    form->SetVariant(0);
    form->Source()->SetIsOn(true);
    SetR0({0, 0, 9, 9, 9, 9});  // 999.9 against 1000
    const double fine = form->Galvanometer()->Scale()->Value();
    // The upper button ("Грубо") stands out while the range is fine.
    TzcDblOnOff* sw = form->Galvanometer()->RangeSwitch();
    testutil::clickAt(form.get(), sw->mapTo(form.get(), QPoint(15, 12)));
    EXPECT_TRUE(form->Galvanometer()->Roughly());
    const double coarse = form->Galvanometer()->Scale()->Value();
    EXPECT_NEAR((coarse - 0.5) * 100, fine - 0.5, 1e-12);
    // Turning the x0.1 decade to "0" by a click on its label side.
    TMekTransparentKnob* k = form->R0()->Knob(5);
    const int before = k->Position();
    testutil::clickAt(form.get(), k->mapTo(form.get(), QPoint(k->Width() / 2, k->Height() - 3)));
    EXPECT_NE(k->Position(), before);
    EXPECT_NE(form->Galvanometer()->Scale()->Value(), coarse);
}

TEST_F(BridgeFixture, TeachersButtonShowsTheTableAndTheEntryTakesTheLocalesSeparator)
{
    form->SetVariant(0);
    QString seen;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = dynamic_cast<TForm*>(w); f && f->isVisible() && f->Caption() == "Значения Rx для разных вариантов") {
                if (auto* memo = f->findChild<TMemo*>())
                    seen = memo->Text().section('\n', 7, 7);
                f->SetModalResult(mrCancel);
            }
    });
    form->bShowVarsClick(nullptr);
    EXPECT_EQ(seen, "7\t    1002.5");
    EXPECT_EQ(form->Caption(), "Мост Уитстона - Тренировка");
    EXPECT_EQ(form->Rx()->Resistance(), 1000.0);

    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    form->edRx->SetText("12,5");
    form->bEdRxOKClick(nullptr);
    EXPECT_EQ(form->Rx()->Resistance(), 12.5);
    form->edRx->SetText("3.5");
    form->bEdRxOKClick(nullptr);
    EXPECT_EQ(form->Rx()->Resistance(), 3.5);
    form->bEdRxCancelClick(nullptr);
    EXPECT_EQ(form->edRx->Text(), "3,5");
}
