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

double TraceStart(double TimeOfDay)
{
    if (!std::isfinite(TimeOfDay))
        return TimeOfDay;
    const double k = std::trunc(TimeOfDay * 100);
    const auto early = [k](double t) {
        if (std::trunc(t * 100) < k)
            return true;
        for (double s : SecPerDivTable) {
            const double sweeps = 0.01 / (10 * s);
            const double n = std::round(sweeps);
            if (n < 1 || std::abs(sweeps - n) > 1e-6)
                continue;
            // A sweep starts at the left edge: the far half means the time
            // still counts in the sweep before.
            if (SweepDivs(t, s) > 5)
                return true;
        }
        return false;
    };
    // A few steps of one unit in the last place suffice for any time of
    // day; the bound keeps absurd clocks from spinning.
    double t0 = k / 100;
    for (int step = 0; step < 64 && early(t0); ++step)
        t0 = std::nextafter(t0, HUGE_VAL);
    return t0;
}
