#include "models/signaltasks.h"

#include <algorithm>

namespace {
const double A7[7] = {3, 0.5, 8, 0.02, 24, 0.8, 5};
const double F8[8] = {2000, 500, 40000, 1000, 200, 5000, 100000, 4000};
const double F12[12] = {40000, 500, 5000, 1000, 4000, 200, 2000, 100000, 5000, 400, 10000, 20000};

// Index into a table of n entries; a number below zero is taken as training.
int cyclic(int N, int n)
{
    return N < 0 ? 0 : N % n;
}
}

TSignalTask APSignalTask(int N)
{
    return {A7[cyclic(N, 7)], F8[cyclic(N, 8)]};
}

TSignalTask LissajouTask(int N)
{
    return {A7[cyclic(N, 7)], F12[cyclic(N, 12)]};
}

double LissajousSampleInterval(double F1, double F2, int Count)
{
    const double fmax = std::max(F1, F2);
    if (!(fmax >= 0.001))
        return 0.00001;
    double r = F1 > F2 ? F2 / F1 : F1 / F2;
    if (!(r >= 0.0001))
        r = 0.0001;
    const int n = std::max(Count, 1);
    return std::max(1.04 / n / r / fmax, 0.06 / fmax);
}
