#include "scope/s1_73.h"
#include "models/s1_73scale.h"
#include "scope/tubeview.h"

#include "controls/oscknob.h"
#include "controls/zknob.h"
#include "controls/zled.h"
#include "controls/zonzoff.h"
#include "platform/clock.h"
#include "support/testutil.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>
#include <cmath>

namespace {

// A real click on the power button's cap (the picture stands right of the
// caption).
void PressPower(TS1_73Form& f)
{
    TzcSingleOnOff* b = f.cbPower;
    testutil::clickAt(&f, b->mapTo(&f, QPoint(b->Width() - 20, b->Height() / 2)));
}

// A front panel laid out at unit 40 (offered 920 x 600 gives 920 x 300).
struct Panel {
    TS1_73Form f;
    Clock::Manual clock{36000.0, 1000.0};
    explicit Panel(TPoint offer = TPoint(920, 600))
    {
        const TPoint size = f.FitSize(offer);
        f.SetBounds(0, 0, size.X, size.Y);
        f.ArrangeControls();
        f.ResetControls();
        f.Show();
        testutil::pump();
    }
    QImage Frame()
    {
        f.RepaintScreen();
        return f.ScreenControl->Buffer().Image();
    }
};

} // namespace

TEST(S1_73Form, StateAfterReset)
{
    Panel p;
    EXPECT_DOUBLE_EQ(p.f.VoltsPerDiv, 50.0);
    EXPECT_DOUBLE_EQ(p.f.SecPerDiv, 1e-4);
    EXPECT_FALSE(p.f.PowerOn);
    EXPECT_FALSE(p.f.cbPower->SwitchOn());
    EXPECT_TRUE(p.f.cbScan->SwitchOn());
    EXPECT_EQ(p.f.GainSwitch->Value(), 0);
    EXPECT_EQ(p.f.TimeBaseSwitch->Value(), 8);
    EXPECT_TRUE(p.f.GainSwitch->FineKnobFixed());
    EXPECT_DOUBLE_EQ(p.f.Screen->Brightness, 1.0);
    EXPECT_DOUBLE_EQ(p.f.Screen->Focus, 1.0);
    EXPECT_FALSE(p.f.Screen->BeamOn);
    EXPECT_EQ(p.f.GetSampleCount(), 2 * p.f.Screen->Width);
    // Power off: only the graticule.
    EXPECT_EQ(p.Frame(), p.f.Screen->Graticule.convertToFormat(p.Frame().format()));
}

TEST(S1_73Form, FitSizeKeepsTheAspect)
{
    EXPECT_DOUBLE_EQ(FitUnit(QPoint(1150, 1000)), 50.0);
    EXPECT_EQ(FitExtent(FitUnit(QPoint(1150, 1000))), QPoint(1150, 375));
    EXPECT_DOUBLE_EQ(FitUnit(QPoint(920, 600)), 40.0);
    EXPECT_EQ(FitExtent(40.0), QPoint(920, 300));
    const double u = std::min(500 / 7.5, 1920 / 23.0);
    EXPECT_EQ(FitExtent(FitUnit(QPoint(1920, 500))), QPoint(int(std::trunc(23 * u)), int(std::trunc(7.5 * u))));
    EXPECT_EQ(FitExtent(FitUnit(QPoint(1920, 500))).x(), 1533);
    EXPECT_EQ(FitExtent(FitUnit(QPoint(-5, 10))), QPoint(0, 0));
}

TEST(S1_73Form, FitSizeAndLayoutAtUnit40)
{
    TS1_73Form f;
    const TPoint big = f.FitSize(TPoint(1150, 1000));
    EXPECT_DOUBLE_EQ(f.ScaleUnit, 50.0);
    EXPECT_EQ(big, TPoint(1150, 375));
    const double u = std::min(500 / 7.5, 1920 / 23.0);
    EXPECT_EQ(f.FitSize(TPoint(1920, 500)), TPoint(int(std::trunc(23 * u)), int(std::trunc(7.5 * u))));
    EXPECT_EQ(f.FitSize(TPoint(1920, 500)).X, 1533);

    Panel p;
    ASSERT_DOUBLE_EQ(p.f.ScaleUnit, 40.0);
    EXPECT_EQ(p.f.ClientWidth(), 920);
    EXPECT_EQ(p.f.panLeftSide->BoundsRect(), Bounds(0, 0, 60, 300));
    EXPECT_EQ(p.f.panBorder->BoundsRect(), Bounds(60, 0, 800, 300));
    EXPECT_EQ(p.f.panRightSide->BoundsRect(), Bounds(860, 0, 60, 300));
    EXPECT_EQ(p.f.panScreen->BoundsRect(), Bounds(260, 20, 280, 180));
    EXPECT_EQ(p.f.cbPower->Top(), 10);
    EXPECT_EQ(p.f.cbPower->Left(), 800 - p.f.cbPower->Width() - p.f.ledPower->Width() - 10);
    EXPECT_EQ(p.f.ledPower->Left(), p.f.cbPower->Left() + p.f.cbPower->Width() + 5);
    // Knobs r = 60 centred on their points.
    EXPECT_EQ(p.f.kVert->BoundsRect(), Bounds(170, 2, 60, 60));
    EXPECT_EQ(p.f.kHorz->BoundsRect(), Bounds(570, 2, 60, 60));
    EXPECT_EQ(p.f.kFocus->BoundsRect(), Bounds(220, 230, 60, 60));
    EXPECT_EQ(p.f.kBright->BoundsRect(), Bounds(320, 230, 60, 60));
    EXPECT_EQ(p.f.kStab->BoundsRect(), Bounds(420, 230, 60, 60));
    EXPECT_EQ(p.f.kLevel->BoundsRect(), Bounds(520, 230, 60, 60));
    // Our font's captions are taller than the 16 pixels above the knobs:
    // they end a pixel above them, clear of the top ticks.
    for (TLabel* l : {p.f.lblFocus, p.f.lblBright, p.f.lblStab, p.f.lblLevel})
        EXPECT_EQ(l->Top(), 230 - 1 - std::max(15, l->Height())) << l->Caption().toStdString();
    EXPECT_EQ(p.f.lblBright->Left(), 320 - (p.f.lblBright->Width() - 60) / 2);
    // The captions are drawn over the knobs, and the mouse still finds the
    // knob.
    const QObjectList& z = p.f.panBorder->children();
    EXPECT_GT(z.indexOf(p.f.lblBright), z.indexOf(p.f.kBright));
    EXPECT_EQ(p.f.panBorder->childAt(350, 233), p.f.kBright);
    EXPECT_EQ(p.f.panBorder->ControlAtPos(TPoint(350, 233), true), p.f.kBright);
    EXPECT_EQ(p.f.GainSwitch->BoundsRect(), Bounds(20, 70, 200, 200));
    EXPECT_EQ(p.f.TimeBaseSwitch->BoundsRect(), Bounds(580, 70, 200, 200));
    EXPECT_EQ(p.f.GainSwitch->KnobRadius(), 60);
    EXPECT_EQ(p.f.cbScan->Top(), 20);
    EXPECT_EQ(p.f.XSockets[0], TPoint(890, 240));
    EXPECT_EQ(p.f.XSockets[1], TPoint(890, 280));
    EXPECT_EQ(p.f.YSockets[0], TPoint(30, 240));
    EXPECT_EQ(p.f.YSockets[1], TPoint(30, 280));
    EXPECT_EQ(p.f.Screen->Width, p.f.ScreenControl->ClientWidth());
    EXPECT_EQ(p.f.lblFocus->Font().Size(), 12);
}

TEST(S1_73Form, StepSwitchesSetTheScales)
{
    Panel p;
    for (int i = 0; i <= 11; ++i) {
        p.f.GainSwitch->SetValue(i);
        EXPECT_DOUBLE_EQ(p.f.VoltsPerDiv, VoltsPerDivTable[i]) << i;
    }
    for (int i = 0; i <= 17; ++i) {
        p.f.TimeBaseSwitch->SetValue(i);
        EXPECT_DOUBLE_EQ(p.f.SecPerDiv, SecPerDivTable[i]) << i;
    }
    p.f.kBright->SetValue(100);
    EXPECT_DOUBLE_EQ(p.f.Screen->Brightness, 2.0);
    p.f.kFocus->SetValue(-25);
    EXPECT_DOUBLE_EQ(p.f.Screen->Focus, 0.5);
}

TEST(S1_73Form, DeflectionsFromSweepInputsAndShifts)
{
    Panel p;
    p.f.TimeBaseSwitch->SetValue(5); // 1 ms/div
    double x = 0;
    bool vis = true;
    TS1_73Form::PreviousSweep = 0;
    p.f.GetXValue(x, vis, 0.0025);
    EXPECT_NEAR(x, 2.5, 1e-9);
    EXPECT_TRUE(vis);
    p.f.kHorz->SetValue(20);
    p.f.GetXValue(x, vis, 0.0125 + 0.0005);
    EXPECT_NEAR(x, 3.0 + 2.0, 1e-9);
    p.f.GetXValue(x, vis, 0.0101); // the sawtooth restarts: flyback blanked
    EXPECT_FALSE(vis);

    p.f.OnYSignal = [](double) { return 1.5; };
    p.f.GainSwitch->SetValue(6); // 0.5 V/div
    p.f.kVert->SetValue(-10);
    double y = 0;
    p.f.GetYValue(y, vis, 0);
    EXPECT_NEAR(y, 3.0 - 1.0, 1e-9);

    p.f.cbScan->SetSwitchOn(false);
    p.f.kHorz->SetValue(0);
    p.f.GetXValue(x, vis, 0);
    EXPECT_DOUBLE_EQ(x, 5.0);
    p.f.OnXSignal = [](double) { return -1.0; };
    p.f.GetXValue(x, vis, 0);
    EXPECT_DOUBLE_EQ(x, 3.0);

    // The tube's source: power off blanks; on maps divisions to ±1.
    double tx = 0, ty = 0;
    bool tv = true;
    p.f.TubeDataSource(tx, ty, 0, tv);
    EXPECT_FALSE(tv);
    p.f.SetPower(true);
    tv = true;
    p.f.TubeDataSource(tx, ty, 0, tv);
    EXPECT_TRUE(tv);
    EXPECT_NEAR(tx, 3.0 / 5 - 1, 1e-12);
    EXPECT_NEAR(ty, 2.0 / 3, 1e-12);
}

TEST(S1_73Form, HintsWithPowerOnAndOff)
{
    Panel p;
    auto hint = [&](TControl* c, TPoint local, QString text = QString()) {
        int ctx = -1;
        p.f.GetHintInfo(c->ClientToScreen(local), false, c, ctx, text);
        return std::make_pair(ctx, text);
    };
    const TPoint ledCentre(p.f.ledPower->Width() / 2, p.f.ledPower->Height() / 2);
    auto off = hint(p.f.ledPower, ledCentre);
    EXPECT_EQ(off.second, QString("Лампочка питания. Питание не включено. Нажмите выключатель"));
    EXPECT_EQ(off.first, 12119);
    p.f.SetPower(true);
    EXPECT_EQ(hint(p.f.ledPower, ledCentre).second, QString("Лампочка питания. Питание включено"));
    EXPECT_EQ(hint(p.f.cbPower, TPoint(2, 2), p.f.cbPower->Hint()).second,
              QString("Выключатель питания осциллографа. Питание включено"));
    EXPECT_EQ(hint(p.f.cbScan, TPoint(2, 2), QString("x")).second, QString("x. Развертка включена"));
    auto stab = hint(p.f.panBorder, TPoint(p.f.kStab->Left() + 5, p.f.kStab->Top() + 5));
    EXPECT_EQ(stab.first, 12112);
    EXPECT_EQ(stab.second, p.f.kStab->Hint());
    EXPECT_EQ(hint(p.f.lblMarkLabel, TPoint(1, 1)).first, 12109);
    // Input boxes: above 5.5 u the side panel, below it the sockets.
    auto upper = hint(p.f.pbXInput, TPoint(5, 100));
    EXPECT_EQ(upper.first, 12104);
    EXPECT_EQ(upper.second, QString("Правая панель осциллографа"));
    auto lower = hint(p.f.pbXInput, TPoint(5, 250));
    EXPECT_EQ(lower.first, 12117);
    EXPECT_EQ(hint(p.f.pbYInput, TPoint(5, 250)).first, 12116);
    EXPECT_EQ(hint(p.f.pbYInput, TPoint(5, 100)).first, 12103);
}

TEST(S1_73Form, TraceOfASineHasTheRightHeightAndPeriod)
{
    Panel p;
    p.f.OnYSignal = [](double t) { return 1.5 * std::sin(2 * M_PI * 1000 * t); };
    p.f.GainSwitch->SetValue(6);     // 0.5 V/div: 3 divisions
    p.f.TimeBaseSwitch->SetValue(8); // 0.1 ms/div: one period across
    PressPower(p.f);
    ASSERT_TRUE(p.f.PowerOn);
    const QImage img = p.Frame();
    const double ppd = p.f.Screen->PixelsPerDiv;
    const int cy = p.f.Screen->CenterY;
    // The brightest rows reach 3 divisions above and below the centre.
    int top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGreen(img.pixel(x, y)) > 140) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(cy - top, 3 * ppd, 3);
    EXPECT_NEAR(bottom - cy, 3 * ppd, 3);
}

TEST(S1_73Form, TubeViewFollowsThePanelAtAFifthOfTheTimeBase)
{
    Panel p;
    p.f.TimeBaseSwitch->SetValue(2); // 10 ms/div
    p.f.OnYSignal = [](double) { return 100.0; }; // 2 divisions at 50 V/div
    PressPower(p.f);
    double scale = 0;
    bool manualShown = true;
    double x = 0, y = 0;
    bool vis = true; // as the tube asks
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = dynamic_cast<TTubeViewForm*>(w); v && v->isVisible()) {
                scale = v->TimeScale;
                manualShown = v->panManual->Visible();
                TS1_73Form::PreviousSweep = 0; // no flyback for this sample
                v->GetDeflection(x, y, 1.0, vis);
                v->Close();
            }
    });
    ASSERT_TRUE(p.f.PowerOn);
    p.f.ShowTubeView();
    EXPECT_DOUBLE_EQ(scale, 0.01 / 5);
    EXPECT_FALSE(manualShown);
    EXPECT_TRUE(vis);
    EXPECT_NEAR(y, 2.0 / 3, 1e-12);
    // The panel's sweep position at model time 1 s x 0.002, mapped to ±1.
    EXPECT_NEAR(x, SweepDivs(0.002, 0.01) / 5 - 1, 1e-9);
}

TEST(S1_73Form, InputBoxesShowRedAndWhiteSocketsAndCallTheHook)
{
    Panel p;
    int calls = 0;
    TObject* sender = nullptr;
    p.f.OnInputPaint = [&](TObject* s, TCanvas& c) {
        ++calls;
        sender = s;
        // An exercise draws its wire end over the upper socket.
        c.Pen.Color = clBlue;
        c.Pen.Width = 2;
        c.MoveTo(0, 5);
        c.LineTo(10, 5);
    };
    const QImage img = testutil::screenshot(p.f.pbXInput, "scope_input_x");
    EXPECT_GE(calls, 1);
    EXPECT_EQ(sender, p.f.pbXInput);
    // u = 40: upper socket at (30, 300 - 40 - 20), lower at (30, 300 - 40 + 20);
    // the rings are the sockets' colours, the centres black.
    const int cx = p.f.pbXInput->Width() / 2;
    EXPECT_EQ(img.pixel(cx + 10, 240) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(cx + 10, 280) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(cx, 240) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(img.pixel(5, 5) & 0xFFFFFF, 0x0000FFu);
    // In the panel's coordinates the sockets lie at XSockets and YSockets
    // (within the pixel of the side panel's bevel).
    const int row = p.f.pbXInput->Height() - 40;
    const QPoint upper = p.f.pbXInput->mapTo(&p.f, QPoint(cx, row - 20));
    const QPoint lower = p.f.pbYInput->mapTo(&p.f, QPoint(p.f.pbYInput->Width() / 2, row + 20));
    EXPECT_LE((upper - p.f.XSockets[0].q()).manhattanLength(), 1);
    EXPECT_LE((lower - p.f.YSockets[1].q()).manhattanLength(), 1);
}

TEST(S1_73Form, ArrowsStayBesideTheShiftKnobsOnEveryResize)
{
    Panel p;
    for (TPoint offer : {TPoint(920, 600), TPoint(1150, 1000), TPoint(600, 300), TPoint(1920, 500)}) {
        const TPoint size = p.f.FitSize(offer);
        p.f.SetBounds(0, 0, size.X, size.Y);
        p.f.ArrangeControls();
        SCOPED_TRACE(offer.X);
        EXPECT_EQ(p.f.lblVert->Left(), p.f.kVert->Left() + p.f.kVert->Width());
        EXPECT_EQ(p.f.lblVert->Top(), p.f.kVert->Top());
        EXPECT_EQ(p.f.lblHorz->Left() + p.f.lblHorz->Width(), p.f.kHorz->Left());
        EXPECT_EQ(p.f.lblHorz->Top(), p.f.kHorz->Top());
        // Their sizes are the resource's.
        EXPECT_EQ(p.f.lblVert->Width(), 17);
        EXPECT_EQ(p.f.lblVert->Height(), 25);
        EXPECT_EQ(p.f.lblHorz->Width(), 25);
        EXPECT_EQ(p.f.lblHorz->Height(), 17);
    }
    // A closed arrow at each end: black pixels at the top and bottom of the
    // vertical one.
    QImage v = p.f.lblVert->grab().toImage();
    auto blackIn = [&](int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < v.width(); ++x)
                n += (v.pixel(x, y) & 0xFFFFFF) == 0;
        return n;
    };
    EXPECT_GT(blackIn(1, 8), 8);
    EXPECT_GT(blackIn(17, 24), 8);
    EXPECT_GT(blackIn(10, 15), 3); // the shaft
    // Every corner of both heads is inked (the outline reaches each vertex).
    for (QPoint p : {QPoint(5, 7), QPoint(8, 1), QPoint(11, 7), QPoint(5, 18), QPoint(8, 24), QPoint(11, 18)})
        EXPECT_EQ(v.pixel(p) & 0xFFFFFF, 0u) << p.x() << "," << p.y();
}
