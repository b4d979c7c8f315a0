#include "models/s1_73scale.h"

#include <gtest/gtest.h>
#include <cmath>

TEST(S1_73Scale, StepTables)
{
    const double volts[] = {50, 20, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01};
    for (int i = 0; i < 12; ++i)
        EXPECT_DOUBLE_EQ(VoltsPerDivAt(i), volts[i]) << i;
    const double secs[] = {0.05, 0.02, 0.01, 5e-3, 2e-3, 1e-3, 5e-4, 2e-4, 1e-4,
                           5e-5, 2e-5, 1e-5, 5e-6, 2e-6, 1e-6, 5e-7, 2e-7, 1e-7};
    for (int i = 0; i < 18; ++i)
        EXPECT_DOUBLE_EQ(SecPerDivAt(i), secs[i]) << i;
    // Out of range steps take the ends; the fine knob divides further.
    EXPECT_DOUBLE_EQ(VoltsPerDivAt(40), 0.01);
    EXPECT_DOUBLE_EQ(SecPerDivAt(-1), 0.05);
    EXPECT_DOUBLE_EQ(VoltsPerDivAt(0, false, 100), 100.0);
    EXPECT_DOUBLE_EQ(VoltsPerDivAt(0, false, 0), 50.0);
}

TEST(S1_73Scale, SweepPositionAtAGivenTime)
{
    // 1 ms/div: a sweep of 10 ms.
    EXPECT_NEAR(SweepDivs(0.0, 1e-3), 0.0, 1e-9);
    EXPECT_NEAR(SweepDivs(0.0025, 1e-3), 2.5, 1e-9);
    EXPECT_NEAR(SweepDivs(0.0125, 1e-3), 2.5, 1e-9);
    EXPECT_NEAR(SweepDivs(43200.0075, 1e-3), 7.5, 1e-6);
    // Late in the day at the fastest sweep the position stays within 0..10.
    const double x = SweepDivs(86399.123456789, 1e-7);
    EXPECT_GE(x, 0.0);
    EXPECT_LE(x, 10.0);
    EXPECT_EQ(SweepDivs(1.0, 0.0), 0.0);
    EXPECT_EQ(SweepDivs(std::nan(""), 1e-3), 0.0);
}
