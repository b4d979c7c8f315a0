#pragma once
// Picture model of the oscilloscope screen: the green graticule and the
// trace of the beam sampled from two deflection sources.

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <cstdint>
#include <functional>
#include <vector>

#include "scope/frameraster.h"

class QPainter;
class TCanvas;

// Voltage at an oscilloscope input for model time T (seconds).
using TSignalSource = std::function<double(double T)>;
// Beam deflection in divisions for model time T; may clear Visible to blank
// the beam for this sample.
using TScreenDeflection = std::function<void(double& V, bool& Visible, double T)>;

// Pen of one trace segment: width in pixels and colour.
struct TTracePen {
    int Width = 1;
    QRgb Color = 0;
    bool operator==(const TTracePen&) const = default;
};

// The pen for a segment whose ends are `d` pixels apart (Manhattan), with the
// screen's focus (0 blurred .. 1 sharp) and brightness (0 .. 2).
TTracePen TracePen(int d, double focus, double brightness);

class TOscScreen {
public:
    TOscScreen();
    TOscScreen(const TOscScreen&) = delete;
    TOscScreen& operator=(const TOscScreen&) = delete;

    double VertDivs = 0;
    double PixelsPerDiv = 0;
    int CenterY = 0;
    QImage Graticule;
    int Width = 0;
    int Height = 0;
    int HorzDivs = 0;
    bool BeamOn = false;
    TScreenDeflection OnXValue;
    TScreenDeflection OnYValue;
    double Brightness = 1.0;
    double Focus = 0.0;

    // Model time in seconds of the day; the platform clock unless replaced.
    std::function<double()> TimeOfDay;
    // Uniform numbers in [0, 1) for the sampling jitter; a built-in
    // generator when unassigned.
    std::function<double()> Random;

    void DrawGraticule();
    // Draws the graticule and one sweep of N + 1 samples spread over
    // Duration seconds, starting now.
    void DrawTrace(TCanvas& Canvas, int N, double Duration);
    void DrawTrace(QPainter& Canvas, int N, double Duration);
    // Where the last trace's frame differs from the one before (none: it
    // may differ anywhere).
    std::optional<QRegion> TakeChange() { return m_restorer.TakeChange(); }

private:
    // Sampling of the trace; Draw(from, to, pen) gets every segment, from the
    // pen position as line-to leaves it.
    template <class Seg>
    void Sample(int N, double Duration, Seg&& Draw);

    double NextJitter();

    std::uint64_t m_jitter;
    paint::FrameRestorer m_restorer;
    std::uint64_t m_graticuleGen = 0;
};
