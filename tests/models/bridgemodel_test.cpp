#include "models/bridgemodel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace bridge;

TEST(BridgeModel, VariantRxFollowsTheVariantRule)
{
    EXPECT_DOUBLE_EQ(VariantRx(0), 1000.0);
    EXPECT_NEAR(VariantRx(1), 265.9, 0.05);
    EXPECT_NEAR(VariantRx(2), 785.0, 0.05);
    EXPECT_NEAR(VariantRx(7), std::exp(6.0) * std::log(12.0), 1e-9);
    EXPECT_NEAR(VariantRx(7), 1002.5, 0.05);
    EXPECT_NEAR(VariantRx(55), 97.8, 0.05);
    EXPECT_NEAR(VariantRx(79), 10138.8, 0.05);
    EXPECT_NEAR(VariantRx(100), 173.5, 0.05);
    double lo = 1e300, hi = 0;
    for (int n = 1; n <= 100; ++n) {
        lo = std::min(lo, VariantRx(n));
        hi = std::max(hi, VariantRx(n));
    }
    EXPECT_DOUBLE_EQ(lo, VariantRx(55));
    EXPECT_DOUBLE_EQ(hi, VariantRx(79));
}

TEST(BridgeModel, CurrentIsZeroAtBalanceAndSignedOffIt)
{
    // R1 = R2, R0 = Rx: balance.
    EXPECT_EQ(BridgeCurrent(true, 9, 1234.5, 1234.5, 100, 100), 0.0);
    // Rx = R0*R1/R2 with unequal arms.
    EXPECT_NEAR(BridgeCurrent(true, 9, 100.0, 1000.0, 10, 100), 0.0, 1e-18);
    // R0 a little too large: R1*R0 wins, current negative (needle left).
    EXPECT_LT(BridgeCurrent(true, 9, 1000, 1000.1, 100, 100), 0.0);
    // R0 a little too small: positive.
    EXPECT_GT(BridgeCurrent(true, 9, 1000, 999.9, 100, 100), 0.0);
    // Source off: nothing flows, whatever the arms.
    EXPECT_EQ(BridgeCurrent(false, 9, 1000, 0, 1, 1000), 0.0);
    // A worked value: U=9, Rx=1000, R0=0, R1=R2=1.
    const double den = 2.0 * 4000 * 1000 + 0 + 1.0 * 1000;
    EXPECT_NEAR(BridgeCurrent(true, 9, 1000, 0, 1, 1), 9.0 * 1000 / den, 1e-15);
}

TEST(BridgeModel, ScaleValueInBothRanges)
{
    EXPECT_DOUBLE_EQ(GalvanometerScaleValue(0, true), 0.5);
    EXPECT_DOUBLE_EQ(GalvanometerScaleValue(0, false), 0.5);
    EXPECT_DOUBLE_EQ(GalvanometerScaleValue(0.0002, true), 1.0);
    EXPECT_DOUBLE_EQ(GalvanometerScaleValue(-0.0002, true), 0.0);
    EXPECT_DOUBLE_EQ(GalvanometerScaleValue(1e-6, false), 0.75);
    EXPECT_DOUBLE_EQ(GalvanometerScaleValue(1e-5, false), 3.0);
}

TEST(BridgeModel, ResistanceValuesFromKnobs)
{
    const int zero[6] = {0, 0, 0, 0, 0, 0};
    const int three[6] = {3, 0, 0, 0, 0, 0};
    const int nines[6] = {9, 9, 9, 9, 9, 9};
    const int mixed[6] = {0, 1, 2, 3, 4, 5};
    EXPECT_DOUBLE_EQ(ResistanceBoxValue(zero), 0.0);
    EXPECT_DOUBLE_EQ(ResistanceBoxValue(three), 30000.0);
    EXPECT_NEAR(ResistanceBoxValue(nines), 99999.9, 1e-9);
    EXPECT_NEAR(ResistanceBoxValue(mixed), 1234.5, 1e-9);
    EXPECT_EQ(Resistor4PosValue(0), 1.0);
    EXPECT_EQ(Resistor4PosValue(3), 1000.0);
    EXPECT_EQ(Resistor4PosValue(4), 0.0);
    EXPECT_EQ(Resistor4PosValue(-1), 0.0);
}

TEST(BridgeModel, NeedleEasesAndStopsOnTarget)
{
    NeedleMotion m;
    m.SetTarget(0.5);
    EXPECT_TRUE(m.Animate(100.0));  // first call jumps
    EXPECT_DOUBLE_EQ(m.Shown(), 0.5);
    EXPECT_FALSE(m.Animate(100.05));  // at rest: no frame
    EXPECT_TRUE(m.Animate(100.1, true));  // a dirty face forces one

    m.SetTarget(1.0);
    double t = 100.1, prev = m.Shown();
    std::vector<double> steps;
    for (int i = 0; i < 200 && m.Shown() != 1.0; ++i) {
        t += 0.05;
        m.Animate(t);
        steps.push_back(m.Shown() - prev);
        prev = m.Shown();
    }
    ASSERT_GE(steps.size(), 3u);
    EXPECT_NEAR(steps[0], 0.05, 1e-12);
    for (size_t i = 1; i + 1 < steps.size(); ++i)
        EXPECT_LE(steps[i], steps[i - 1] + 1e-12);
    EXPECT_NEAR(steps[steps.size() - 2], 0.005, 1e-12);  // minimum speed 0.1/s
    EXPECT_EQ(m.Shown(), 1.0);
}

TEST(BridgeModel, NeedlePinsBeyondTheEnds)
{
    NeedleMotion m;
    m.SetTarget(3.0);
    m.Animate(1.0);
    EXPECT_DOUBLE_EQ(m.Shown(), NeedleMotion::HighStop);
    EXPECT_DOUBLE_EQ(m.Target(), NeedleMotion::HighStop);

    m.SetTarget(-1.0);
    for (double t = 1.05; t < 5; t += 0.05)
        m.Animate(t);
    EXPECT_DOUBLE_EQ(m.Shown(), NeedleMotion::LowStop);

    // A clock that goes back moves nothing and cannot throw the needle off.
    m.SetTarget(0.5);
    m.Animate(0.5);
    EXPECT_DOUBLE_EQ(m.Shown(), NeedleMotion::LowStop);
    m.Animate(0.55);
    EXPECT_GT(m.Shown(), NeedleMotion::LowStop);
    EXPECT_LE(m.Shown(), 0.5);

    // No number is no target.
    m.SetTarget(std::nan(""));
    EXPECT_DOUBLE_EQ(m.Target(), 0.5);
}
