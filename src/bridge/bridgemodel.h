#pragma once
// Pure arithmetic of the bridge laboratory: nothing here touches a widget,
// so the numbers the student sees can be checked on their own.

#include <optional>
#include <vector>

namespace bridge {

// Internal resistance of the galvanometer, ohms.
inline constexpr double GalvanometerResistance = 4000.0;

// Limits of the resistor under test, ohms.
inline constexpr double MinSampleResistance = 0.01;
inline constexpr double MaxSampleResistance = 10000000.0;

// Current through the galvanometer of a Wheatstone bridge fed by U between
// nodes C and D: Rx C-A, R0 A-D, R1 C-B, R2 B-D, the galvanometer A-B.
// Positive when R2*Rx > R1*R0; zero with the source off.
double BridgeCurrent(bool sourceOn, double u, double rx, double r0, double r1, double r2,
                     double rg = GalvanometerResistance);

// Rx of a variant (1..100); training (0) gives 1000 ohms.
double VariantRx(int n);

// Position on the galvanometer's scale: 0 left end, 0.5 the centre mark,
// 1 the right end. Coarse range: 200 uA full scale; fine: 2 uA.
double GalvanometerScaleValue(double current, bool roughly);

// Value of the six-decade resistance box from its digits, highest decade
// (x10000) first.
double ResistanceBoxValue(const int (&digits)[6]);

// Resistance of a four-position ratio resistor by its knob position.
double Resistor4PosValue(int position);

// One factor for both axes and the centred rectangle the bench units cover.
struct BenchLayout {
    double scale = 0.0;  // pixels per unit
    int left = 0, top = 0, right = 0, bottom = 0;
};
// A client area too small for the 2-pixel margin, or a bench without units,
// gives the factor 0 and an empty work area at the centre instead of a
// negative or infinite factor.
BenchLayout ComputeBenchLayout(int clientWidth, int clientHeight, int unitsWidth, int unitsHeight);

// The needle's motion toward its target, eased on an elapsed-time clock.
class NeedleMotion {
public:
    // Sets where the needle is going; the needle itself moves on Animate.
    void SetTarget(double v);
    double Target() const { return m_target; }
    double Shown() const { return m_shown; }

    // One step at time `nowSeconds` of a monotonic clock. The first call
    // moves the needle straight to its target. Returns true when the needle
    // moved or `force` is set, i.e. when a new frame is due.
    bool Animate(double nowSeconds, bool force = false);

    static constexpr double LowStop = -0.1;
    static constexpr double HighStop = 1.1;

private:
    double m_target = 0.0;
    double m_shown = 0.0;
    std::optional<double> m_lastTick;
};

// Does a click at (x, y) hit a wire drawn through `points` with a pen of
// `penWidth` pixels? Each segment's bounding box, grown by the pen width,
// answers (right and bottom edges excluded).
struct PixelPoint {
    int x = 0, y = 0;
};
bool WireHit(const std::vector<PixelPoint>& points, int penWidth, int x, int y);

} // namespace bridge
