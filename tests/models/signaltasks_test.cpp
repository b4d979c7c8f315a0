// Variant tasks and the Lissajous sampling.

#include "models/signaltasks.h"

#include <gtest/gtest.h>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

TEST(SignalTasks, AmplitudeAndFrequencyWork)
{
    for (auto [n, amplitude, frequency] : {std::tuple(0, 3.0, 2000.0), {17, 0.02, 500.0}, {100, 8.0, 200.0}}) {
        EXPECT_EQ(APSignalTask(n).Amplitude, amplitude) << n;
        EXPECT_EQ(APSignalTask(n).Frequency, frequency) << n;
    }
    for (int n = 1; n + 56 <= 100; ++n) {
        EXPECT_EQ(APSignalTask(n).Amplitude, APSignalTask(n + 56).Amplitude);
        EXPECT_EQ(APSignalTask(n).Frequency, APSignalTask(n + 56).Frequency);
    }
    EXPECT_EQ(APSignalTask(14).Amplitude, APSignalTask(0).Amplitude);
    EXPECT_EQ(APSignalTask(16).Frequency, APSignalTask(0).Frequency);
}

TEST(SignalTasks, LissajousWork)
{
    EXPECT_EQ(LissajouTask(0).Amplitude, 3.0);
    EXPECT_EQ(LissajouTask(12).Amplitude, 0.8);
    // Numbers below zero only reach here from code: taken as training.
    for (auto [n, frequency] : {std::pair(0, 40000.0), {12, 40000.0}, {7, 100000.0}, {11, 20000.0}, {-5, 40000.0}})
        EXPECT_EQ(LissajouTask(n).Frequency, frequency) << n;
}

TEST(SignalTasks, LissajousSampling)
{
    // Variant 0 against the comparison generator's 1000 Hz.
    EXPECT_NEAR(LissajousSampleInterval(40000, 1000, 400), 2.6e-6, 1e-18);
    EXPECT_NEAR(LissajousSampleInterval(1000, 1000, 400), 6e-5, 1e-18);
    EXPECT_NEAR(LissajousSampleInterval(100000, 0.1, 400), 2.6e-4, 1e-16);
    EXPECT_NEAR(LissajousSampleInterval(0.1, 100000, 400), 2.6e-4, 1e-16);
    EXPECT_EQ(LissajousSampleInterval(0.0005, 0.0002, 400), 0.00001);
    // A zero frequency on one side is bounded like any tiny ratio.
    EXPECT_NEAR(LissajousSampleInterval(0, 1000, 400), 1.04 / 400 / 0.0001 / 1000, 1e-15);
    // No samples at all still gives a finite interval.
    EXPECT_TRUE(std::isfinite(LissajousSampleInterval(1000, 500, 0)));
}

} // namespace
