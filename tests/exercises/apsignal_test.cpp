// The amplitude-and-frequency work: variants, layout and wiring, hints,
// the teacher's table and the trace a student sees.

#include "exercises/apsignal.h"

#include "exercises/signalvariants.h"
#include "exercises/teachertable.h"
#include "signallab.h"

#include "platform/help.h"
#include "scope/tubeview.h"
#include "shell/showvars.h"
#include "shell/start.h"
#include "support/realboxes.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Lab = SignalLab<TAPSignalForm>;
const QString Title = QStringLiteral("Определение амплитуды и частоты сигнала");

TEST(APSignal, VariantsSetTheGeneratorAndTheTitle)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    f.SetVariant(0);
    EXPECT_TRUE(f.Training);
    EXPECT_EQ(f.Caption(), Title + " - Тренировка");
    EXPECT_TRUE(f.Generator->panSecret->Visible());
    EXPECT_EQ(f.Generator->Amplitude, 3.0);
    EXPECT_EQ(f.Generator->Frequency, 2000.0);
    EXPECT_EQ(f.Generator->edF->Text(), "2000");

    f.Generator->sbP->SetPosition(5);
    f.SetVariant(17);
    f.SetVariant(100);
    EXPECT_FALSE(f.Training);
    EXPECT_EQ(f.Caption(), Title + " - Вариант 100");
    EXPECT_FALSE(f.Generator->panSecret->Visible());
    EXPECT_EQ(f.Generator->Amplitude, 8.0);
    EXPECT_EQ(f.Generator->Frequency, 200.0);
    EXPECT_EQ(f.Generator->Phase, 0.0);
    EXPECT_EQ(f.Generator->sbP->Position(), 0);
    // The front panel's Y input is the generator.
    EXPECT_DOUBLE_EQ(f.Scope->OnYSignal(0.25 / 200), 8.0);
}

TEST(APSignal, LayoutAndWiresFollowTheWindowSize)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    for (QSize size : {QSize(1280, 1024), QSize(1024, 768), QSize(1600, 900)}) {
        SCOPED_TRACE(size.width());
        lab.Resize(size.width(), size.height());
        const int W = f.panWork->ClientWidth(), H = f.panWork->ClientHeight();
        const TPoint S = f.Scope->FitSize(TPoint(W - 20, H / 2));
        EXPECT_EQ(f.dispOsc->BoundsRect(), Bounds((W - S.X) / 2, 10, S.X, S.Y));
        EXPECT_EQ(f.Scope->Width(), S.X);
        EXPECT_EQ(f.dispG1->BoundsRect(), Bounds(10, 10 + S.Y + 30, 280, 120));
        EXPECT_EQ(f.Generator->Width(), 280);

        // Wires start on the Y sockets and end at the generator's left edge.
        ASSERT_EQ(f.Wires->Wires.size(), 2u);
        const TSingleWire& w0 = *f.Wires->Wires[0];
        const TSingleWire& w1 = *f.Wires->Wires[1];
        auto socket = [&](int i) {
            return f.panWork->ScreenToClient(f.Scope->ClientToScreen(f.Scope->YSockets[i])).q();
        };
        const int x0 = std::min(f.dispOsc->Left(), 10) / 2 - 2;
        const int y0 = f.dispG1->Top() + 60 + 4;
        EXPECT_EQ(w0.GetPoint(0), socket(0));
        EXPECT_EQ(w0.GetPoint(1), QPoint(x0, socket(0).y()));
        EXPECT_EQ(w0.GetPoint(2), QPoint(x0, y0));
        EXPECT_EQ(w0.GetPoint(3), QPoint(10, y0));
        EXPECT_EQ(w1.GetPoint(0), socket(1));
        EXPECT_EQ(w1.GetPoint(2), QPoint(x0 + 4, y0 - 4));
        EXPECT_EQ(w1.GetPoint(3), QPoint(10, y0 - 4));

        // The wires show in the margin and over the sockets themselves.
        const QImage work = f.panWork->grab().toImage();
        EXPECT_TRUE(BlueAt(work, QPoint(x0, (socket(0).y() + y0) / 2)));
        EXPECT_TRUE(BlueAt(work, QPoint(x0 + 4, (socket(1).y() + y0) / 2)));
        const QImage box = f.Scope->pbYInput->grab().toImage();
        const QPoint s0 = f.Scope->pbYInput->mapFrom(f.Scope, f.Scope->YSockets[0].q());
        EXPECT_TRUE(BlueAt(box, s0 - QPoint(3, 0)));
    }
    lab.Resize(1280, 1024);
    f.SetVariant(0);
    testutil::screenshot(&f, "apsignal_1280x1024");
}

TEST(APSignal, HintsChainThroughFrontPanelAndWires)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    auto ask = [&](TPoint screen, TControl* c, bool help) {
        int ctx = 0;
        QString text = c ? c->Hint() : QString();
        f.GetHintInfo(screen, help, c, ctx, text);
        return std::make_pair(ctx, text);
    };
    const TSingleWire& w0 = *f.Wires->Wires[0];
    const QPoint mid((w0.GetPoint(1).x()), (w0.GetPoint(1).y() + w0.GetPoint(2).y()) / 2);
    auto wire = ask(lab.Screen(mid), f.panWork, true);
    EXPECT_EQ(wire.first, 13002);
    EXPECT_EQ(wire.second, "Провода от генератора к осциллографу");

    // A wire end over the socket wins over the input box.
    auto socket = ask(f.Scope->ClientToScreen(f.Scope->YSockets[0]), f.Scope->pbYInput, true);
    EXPECT_EQ(socket.first, 13002);

    TControl* led = reinterpret_cast<TControl*>(f.Scope->ledPower);
    const TPoint ledCentre = led->ClientToScreen(TPoint(led->Width() / 2, led->Height() / 2));
    auto lamp = ask(ledCentre, led, false);
    EXPECT_EQ(lamp.second, "Лампочка питания. Питание не включено. Нажмите выключатель");

    // Nowhere special: what the form found stays.
    int ctx = 13001;
    QString text = "kept";
    f.GetHintInfo(f.panWork->ClientToScreen(TPoint(f.panWork->Width() - 5, f.panWork->Height() - 5)), true,
                  f.panWork, ctx, text);
    EXPECT_EQ(ctx, 13001);
    EXPECT_EQ(text, "kept");
}

TEST(APSignal, TeacherTableListsAllVariantsAndLeavesTheExercise)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    EXPECT_FALSE(f.bShowVariants->Visible());
    ProctorMode = true;
    f.Hide();
    f.Show();
    testutil::pump();
    ASSERT_TRUE(f.bShowVariants->Visible());
    f.SetVariant(17);

    QString table;
    bool exerciseHidden = false;
    QTimer::singleShot(0, [&] {
        table = ShowVarsForm->txt->Text();
        exerciseHidden = !f.isVisible();
        ShowVarsForm->Close();
    });
    testutil::clickAt(&f, lab.At(f.bShowVariants, QPoint(30, 12)));
    ProctorMode = false;

    const QStringList lines = table.split('\n');
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines[0], "Вар.\tЧастота   \tАмплитуда ");
    EXPECT_EQ(lines[1], "  1\t       500\t    0.5000");
    EXPECT_EQ(lines[17], TeacherTableLine(17, APSignalTask(17)));
    EXPECT_TRUE(exerciseHidden);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Caption(), Title + " - Вариант 17");
    EXPECT_EQ(f.Generator->Frequency, 500.0);
    EXPECT_FALSE(f.Generator->panSecret->Visible());
}

TEST(APSignal, PowerAndGainShowTheVariantsAmplitude)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    f.SetVariant(17);   // 0.02 V, 500 Hz
    f.Hide();
    f.Show();           // the front panel is reset on show
    testutil::pump();
    EXPECT_TRUE(lab.TraceBounds().isEmpty());
    lab.PressPower();
    ASSERT_TRUE(f.Scope->PowerOn);
    // At 50 V/div the signal is a flat line on the centre row.
    QRect r = lab.TraceBounds();
    const int cy = f.Scope->Screen->CenterY;
    const double ppd = f.Scope->Screen->PixelsPerDiv;
    EXPECT_LE(r.height(), 4);
    EXPECT_NEAR(r.center().y(), cy, 2);
    // The gain switch turned to its last step, 0.01 V/div: two divisions.
    lab.Key(f.Scope->GainSwitch, Qt::Key_End);
    EXPECT_EQ(f.Scope->VoltsPerDiv, 0.01);
    // The slowest sweep, 0.5 s across, holds many periods.
    lab.Key(f.Scope->TimeBaseSwitch, Qt::Key_Home);
    EXPECT_EQ(f.Scope->SecPerDiv, 0.05);
    r = lab.TraceBounds();
    EXPECT_NEAR(cy - r.top(), 2 * ppd, 3);
    EXPECT_NEAR(r.bottom() - cy, 2 * ppd, 3);
    testutil::screenshot(f.Scope, "apsignal_trace_variant17");
}

TEST(APSignal, TubeButtonShowsTheTubeFedByThePanel)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    bool fed = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = dynamic_cast<TTubeViewForm*>(w); v && v->isVisible()) {
                fed = bool(v->DataSource);
                v->Close();
            }
    });
    testutil::clickAt(&f, lab.At(f.BitBtn1, QPoint(37, 12)));
    EXPECT_TRUE(fed);
}

TEST(APSignal, HelpPointerFindsGeneratorPartsAndWires)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    f.SetVariant(0);
    auto helpAt = [&](QPoint p) {
        testutil::clickAt(&f, lab.At(f.bHelpPointer, QPoint(11, 11)));
        EXPECT_TRUE(f.HelpMode());
        testutil::clickAt(&f, p);
        return Help::LastRequest().context;
    };
    TAbstGenForm* g = f.Generator;
    EXPECT_EQ(helpAt(lab.At(g->edF, QPoint(20, 10))), 12004);
    EXPECT_EQ(helpAt(lab.At(g->edA, QPoint(20, 10))), 12005);
    EXPECT_EQ(helpAt(lab.At(g->sbP, QPoint(50, 5))), 12006);
    EXPECT_EQ(helpAt(lab.At(g->lbType, QPoint(60, 5))), 12003);
    EXPECT_EQ(helpAt(lab.At(g->Label1, QPoint(5, 5))), 12001);
    const TSingleWire& w0 = *f.Wires->Wires[0];
    const QPoint mid(w0.GetPoint(1).x(), (w0.GetPoint(1).y() + w0.GetPoint(2).y()) / 2);
    EXPECT_EQ(helpAt(lab.At(f.panWork, mid)), 13002);
    EXPECT_EQ(helpAt(lab.At(f.panWork, QPoint(f.panWork->Width() - 20, f.panWork->Height() - 20))), 13001);
    EXPECT_EQ(helpAt(lab.At(f.BitBtn1, QPoint(30, 12))), 13003);
}

TEST(APSignal, StatusLineNamesWhatIsUnderTheMouse)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    f.SetVariant(0);
    auto hover = [&](QPoint p) {
        testutil::moveMouseTo(&f, p);
        lab.clock.Advance(1);
        f.Timer->OnTimer(f.Timer);
        return f.StatusBar->SimpleText();
    };
    EXPECT_EQ(hover(lab.At(f.Generator->edF, QPoint(20, 10))), "Поле для задания частоты сигнала в герцах");
    EXPECT_EQ(hover(lab.At(f.Generator->sbP, QPoint(50, 5))), "Изменение фазы сигнала");
    const TSingleWire& w1 = *f.Wires->Wires[1];
    const QPoint mid(w1.GetPoint(1).x(), (w1.GetPoint(1).y() + w1.GetPoint(2).y()) / 2);
    EXPECT_EQ(hover(lab.At(f.panWork, mid)), "Провода от генератора к осциллографу");
}

TEST(APSignal, ARefusedGeneratorEntryGivesOneRealBoxAndKeepsTheFocus)
{
    Lab lab;
    TAPSignalForm& f = lab.f;
    f.SetVariant(0);
    QApplication::setActiveWindow(&f);
    testutil::pump();
    TAbstGenForm& g = *f.Generator;
    QLineEdit* le = g.edF->LineEdit();
    g.edF->SetFocus();
    le->selectAll();
    QTest::keyClicks(le, "abc");
    testutil::RealMessageBoxes boxes;
    // A click on a switch of the front panel would take the focus: the
    // entry is refused, and the click does not turn the switch.
    TVorlinKnob* gain = f.Scope->GainSwitch;
    const int before = gain->Value();
    testutil::clickAt(&f, lab.At(gain, QPoint(gain->Width() / 4, gain->Height() / 2)));
    ASSERT_TRUE(boxes.awaitFocusIn(le, 1));
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(gain->Value(), before);
    EXPECT_EQ(g.Frequency, 2000.0);
    EXPECT_TRUE(g.bCancel->Enabled());

    // A second click, the entry mended (typed over), turns the switch.
    QTest::keyClicks(le, "500");
    testutil::clickAt(&f, lab.At(gain, QPoint(gain->Width() / 4, gain->Height() / 2)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == gain; }, 30000));
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(g.Frequency, 500.0);
}

TEST(APSignal, EveryContextOfTheSignalWorksHasATopic)
{
    TAPSignalForm f(nullptr);
    for (int ctx : {12001, 12003, 12004, 12005, 12006, 13001, 13002, 13003, 13101, 13102})
        EXPECT_FALSE(Help::TopicPath("Vorlin.hlp", ctx).isEmpty()) << ctx;
}

} // namespace
