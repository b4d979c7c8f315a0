#include "models/s1_73scale.h"

#include <algorithm>
#include <cmath>

double StepScale(const double* Table, int Count, int Step, bool FineFixed, int FineValue)
{
    double v = Table[std::clamp(Step, 0, Count - 1)];
    if (!FineFixed && FineValue != 0)
        v /= FineValue / 200.0;
    return v;
}

double SweepDivs(double T, double SecPerDiv)
{
    const double period = 10 * SecPerDiv;
    if (!(period > 0) || !std::isfinite(T))
        return 0;
    const double k = std::floor(T / period);
    const double x = ((T - k * period) / period) * 10;
    return std::clamp(x, 0.0, 10.0);
}
