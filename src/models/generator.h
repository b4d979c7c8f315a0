#pragma once
// The laboratory signal generator's output: a sine, square or sawtooth
// voltage of a given frequency, amplitude and phase as a function of model
// time.

enum TGenWaveform { gwSine = 0, gwSquare = 1, gwSawtooth = 2 };

// Frequencies the generator can give, in hertz.
constexpr double GenMinFrequency = 0.1;
constexpr double GenMaxFrequency = 10000000.0;

// The output voltage of a waveform (an index; others give 0 V) at model
// time T (s) for frequency F (Hz), amplitude A (V) and phase P (rad).
double GeneratorValue(int Waveform, double F, double A, double P, double T);
// A frequency brought into the generator's range.
double ClampGenFrequency(double F);

// The sine generator of the forced-oscillation work: the dial's position
// times its range's multiplier (range 0, 1, 2: x1, x10, x100; no range
// chosen gives 0 Hz).
double SineGenFrequency(int Position, int Range);
