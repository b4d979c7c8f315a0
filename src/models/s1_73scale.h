#pragma once
// Scales of the С1-73 front panel: the gain and time-base steps and the
// sweep sawtooth.

#include <array>

inline constexpr std::array<double, 12> VoltsPerDivTable = {50, 20, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01};
inline constexpr std::array<double, 18> SecPerDivTable = {0.05, 0.02, 0.01, 5e-3, 2e-3, 1e-3, 5e-4, 2e-4, 1e-4,
                                                          5e-5, 2e-5, 1e-5, 5e-6, 2e-6, 1e-6, 5e-7, 2e-7, 1e-7};

// The table value of a step switch, divided further by the fine knob
// (FineValue / 200) when the fine knob is not fixed. A step outside the
// table takes the nearest end; a fine value of 0 counts as fixed.
double StepScale(const double* Table, int Count, int Step, bool FineFixed, int FineValue);
inline double VoltsPerDivAt(int Step, bool FineFixed = true, int FineValue = 0)
{
    return StepScale(VoltsPerDivTable.data(), int(VoltsPerDivTable.size()), Step, FineFixed, FineValue);
}
inline double SecPerDivAt(int Step, bool FineFixed = true, int FineValue = 0)
{
    return StepScale(SecPerDivTable.data(), int(SecPerDivTable.size()), Step, FineFixed, FineValue);
}

// Position of the sweep at model time T, in divisions 0 .. 10.
double SweepDivs(double T, double SecPerDiv);

// Where a trace drawn at TimeOfDay starts: the time of day truncated to the
// hundredth of a second, the step of the laboratory's 100 Hz pulses, of
// which every signal's frequency is a whole multiple, so that a picture
// stands still from one trace to the next.  The hundredth has no exact
// double: this is the first double that its own hundredths count
// (trunc(T·100)) and the sweep of every time base that fits a whole number
// of times into 10 ms place in the new hundredth, so that no later time
// falls back into the one before through rounding.
double TraceStart(double TimeOfDay);
