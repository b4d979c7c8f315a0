#include "models/circuitsignals.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace {

constexpr double L0 = 0.001, C0 = 0.000001, R0 = 5;

// Model time of day, a whole number of 10 ms periods, plus tau.
double at(double tau) { return 43210.0 + tau; }

} // namespace

TEST(DampedOscillation, StartingCircuitRingsDownFromOneVolt)
{
    EXPECT_NEAR(DampedOscillation(at(0), L0, C0, R0), 1.0, 1e-6);
    const double w = std::sqrt(1e9 - 6.25e6);
    EXPECT_NEAR(w, 31524, 1);
    for (double tau : {1e-5, 7.3e-5, 2e-4, 3.1e-3}) {
        // The sample time is off by the rounding of the large model time.
        const double T = at(tau);
        const double t = T - std::trunc(T * 100) / 100;
        EXPECT_NEAR(DampedOscillation(T, L0, C0, R0), std::exp(-2500 * t) * std::cos(w * t), 1e-12) << tau;
    }
    // Each pulse restarts the ringing: one period of the pulses later the
    // same value comes again.
    EXPECT_NEAR(DampedOscillation(at(0.0123), L0, C0, R0), DampedOscillation(at(0.0023), L0, C0, R0), 1e-6);
}

TEST(DampedOscillation, MissingPartGivesBarePulses)
{
    for (auto [L, C] : {std::pair{0.0, C0}, {L0, 0.0}, {-L0, C0}, {L0, -1e-6}}) {
        EXPECT_EQ(DampedOscillation(at(0), L, C, R0), 1.0);
        EXPECT_EQ(DampedOscillation(at(5e-7), L, C, R0), 1.0);
        EXPECT_EQ(DampedOscillation(at(2e-6), L, C, R0), 0.0);
        EXPECT_EQ(DampedOscillation(at(0.005), L, C, R0), 0.0);
    }
}

TEST(DampedOscillation, OverdampedDecaysWithoutCrossingZero)
{
    // The limit 2·sqrt(L/C) is about 63.25 Ω.
    const double R = 100;
    double last = 2;
    for (double tau = 0; tau < 0.0099; tau += 0.0001) {
        const double v = DampedOscillation(at(tau), L0, C0, R);
        EXPECT_GT(v, 0.0);
        EXPECT_LE(v, last);
        last = v;
    }
    EXPECT_NEAR(DampedOscillation(at(0.0001), L0, C0, R), std::exp(-50000 * 0.0001), 1e-6);
}

TEST(DampedOscillation, UndampedCosineAndOddCircuitsStayFinite)
{
    // R = 0: cos(t / sqrt(LC)) without decay.
    const double T = at(0.0002);
    const double t = T - std::trunc(T * 100) / 100;
    EXPECT_NEAR(DampedOscillation(T, L0, C0, 0), std::cos(t / std::sqrt(L0 * C0)), 1e-12);
    // Right at the critical resistance, and with a negative resistance that
    // makes the exponential grow beyond any screen: still a number.
    const double Rc = 2 * std::sqrt(L0 / C0);
    for (double R : {Rc, std::nextafter(Rc, 0.0), -5.0, -1e6, -1e300}) {
        for (double tau : {0.0, 0.001, 0.0099}) {
            const double v = DampedOscillation(at(tau), L0, C0, R);
            EXPECT_TRUE(std::isfinite(v)) << R << " " << tau;
        }
    }
}

TEST(ForcedAmplitudeRatio, WorkedValuesOfTheStartingCircuit)
{
    EXPECT_DOUBLE_EQ(ForcedAmplitudeRatio(0, L0, C0, R0), 1.0);
    EXPECT_NEAR(ForcedAmplitudeRatio(1000, L0, C0, R0), 1.04, 0.005);
    EXPECT_NEAR(ForcedAmplitudeRatio(5000, L0, C0, R0), 6.34, 0.005);
    EXPECT_NEAR(ForcedAmplitudeRatio(10000, L0, C0, R0), 0.34, 0.005);
    // Without resistance away from resonance: w0² / |w0² - w²|.
    const double w = 2 * M_PI * 2000, w0sq = 1e9;
    EXPECT_NEAR(ForcedAmplitudeRatio(2000, L0, C0, 0), w0sq / std::abs(w0sq - w * w), 1e-9);
}

TEST(ForcedAmplitudeRatio, DivisionsByZeroGiveNumbers)
{
    // No coil: the capacitor alone, R·w·C decides.
    const double w = 2 * M_PI * 1000;
    EXPECT_NEAR(ForcedAmplitudeRatio(1000, 0, C0, R0), 1 / std::sqrt(1 + std::pow(R0 * w * C0, 2)), 1e-12);
    EXPECT_DOUBLE_EQ(ForcedAmplitudeRatio(1000, L0, 0, R0), 1.0);
    EXPECT_TRUE(std::isfinite(ForcedAmplitudeRatio(1000, 0, 0, 0)));
    // Undamped, driven exactly at resonance (L·C chosen so that w² = w0²).
    const double f = 1000, wr = 2 * M_PI * f;
    const double C = 1 / (wr * wr * L0);
    const double r = ForcedAmplitudeRatio(f, L0, C, 0);
    EXPECT_TRUE(std::isfinite(r));
    EXPECT_GT(r, 1000.0);
}
