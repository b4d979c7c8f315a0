#include "models/generator.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;
}

double ClampGenFrequency(double F)
{
    if (std::isnan(F) || F < GenMinFrequency)
        return GenMinFrequency;
    if (F > GenMaxFrequency)
        return GenMaxFrequency;
    return F;
}

double SineGenFrequency(int Position, int Range)
{
    static const double multiplier[] = {1, 10, 100};
    if (Range < 0 || Range > 2)
        return 0;
    return Position * multiplier[Range];
}

double GeneratorValue(int Waveform, double F, double A, double P, double T)
{
    // The fraction of the current period plus the phase as a fraction of a
    // period, folded back into 0..1 by the same three steps each time.
    double u = F * (T - std::trunc(T * F) / F) + P / (2 * Pi);
    if (u < 0)
        u += 1;
    if (u > 2)
        u -= 2;
    if (u > 1)
        u -= 1;
    switch (Waveform) {
    case gwSine:
        return A * std::sin(2 * Pi * F * T + P);
    case gwSquare:
        return u >= 0.5 ? A : -A;
    case gwSawtooth:
        return A * (2 * u - 1);
    default:
        return 0.0;
    }
}
