#include "models/circuitsignals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Far beyond anything the screen shows at its most sensitive step, and
// small enough that dividing by volts per division stays finite.
constexpr double Limit = 1e6;

double bounded(double v)
{
    if (std::isnan(v))
        return 0;
    return std::clamp(v, -Limit, Limit);
}

} // namespace

double DampedOscillation(double T, double L, double C, double R)
{
    const double F = 100;   // pulses per second
    const double A = 1;     // pulse height, V
    const double tau = T - std::trunc(T * F) / F;
    if (C < 1e-18 || L < 1e-18)
        return tau < 1 / F / 10000 ? A : 0;
    const double beta = R / (2 * L);
    const double w0sq = 1 / (L * C);
    if (R > 2 * std::sqrt(L / C))
        return bounded(A * std::exp(-beta * tau));
    // At the critical resistance rounding can make the difference slightly
    // negative: the circuit then no longer rings.
    const double w = std::sqrt(std::max(0.0, w0sq - beta * beta));
    return bounded(A * std::exp(-beta * tau) * std::cos(w * tau));
}

double ForcedAmplitudeRatio(double Frequency, double L, double C, double R)
{
    const double w = 2 * std::numbers::pi * Frequency;
    if (L != 0 && C != 0) {
        const double beta = R / (2 * L);
        const double w0sq = 1 / (L * C);
        const double d = w0sq - w * w;
        const double ratio = w0sq / std::sqrt(d * d + (2 * beta * w) * (2 * beta * w));
        if (std::isfinite(ratio))
            return bounded(ratio);
    }
    // The same ratio multiplied through by L·C, which stays defined when L
    // or C is 0; an undamped circuit driven at resonance has no bound.
    const double a = 1 - w * w * L * C;
    const double b = R * w * C;
    const double denom = std::sqrt(a * a + b * b);
    if (!(denom > 0))
        return Limit;
    return bounded(1 / denom);
}
