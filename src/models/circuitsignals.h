#pragma once
// The voltages of the oscillating circuit in the damped- and
// forced-oscillation works.  Both are sampled on every timer tick, so they
// return a finite number for any circuit values.

// The circuit (L in H, C in F, R in Ω) kicked by 1 V pulses 100 times a
// second: its voltage at model time T (seconds).
double DampedOscillation(double T, double L, double C, double R);

// The steady-state amplitude ratio of the circuit driven at Frequency (Hz).
double ForcedAmplitudeRatio(double Frequency, double L, double C, double R);
