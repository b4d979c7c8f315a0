#pragma once
// The electrons of the cut-away cathode-ray tube. One leaves the cathode at
// every step, one interval apart, and moves a slot on at each step: at slot
// 8 it takes the plates' deflection (or strikes a plate), and after the last
// slot it lands on the screen, whose spots make a fading afterglow trail.
// The window's timer advances the model; the picture only reads it.

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>

namespace tube {

// Deflection source: X, Y in screen halves (±1 is the edge) for model time
// T; may clear Visible to emit no electron.
using Deflection = std::function<void(double& X, double& Y, double T, bool& Visible)>;

class Electrons {
public:
    static constexpr int SlotCount = 30;
    static constexpr int TrailCount = 250;
    // The slot where an electron passes the first plates and takes its
    // deflection; one deflected by more than MaxDeflection strikes a plate.
    static constexpr int DeflectionSlot = 8;
    static constexpr double MaxDeflection = 3;
    // Catch-up after a long pause runs at most this many steps: after it
    // every slot and trail entry comes from the latest steps anyway.
    static constexpr int MaxCatchUpSteps = SlotCount + TrailCount;

    // An interval that is not a positive number would divide by zero: one
    // second serves instead.
    explicit Electrons(double ShotSecs) : m_shot(ShotSecs > 0 && std::isfinite(ShotSecs) ? ShotSecs : 1) {}

    // Empties the tube and starts counting time, steps and frames at Mono
    // (a monotonic clock, seconds) and Tod (the time of day).
    void Reset(double Mono, double Tod);
    // The interval between electrons, a positive number of seconds (others
    // are ignored). The flight goes on from where it is; only the count of
    // steps starts anew at Mono, so that the change neither freezes nor
    // bursts the flight.
    void SetShotSecs(double Seconds, double Mono);
    // One frame at Mono: the steps due since the count began, each asking
    // Source at the time of day of the frame before, then the fraction of
    // the running interval the electrons have flown; Tod is kept for the
    // next frame's steps.
    void Advance(double Mono, double Tod, const Deflection& Source);
    // The afterglow is forgotten (the screen it lay on changed).
    void ClearTrail();

    double ShotSecs() const { return m_shot; }
    // Steps since the count began.
    std::int64_t Steps() const { return m_steps; }
    // Changes with every step, never starts anew: a picture compares it to
    // know that the electrons moved on.
    std::uint64_t Generation() const { return m_generation; }
    // How far the electrons are through the running interval, 0 to below 1.
    double Fraction() const { return m_fraction; }
    int FrameCount() const { return m_frameCount; }
    // Frames per second, measured over every eleven frames.
    double FrameRate() const { return m_frameRate; }
    // Seconds from Reset to the last frame.
    double Elapsed() const { return m_lastFrameMono - m_startMono; }

    bool Alive(int Slot) const { return Slot >= 0 && Slot < SlotCount && m_alive[Slot]; }
    double X(int Slot) const { return Slot >= 0 && Slot < SlotCount ? m_x[Slot] : 0.0; }
    double Y(int Slot) const { return Slot >= 0 && Slot < SlotCount ? m_y[Slot] : 0.0; }
    // Trail entry I, newest first: whether an electron landed on the screen
    // then, and where (X, Y within ±1).
    bool TrailHit(int I) const { return I >= 0 && I < TrailCount && m_trailHit[I]; }
    double TrailX(int I) const { return I >= 0 && I < TrailCount ? m_trailX[I] : 0.0; }
    double TrailY(int I) const { return I >= 0 && I < TrailCount ? m_trailY[I] : 0.0; }

private:
    void Step(const Deflection& Source);

    double m_shot;
    double m_startMono = 0;
    double m_stepOriginMono = 0;
    double m_lastFrameMono = 0;
    double m_lastFrameTod = 0;
    double m_rateMono = 0;
    int m_frameCount = 0;
    int m_framesSinceRate = 0;
    double m_frameRate = 0;
    double m_fraction = 0;
    std::int64_t m_steps = 0;
    std::uint64_t m_generation = 0;

    std::array<double, SlotCount> m_x{}, m_y{};
    std::array<bool, SlotCount> m_alive{};
    std::array<double, TrailCount> m_trailX{}, m_trailY{};
    std::array<bool, TrailCount> m_trailHit{};
};

} // namespace tube
