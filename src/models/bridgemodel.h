#pragma once
// The physics of the bridge laboratory: the circuit's current, the
// resistor under test of each variant, the resistance boxes and the
// galvanometer's needle. Plain arithmetic, checked without any window.

#include <optional>

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

// The needle's travel per ampere, in scale lengths: the coarse range puts
// 200 uA between the centre mark and either end, the fine range 2 uA.
inline constexpr double CoarseScalePerAmpere = 0.5 / 200e-6;
inline constexpr double FineScalePerAmpere = 0.5 / 2e-6;

// Position on the galvanometer's scale: 0 left end, 0.5 the centre mark,
// 1 the right end.
double GalvanometerScaleValue(double current, bool roughly);

// Value of the six-decade resistance box from its digits, highest decade
// (x10000) first.
double ResistanceBoxValue(const int (&digits)[6]);

// Resistance of a four-position ratio resistor by its knob position.
double Resistor4PosValue(int position);

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

    // The pins the needle rests against beyond the scale's ends.
    static constexpr double LowStop = -0.1;
    static constexpr double HighStop = 1.1;
    // Its speed in scale lengths per second: SpeedPerDistance times the way
    // still to go, never below MinSpeed nor above MaxSpeed, so that it
    // swings fast and settles gently.
    static constexpr double SpeedPerDistance = 2.0;
    static constexpr double MinSpeed = 0.1;
    static constexpr double MaxSpeed = 5.0;
    // Nearer than this to its target the needle is at rest.
    static constexpr double RestDistance = 0.001;

private:
    double m_target = 0.0;
    double m_shown = 0.0;
    std::optional<double> m_lastTick;
};

} // namespace bridge
