// Screenshots of the front panel and the tube view as a student sees them:
// a 1 kHz, 1.5 V sine on Y at several gains and time bases, power off, the
// sweep off with a second sine on X, and the tube in manual mode.

#include "scope/s1_73.h"
#include "scope/tubeview.h"

#include "controls/oscknob.h"
#include "controls/zknob.h"
#include "controls/zled.h"
#include "controls/zonzoff.h"
#include "platform/clock.h"
#include "support/testutil.h"

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

double Sine(double t, double volts, double hz)
{
    const double cycles = hz * t;
    return volts * std::sin(2 * M_PI * (cycles - std::floor(cycles)));
}

struct Bench {
    Clock::Manual clock{36000.0, 1000.0};
    TS1_73Form f;
    Bench()
    {
        const TPoint size = f.FitSize(TPoint(1150, 1000));
        f.SetBounds(0, 0, size.X, size.Y);
        f.ArrangeControls();
        f.ResetControls();
        f.OnYSignal = [](double t) { return Sine(t, 1.5, 1000); };
        f.Show();
        testutil::pump();
    }
    QImage Shot(const QString& name)
    {
        clock.Advance(0.05);
        f.RepaintScreen();
        f.repaint();
        return testutil::screenshot(&f, name);
    }
    // Share of screen pixels lit by the trace (bright green or whiter).
    double Lit()
    {
        const QImage& img = f.ScreenControl->Buffer().Image();
        int lit = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                lit += qGreen(img.pixel(x, y)) > 150;
        return double(lit) / (img.width() * img.height());
    }
};

} // namespace

TEST(Screens, FrontPanelWithASine)
{
    Bench b;
    b.Shot("scope_power_off");
    EXPECT_EQ(b.Lit(), 0.0);
    PressPower(b.f);
    b.f.GainSwitch->SetValue(6); // 0.5 V/div
    b.f.TimeBaseSwitch->SetValue(8); // 0.1 ms/div
    b.Shot("scope_sine_0.5V_0.1ms");
    EXPECT_GT(b.Lit(), 0.0);
    b.f.GainSwitch->SetValue(5); // 1 V/div
    b.f.TimeBaseSwitch->SetValue(7); // 0.2 ms/div
    b.Shot("scope_sine_1V_0.2ms");
    b.f.GainSwitch->SetValue(7); // 0.2 V/div: off the screen
    b.f.TimeBaseSwitch->SetValue(9); // 50 µs/div
    b.f.kFocus->SetValue(30);
    b.Shot("scope_sine_0.2V_50us_blurred");
    b.f.kFocus->SetValue(0);
    b.f.kBright->SetValue(100);
    b.f.GainSwitch->SetValue(4);
    b.f.TimeBaseSwitch->SetValue(5);
    b.Shot("scope_sine_2V_1ms_bright");
}

TEST(Screens, LissajousWithTheSweepOff)
{
    Bench b;
    PressPower(b.f);
    b.f.cbScan->SetSwitchOn(false);
    b.f.GainSwitch->SetValue(6);
    b.f.OnXSignal = [](double t) { return Sine(t + 0.00025, 1.5, 2000); };
    b.f.SetSampleCount(4000);
    b.f.SetSampleInterval(1e-6);
    b.Shot("scope_lissajous_1_2");
    EXPECT_GT(b.Lit(), 0.0);
}

TEST(Screens, TubeViewInManualMode)
{
    Clock::Manual clock(36000.0, 1000.0);
    TTubeViewForm v(nullptr);
    v.SetDataSource(nullptr);
    v.SetBounds(0, 0, 1200, 700);
    v.Show();
    testutil::pump();
    v.Tube->Reset();
    v.kHorz->SetPosition(10);
    v.kVert->SetPosition(-12);
    for (int i = 0; i < 200; ++i) {
        clock.Advance(0.1);
        if (i == 120)
            v.kHorz->SetPosition(-15);
        v.TimerTimer(nullptr);
    }
    const QImage img = testutil::screenshot(&v, "tube_manual");
    EXPECT_FALSE(img.isNull());
    int electrons = 0;
    for (int i = 0; i < TVorlinoTube::SlotCount; ++i)
        electrons += v.Tube->Alive(i);
    EXPECT_GE(electrons, 25);
}
