#include "models/circuitsignals.h"
#include "exercises/condosc.h"
#include "exercises/damposc.h"
#include "exercises/lcrcont.h"
#include "exercises/sinegen.h"

#include "components/kitformdisp.h"
#include "controls/mekknob.h"
#include "controls/oscknob.h"
#include "controls/zknob.h"
#include "controls/zled.h"
#include "controls/zonzoff.h"
#include "platform/clock.h"
#include "platform/groupctrls.h"
#include "platform/help.h"
#include "scope/drawwire.h"
#include "scope/s1_73.h"
#include "support/realboxes.h"
#include "support/testutil.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

// An exercise window shown at a desktop size, its timer left to the test.
template <class F>
struct Work {
    Clock::Manual clock{36000.0, 1000.0};
    F f{nullptr};
    explicit Work(int w = 1280, int h = 1024)
    {
        TLabBaseForm::ResetHintState();
        Application->HelpFile = "Vorlin.hlp";
        f.ShowForm();
        f.SetBounds(0, 0, w, h);
        QApplication::setActiveWindow(&f);
        testutil::pump();
        f.Timer->SetEnabled(false);
    }
    TPoint screenOf(TControl* c, QPoint p) const { return TPoint::from(c->mapToGlobal(p)); }
    QPoint formPoint(TControl* c, QPoint p) const { return c->mapTo(&f, p); }
    // The front panel switched on with the sweep running, gain at `step`.
    void powerOn(int gainStep)
    {
        TzcSingleOnOff* b = f.Scope->cbPower;
        testutil::clickAt(&f, formPoint(b, QPoint(b->Width() - 20, b->Height() / 2)));
        EXPECT_TRUE(f.Scope->PowerOn);
        f.Scope->GainSwitch->SetFocus();
        for (int i = 0; i < gainStep; ++i)
            QTest::keyClick(f.Scope->GainSwitch, Qt::Key_Right);
        EXPECT_EQ(f.Scope->GainSwitch->Value(), gainStep);
    }
    // Rows of the screen where the trace differs from the bare graticule,
    // as divisions above the centre line: (highest, lowest); none when the
    // screen shows only the graticule.
    std::optional<std::pair<double, double>> drawnSpan()
    {
        TOscScreen& s = *f.Scope->Screen;
        const QImage img = f.Scope->ScreenControl->Buffer().Image().convertToFormat(QImage::Format_RGB32);
        const QImage grat = s.Graticule.convertToFormat(QImage::Format_RGB32);
        int top = img.height(), bottom = -1;
        for (int y = 0; y < img.height() && y < grat.height(); ++y)
            for (int x = 0; x < img.width() && x < grat.width(); ++x)
                if (img.pixel(x, y) != grat.pixel(x, y)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        if (bottom < 0)
            return std::nullopt;
        return std::make_pair((s.CenterY - top) / s.PixelsPerDiv, (s.CenterY - bottom) / s.PixelsPerDiv);
    }
    // The span of one frame drawn now.
    std::pair<double, double> traceSpan()
    {
        f.TimerTimer(f.Timer);
        return drawnSpan().value_or(std::make_pair(0.0, 0.0));
    }
    // Lets the form's own timer draw the frames of 5 s of model time, the
    // first tick at `firstTick` seconds of the day, each next one when the
    // timer's wait has passed; counts the frames whose span `shows` accepts.
    template <class Pred>
    std::pair<int, int> framesIn5s(double firstTick, Pred shows)
    {
        QTimer* t = f.Timer->Timer();
        f.Timer->SetEnabled(true);
        clock.SetTimeOfDay(firstTick);
        int shown = 0, frames = 0;
        while (clock.tod() < firstTick + 5.0) {
            EXPECT_TRUE(QMetaObject::invokeMethod(t, "timeout"));
            ++frames;
            shown += shows(drawnSpan());
            clock.Advance(t->interval() / 1000.0);
        }
        f.Timer->SetEnabled(false);
        return {shown, frames};
    }
};

void expectWiresEndOn(TScopeLabForm& f, int endX, int y0, int y1)
{
    ASSERT_EQ(f.Wires->Wires.size(), 2u);
    EXPECT_EQ(f.Wires->RefControl, f.panWork);
    const TPoint U = f.panWork->ScreenToClient(f.Scope->ClientToScreen(f.Scope->YSockets[0]));
    const TPoint L = f.panWork->ScreenToClient(f.Scope->ClientToScreen(f.Scope->YSockets[1]));
    const TSingleWire& w0 = *f.Wires->Wires[0];
    const TSingleWire& w1 = *f.Wires->Wires[1];
    EXPECT_EQ(w0.GetPoint(0), U.q());
    EXPECT_EQ(w1.GetPoint(0), L.q());
    EXPECT_EQ(w0.GetPoint(3), QPoint(endX, y0));
    EXPECT_EQ(w1.GetPoint(3), QPoint(endX, y1));
    const int x0 = w0.GetPoint(1).x();
    EXPECT_EQ(w0.GetPoint(1), QPoint(x0, U.Y));
    EXPECT_EQ(w0.GetPoint(2), QPoint(x0, y0));
    EXPECT_EQ(w1.GetPoint(1), QPoint(x0 + 4, L.Y));
    EXPECT_EQ(w1.GetPoint(2), QPoint(x0 + 4, y1));
}

void expectFrontPanelPlaced(TScopeLabForm& f)
{
    const int cw = f.panWork->ClientWidth(), ch = f.panWork->ClientHeight();
    TS1_73Form probe;
    const TPoint S = probe.FitSize(TPoint(cw - 20, ch / 2));
    EXPECT_EQ(f.dispOsc->BoundsRect(), Bounds((cw - S.X) / 2, 10, S.X, S.Y));
    EXPECT_EQ(f.Scope->Width(), S.X);
    EXPECT_EQ(f.Scope->Height(), S.Y);
    EXPECT_DOUBLE_EQ(f.Scope->ScaleUnit, probe.ScaleUnit);
}

int helpAt(TLabBaseForm& f, QPoint formPos)
{
    f.SetHelpMode(true);
    const int before = Help::RequestCount();
    testutil::clickAt(&f, formPos);
    Help::CloseAll();
    return Help::RequestCount() == before ? 0 : int(Help::LastRequest().context);
}

QString hintAt(TLabBaseForm& f, Clock::Manual& clock, QPoint formPos)
{
    testutil::moveMouseTo(&f, formPos);
    clock.Advance(1);
    f.Timer->OnTimer(f.Timer);
    SetCursorPosForTest(nullptr);
    return f.StatusBar->SimpleText();
}

} // namespace

TEST(DampOsc, CreatedWithItsCircuitAndWires)
{
    TDampOscForm f(nullptr);
    EXPECT_EQ(f.Caption(), "Затухающие колебания");
    EXPECT_EQ(f.Circuit->edR->Text(), "5");
    EXPECT_EQ(f.Circuit->edC->Text(), "1");
    EXPECT_EQ(f.Circuit->edL->Text(), "1");
    EXPECT_EQ(f.Circuit->HelpContext(), 13205);
    EXPECT_EQ(f.dispOsc->ShownForm(), f.Scope);
    EXPECT_EQ(f.dispCont->ShownForm(), f.Circuit);
    EXPECT_EQ(f.Wires->Hint, "Провода от генератора к осциллографу");
    EXPECT_EQ(f.Wires->HelpContext, 13202);
    EXPECT_EQ(f.panWork->HelpContext(), 13201);
    EXPECT_EQ(f.BitBtn2->HelpContext(), 301);
    EXPECT_EQ(f.BitBtn3->HelpContext(), 302);
    EXPECT_EQ(f.GI1->HelpContext(), 13203);
    // The signal follows the circuit block's values at every sample.
    ASSERT_TRUE(f.Scope->OnYSignal);
    EXPECT_DOUBLE_EQ(f.Scope->OnYSignal(36000.0002), DampedOscillation(36000.0002, 0.001, 0.000001, 5));
    f.Circuit->SetCapacitance(0);
    EXPECT_EQ(f.Scope->OnYSignal(36000.004), 0.0);
    // One instance of each instrument: no hidden copies in the displays.
    EXPECT_EQ(f.dispOsc->FormCount(), 0);
    EXPECT_EQ(f.dispCont->FormCount(), 0);
}

TEST(DampOsc, LayoutAndWiresFollowTheWindow)
{
    Work<TDampOscForm> w;
    TDampOscForm& f = w.f;
    expectFrontPanelPlaced(f);
    const TRect osc = f.dispOsc->BoundsRect();
    EXPECT_EQ(f.GI1->BoundsRect(), Bounds(osc.Right - 169, osc.Bottom + 10, 169, 89));
    EXPECT_EQ(f.pbCont->BoundsRect(), Bounds(osc.Right - 169 - 89, osc.Bottom + 10, 89, 178));
    EXPECT_EQ(f.dispCont->BoundsRect(),
              Bounds(f.pbCont->Left() - 212 - 10, f.pbCont->Top() + 178 * 5 / 12, 212, 106));
    EXPECT_EQ(f.Circuit->Width(), 212);
    // The wires leave the Y sockets and end on the schematic's two terminals
    // (h/6 and h/3 of its height), the upper socket's on the lower one.
    expectWiresEndOn(f, f.pbCont->Left(), f.pbCont->Top() + 178 / 3, f.pbCont->Top() + 178 / 6);
    EXPECT_EQ(f.Wires->Wires[0]->GetPoint(1).x(), osc.Left / 2 - 2);

    f.SetBounds(0, 0, 1000, 700);
    testutil::pump();
    expectFrontPanelPlaced(f);
    EXPECT_EQ(f.GI1->Left() + f.GI1->Width(), f.dispOsc->Left() + f.dispOsc->Width());
    expectWiresEndOn(f, f.pbCont->Left(), f.pbCont->Top() + 178 / 3, f.pbCont->Top() + 178 / 6);
}

TEST(DampOsc, WireEndsAreDrawnOverTheSockets)
{
    Work<TDampOscForm> w;
    TDampOscForm& f = w.f;
    const QImage img = testutil::screenshot(&f, "damposc_1280x1024");
    const QRgb blue = qRgb(0, 0, 255);
    for (int i = 0; i < 2; ++i) {
        const QPoint s = f.Scope->mapTo(&f, f.Scope->YSockets[i].q());
        EXPECT_EQ(img.pixel(s), blue) << i;
    }
    // The horizontal runs into the schematic, left of its edge.
    const QPoint end = f.pbCont->mapTo(&f, QPoint(-3, f.pbCont->Height() / 6));
    EXPECT_EQ(img.pixel(end), blue);
}

TEST(DampOsc, HelpAndHintsChainThroughPanelWiresAndCircuit)
{
    Work<TDampOscForm> w;
    TDampOscForm& f = w.f;
    EXPECT_EQ(helpAt(f, w.formPoint(f.pbCont, QPoint(40, 120))), 13204);
    EXPECT_EQ(helpAt(f, w.formPoint(f.GI1, QPoint(20, 20))), 13203);
    EXPECT_EQ(helpAt(f, w.formPoint(f.Circuit->edC, QPoint(10, 10))), 13205);
    const QPoint wire = w.formPoint(f.panWork, f.Wires->Wires[0]->GetPoint(2) - QPoint(0, 20));
    EXPECT_EQ(helpAt(f, wire), 13202);
    EXPECT_EQ(helpAt(f, w.formPoint(f.Scope->kFocus, QPoint(20, 20))), 12110);
    EXPECT_EQ(helpAt(f, w.formPoint(f.panWork, QPoint(f.panWork->Width() - 5, f.panWork->Height() - 5))), 13201);

    EXPECT_EQ(hintAt(f, w.clock, wire), "Провода от генератора к осциллографу");
    EXPECT_EQ(hintAt(f, w.clock, w.formPoint(f.pbCont, QPoint(40, 120))), "Колебательный контур");
    EXPECT_EQ(hintAt(f, w.clock, w.formPoint(f.GI1, QPoint(80, 45))), "Генератор импульсов с частотой 100 Гц");
    EXPECT_EQ(hintAt(f, w.clock, w.formPoint(f.Scope->ledPower, QPoint(3, 3))),
              "Лампочка питания. Питание не включено. Нажмите выключатель");
}

TEST(DampOsc, ScreenShowsTheRingingAndFollowsTheEntries)
{
    Work<TDampOscForm> w;
    TDampOscForm& f = w.f;
    EXPECT_EQ(w.traceSpan(), std::make_pair(0.0, 0.0));   // power off
    w.powerOn(6);                                          // 0.5 V/div
    ASSERT_DOUBLE_EQ(f.Scope->VoltsPerDiv, 0.5);
    // The sweep of 1 ms starts with a pulse: 1 V = 2 divisions up, then it
    // swings below the centre line.
    auto [hi, lo] = w.traceSpan();
    EXPECT_NEAR(hi, 2.0, 0.15);
    EXPECT_LT(lo, -1.0);
    // A resistance above the critical one: no swing below the line.
    f.Circuit->edR->SetFocus();
    f.Circuit->edR->LineEdit()->selectAll();
    QTest::keyClicks(f.Circuit->edR->LineEdit(), "100");
    f.Circuit->edL->SetFocus();
    testutil::pump();
    EXPECT_DOUBLE_EQ(f.Circuit->Resistance, 100.0);
    std::tie(hi, lo) = w.traceSpan();
    EXPECT_NEAR(hi, 2.0, 0.15);
    EXPECT_GT(lo, -0.15);
}

// The pulses come every 10 ms of model time, a fifth of the timer's
// interval; the ringing after each lasts about a millisecond.  Starting at the
// worst phase, half-way between pulses, the frames must still catch it.
TEST(DampOsc, RingingIsSeenFromTheWorstStartPhase)
{
    Work<TDampOscForm> w;
    TDampOscForm& f = w.f;
    w.powerOn(6);                                          // 0.5 V/div
    ASSERT_DOUBLE_EQ(f.Scope->VoltsPerDiv, 0.5);
    ASSERT_DOUBLE_EQ(f.Scope->SecPerDiv, 1e-4);            // a sweep of 1 ms
    // Ringing: the trace swings both ways off the centre line.
    auto ringing = [](std::optional<std::pair<double, double>> s) {
        return s && s->first >= 0.1 && s->second <= -0.1;
    };
    const auto [shown, frames] = w.framesIn5s(36000.005, ringing);
    EXPECT_NEAR(frames, 100, 5);                           // still 20 frames a second
    EXPECT_GE(shown * 10, frames) << shown << " of " << frames;
}

TEST(CondOsc, CreatedWithGeneratorCircuitAndWires)
{
    TCondOscForm f(nullptr);
    EXPECT_EQ(f.Caption(), "Вынужденные колебания");
    EXPECT_EQ(f.dispG1->ShownForm(), f.Generator);
    EXPECT_EQ(f.dispG1->HelpContext(), 13303);
    EXPECT_EQ(f.Circuit->HelpContext(), 13305);
    EXPECT_EQ(f.Wires->HelpContext, 13302);
    EXPECT_EQ(f.panWork->HelpContext(), 13301);
    EXPECT_EQ(f.BitBtn2->HelpContext(), 401);
    EXPECT_EQ(f.BitBtn3->HelpContext(), 402);
    EXPECT_FALSE(f.Generator->OnChange);
    EXPECT_EQ(f.Circuit->edR->Text(), "5");
    // 0 Hz: nothing, whatever the circuit.
    EXPECT_EQ(f.Scope->OnYSignal(36000.1234), 0.0);
    f.Generator->Knob->SetPosition(50);
    f.Generator->rgM->SetItemIndex(2);
    const double T = 36000.00005;
    EXPECT_NEAR(f.Scope->OnYSignal(T), f.Generator->GetValue(T) * 6.34, 0.01);
    f.Circuit->SetInductance(0);
    EXPECT_TRUE(std::isfinite(f.Scope->OnYSignal(T)));
}

TEST(CondOsc, LayoutAndWiresFollowTheWindow)
{
    Work<TCondOscForm> w;
    TCondOscForm& f = w.f;
    expectFrontPanelPlaced(f);
    const TRect osc = f.dispOsc->BoundsRect();
    const int ch = f.panWork->ClientHeight();
    EXPECT_EQ(f.dispG1->BoundsRect(), Bounds(osc.Right - 286, ch / 2 + 10, 286, 166));
    EXPECT_EQ(f.Generator->Knob->Width(), 150);
    EXPECT_EQ(f.pbCont->BoundsRect(), Bounds(osc.Right - 286 - 83, ch / 2 + 10, 83, 166));
    EXPECT_EQ(f.dispCont->BoundsRect(),
              Bounds(f.pbCont->Left() - 222, f.pbCont->Top() + 166 * 5 / 12, 212, 106));
    expectWiresEndOn(f, f.pbCont->Left(), f.pbCont->Top() + 166 / 3, f.pbCont->Top() + 166 / 6);
    EXPECT_EQ(f.Wires->Wires[0]->GetPoint(1).x(), std::min(osc.Left, f.dispG1->Left()) / 2 - 2);
    testutil::screenshot(&f, "condosc_1280x1024");

    f.SetBounds(0, 0, 900, 650);
    testutil::pump();
    expectFrontPanelPlaced(f);
    EXPECT_EQ(f.dispG1->Top(), f.panWork->ClientHeight() / 2 + 10);
    expectWiresEndOn(f, f.pbCont->Left(), f.pbCont->Top() + 166 / 3, f.pbCont->Top() + 166 / 6);
}

TEST(CondOsc, HelpOverGeneratorSchematicAndBlock)
{
    Work<TCondOscForm> w;
    TCondOscForm& f = w.f;
    EXPECT_EQ(helpAt(f, w.formPoint(f.Generator->Knob, QPoint(75, 75))), 13303);
    EXPECT_EQ(helpAt(f, w.formPoint(f.pbCont, QPoint(40, 100))), 13304);
    EXPECT_EQ(helpAt(f, w.formPoint(f.Circuit->Label3, QPoint(5, 5))), 13305);
    // The work's own help buttons: purpose and procedure of work 4.
    testutil::clickAt(&f, w.formPoint(f.BitBtn2, QPoint(30, 12)));
    EXPECT_EQ(Help::LastRequest().context, 401);
    EXPECT_EQ(Help::LastRequest().window, "main");
    testutil::clickAt(&f, w.formPoint(f.BitBtn3, QPoint(30, 12)));
    EXPECT_EQ(Help::LastRequest().context, 402);
}

TEST(CondOsc, TurningTheGeneratorThroughResonance)
{
    Work<TCondOscForm> w;
    TCondOscForm& f = w.f;
    w.powerOn(3);   // 5 V/div
    auto [hi, lo] = w.traceSpan();   // 0 Hz: a flat line on the centre
    EXPECT_NEAR(hi, 0.0, 0.1);
    EXPECT_NEAR(lo, 0.0, 0.1);
    f.Generator->rgM->Button(2)->click();
    TMekTransparentKnob* k = f.Generator->Knob;
    k->SetFocus();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(k, Qt::Key_PageUp);
    EXPECT_EQ(f.Generator->GetFrequency(), 5000.0);
    EXPECT_EQ(f.Generator->txtFreq->Caption(), "5000 Гц");
    // 6.34 V at resonance: about 1.27 divisions either way.
    std::tie(hi, lo) = w.traceSpan();
    EXPECT_NEAR(hi, 1.27, 0.1);
    EXPECT_NEAR(lo, -1.27, 0.1);
    testutil::screenshot(&f, "condosc_resonance");
    QTest::keyClick(k, Qt::Key_End);
    std::tie(hi, lo) = w.traceSpan();
    EXPECT_NEAR(hi, 0.34 / 5, 0.1);
}

// A 100 Hz sine of 1 V at 0.01 V/div is on the screen only near its zero
// crossings.  Frames 50 ms apart all start at the same phase of it; from a
// start just after a crossing the trace must still come into view.
TEST(CondOsc, SignalLockedToTheFrameRateIsNotHiddenForGood)
{
    Work<TCondOscForm> w;
    TCondOscForm& f = w.f;
    w.powerOn(11);                                         // 0.01 V/div
    ASSERT_DOUBLE_EQ(f.Scope->SecPerDiv, 1e-4);
    f.Generator->Knob->SetPosition(100);                  // 100 Hz on x 1
    ASSERT_EQ(f.Generator->GetFrequency(), 100.0);
    const auto [shown, frames] =
        w.framesIn5s(36000.0005, [](std::optional<std::pair<double, double>> s) { return s.has_value(); });
    EXPECT_GE(shown * 10, frames) << shown << " of " << frames;
}

TEST(CircuitWorks, BadEntryIsReportedAndTheWorkGoesOn)
{
    Work<TDampOscForm> w;
    TDampOscForm& f = w.f;
    f.Circuit->edC->SetFocus();
    f.Circuit->edC->LineEdit()->selectAll();
    QTest::keyClicks(f.Circuit->edC->LineEdit(), "1 uF");
    f.Circuit->edR->SetFocus();
    testutil::pump();
    EXPECT_EQ(testutil::messages(), QStringList{"\"1 uF\" не является числом."});
    EXPECT_DOUBLE_EQ(f.Circuit->Capacitance, 0.000001);
    // The screen is still sampled with the values stored before.
    f.TimerTimer(f.Timer);
    EXPECT_DOUBLE_EQ(f.Scope->OnYSignal(36000.0002), DampedOscillation(36000.0002, 0.001, 0.000001, 5));
}

TEST(CircuitWorks, ARefusedEntryGivesOneRealBoxAndKeepsTheFocus)
{
    Work<TDampOscForm> w;
    TLCRContForm& c = *w.f.Circuit;
    QLineEdit* le = c.edL->LineEdit();
    c.edL->SetFocus();
    le->selectAll();
    QTest::keyClicks(le, "abc");
    testutil::RealMessageBoxes boxes;
    QTest::keyClick(le, Qt::Key_Tab);
    ASSERT_TRUE(boxes.awaitFocusIn(le, 1));
    EXPECT_EQ(boxes.texts.size(), 1);
    // Each further attempt to leave gives its own one box.
    QTest::keyClick(le, Qt::Key_Tab);
    ASSERT_TRUE(boxes.awaitFocusIn(le, 2));
    EXPECT_EQ(boxes.texts.size(), 2);
    EXPECT_DOUBLE_EQ(c.Inductance, 0.001);

    // Mended, the entry is taken as the focus moves on.
    le->selectAll();
    QTest::keyClicks(le, "2");
    QTest::keyClick(le, Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != le; }, 30000));
    EXPECT_EQ(boxes.texts.size(), 2);
    EXPECT_DOUBLE_EQ(c.Inductance, 0.002);
}

TEST(CircuitWorks, ABadEntryLeftInTheBlockIsNotReadAsTheWindowGoes)
{
    auto f = std::make_unique<TDampOscForm>(nullptr);
    f->ShowForm();
    QApplication::setActiveWindow(f.get());
    testutil::pump();
    TLCRContForm& c = *f->Circuit;
    c.edL->SetFocus();
    c.edL->LineEdit()->selectAll();
    QTest::keyClicks(c.edL->LineEdit(), "abc");
    // The window is freed while it is up, its block and the field with it.
    f.reset();
    testutil::pump();
    EXPECT_TRUE(testutil::messages().isEmpty()) << testutil::messages().join('\n').toStdString();
}

TEST(CircuitWorks, EveryContextOfTheWindowsHasATopic)
{
    TDampOscForm f(nullptr);
    for (int base : {13200, 13300})
        for (int i = 1; i <= 5; ++i)
            EXPECT_FALSE(Help::TopicPath("Vorlin.hlp", base + i).isEmpty()) << base + i;
}
