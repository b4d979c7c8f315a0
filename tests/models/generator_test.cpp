// The signal generator's waveforms.

#include "models/generator.h"

#include <gtest/gtest.h>
#include <cmath>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;

TEST(GeneratorWaveforms, SquareStartsLowAndRisesAtHalfPeriod)
{
    const double F = 1000, A = 2;
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSquare, F, A, 0, 0), -A);
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSquare, F, A, 0, 0.25e-3), -A);
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSquare, F, A, 0, 0.5e-3), A);
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSquare, F, A, 0, 0.75e-3), A);
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSquare, F, A, 0, 1.25e-3), -A);
}

TEST(GeneratorWaveforms, SawtoothRisesOverAPeriodAndSineIgnoresTheFold)
{
    const double F = 50, A = 3;
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSawtooth, F, A, 0, 0), -A);
    EXPECT_NEAR(GeneratorValue(gwSawtooth, F, A, 0, 0.005), -A / 2, 1e-9);
    EXPECT_NEAR(GeneratorValue(gwSawtooth, F, A, 0, 0.01), 0, 1e-9);
    EXPECT_NEAR(GeneratorValue(gwSawtooth, F, A, 0, 0.0175), A * 0.75, 1e-9);
    EXPECT_NEAR(GeneratorValue(gwSine, F, A, 0, 0.005), A, 1e-9);
    EXPECT_NEAR(GeneratorValue(gwSine, F, A, Pi, 0.005), -A, 1e-9);
}

TEST(GeneratorWaveforms, PhaseShiftsByFractionsOfAPeriod)
{
    const double F = 1000, A = 1;
    // Phase pi moves the square and the sawtooth half a period on.
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSquare, F, A, Pi, 0), A);
    EXPECT_NEAR(GeneratorValue(gwSawtooth, F, A, Pi, 0), 0, 1e-12);
    EXPECT_NEAR(GeneratorValue(gwSawtooth, F, A, Pi, 0.25e-3), 0.5, 1e-9);
    // Phase -pi at a period start: u = -0.5 folds to 0.5.
    EXPECT_DOUBLE_EQ(GeneratorValue(gwSquare, F, A, -Pi, 0), A);
    EXPECT_NEAR(GeneratorValue(gwSawtooth, F, A, -Pi, 0), 0, 1e-12);
    // No waveform chosen: silence.
    for (double t : {0.0, 1e-4, 0.3, 12345.678})
        EXPECT_EQ(GeneratorValue(-1, F, A, 0, t), 0.0);
    EXPECT_EQ(GeneratorValue(3, F, A, 0, 0.3), 0.0);
}

TEST(GeneratorWaveforms, LargeModelTimesStayWithinTheAmplitude)
{
    // Model time is the time of day in seconds.
    for (double t : {86399.123456, 43200.5}) {
        for (int w : {gwSine, gwSquare, gwSawtooth}) {
            const double v = GeneratorValue(w, 10000000, 5, 0.3, t);
            EXPECT_TRUE(std::isfinite(v));
            EXPECT_LE(std::abs(v), 5.0 + 1e-9);
        }
    }
}

} // namespace
