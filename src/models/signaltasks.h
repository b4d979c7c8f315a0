#pragma once
// The tasks of the two signal works: what a variant number (0 for training,
// 1..100) sets on the generator under study, and the trace sampling that
// suits a pair of frequencies on the X and Y inputs.

struct TSignalTask {
    double Amplitude;   // V
    double Frequency;   // Hz
};

// Work 1: amplitude and frequency of one signal.
TSignalTask APSignalTask(int N);
// Work 2: the signal under study of the Lissajous figures.
TSignalTask LissajouTask(int N);

// Seconds between trace samples so that Count samples span a little more
// than one period of the lower of F1 and F2, but never fewer than 0.06
// periods of the higher frequency per sample.
double LissajousSampleInterval(double F1, double F2, int Count);
