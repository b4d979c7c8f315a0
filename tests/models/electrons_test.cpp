// The flight of the tube's electrons, advanced frame by frame on a
// hand-driven clock.

#include "models/electrons.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace {

struct Flight {
    double mono = 100.0;
    double tod = 5000.0;
    tube::Electrons e{0.4};
    tube::Deflection source;
    Flight() { e.Reset(mono, tod); }
    void Advance(double s)
    {
        mono += s;
        tod += s;
        e.Advance(mono, tod, source);
    }
};

} // namespace

TEST(Electrons, DeflectedElectronsMissOrStrikePlates)
{
    Flight r;
    double X = 2, Y = 0;
    r.source = [&](double& x, double& y, double, bool&) { x = X; y = Y; };
    r.Advance(0.41);
    r.Advance(0.4 * 8);
    // Slot 8 holds the electron deflected by 2: it flies on.
    EXPECT_TRUE(r.e.Alive(8));
    EXPECT_DOUBLE_EQ(r.e.X(8), 2.0);
    for (int k = 0; k < 30; ++k)
        r.Advance(0.4);
    EXPECT_FALSE(r.e.TrailHit(0)); // it missed the screen

    Flight s;
    s.source = [](double& x, double& y, double, bool&) { x = 0; y = 3.5; };
    s.Advance(0.4 * 9 + 0.01);
    EXPECT_FALSE(s.e.Alive(8)); // struck a plate
    EXPECT_TRUE(s.e.Alive(7));

    Flight nan;
    nan.source = [](double& x, double&, double, bool&) { x = std::nan(""); };
    nan.Advance(0.4 * 9 + 0.01);
    EXPECT_FALSE(nan.e.Alive(8));
    nan.Advance(0.4 * 30);
}

TEST(Electrons, DeflectionSourceGetsTheLastFrameTime)
{
    Flight r;
    std::vector<double> times;
    r.source = [&](double&, double&, double t, bool&) { times.push_back(t); };
    r.Advance(0.5);
    ASSERT_EQ(times.size(), 1u);
    EXPECT_DOUBLE_EQ(times[0], 5000.0); // the time of day at Reset
}

TEST(Electrons, IntervalChangeRestartsTheCount)
{
    Flight r;
    r.source = [](double& x, double& y, double, bool&) { x = 0; y = 0; };
    r.Advance(0.4 * 400 + 0.1); // 400 steps at 0.4 s
    ASSERT_EQ(r.e.Steps(), 400);
    r.e.SetShotSecs(2.0, r.mono);
    r.Advance(1.0);
    EXPECT_EQ(r.e.Steps(), 0); // no freeze of 160 s ...
    r.Advance(1.1);
    EXPECT_EQ(r.e.Steps(), 1); // ... and no burst either
    r.e.SetShotSecs(0.05, r.mono);
    r.Advance(0.12);
    EXPECT_EQ(r.e.Steps(), 2);
}

TEST(Electrons, FrameRateOverElevenFrames)
{
    Flight r;
    for (int i = 0; i < 11; ++i)
        r.Advance(0.05);
    EXPECT_NEAR(r.e.FrameRate(), 20.0, 1e-6);
    EXPECT_EQ(r.e.FrameCount(), 11);
}
