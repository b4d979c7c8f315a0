#include "models/electrons.h"

#include <algorithm>
#include <cmath>

namespace tube {

void Electrons::Reset(double Mono, double Tod)
{
    m_startMono = m_stepOriginMono = m_lastFrameMono = m_rateMono = Mono;
    m_lastFrameTod = Tod;
    m_frameCount = m_framesSinceRate = 0;
    m_steps = 0;
    m_frameRate = 0;
    m_fraction = 0;
    m_alive.fill(false);
    m_x.fill(0);
    m_y.fill(0);
    m_trailHit.fill(false);
}

void Electrons::SetShotSecs(double Seconds, double Mono)
{
    if (!(Seconds > 0) || !std::isfinite(Seconds))
        return;
    m_shot = Seconds;
    m_stepOriginMono = Mono;
    m_steps = 0;
}

void Electrons::ClearTrail()
{
    m_trailHit.fill(false);
}

void Electrons::Advance(double Mono, double Tod, const Deflection& Source)
{
    double e = (Mono - m_stepOriginMono) - double(m_steps) * m_shot;
    if (e >= m_shot) {
        std::int64_t k = std::int64_t(std::min(std::floor(e / m_shot), 9.0e15));
        if (k > MaxCatchUpSteps) {
            // Skipped steps would all be overwritten by the last ones: the
            // deflection source is asked with the same time in every one.
            m_steps += k - MaxCatchUpSteps;
            k = MaxCatchUpSteps;
        }
        for (std::int64_t i = 0; i < k; ++i)
            Step(Source);
        e = (Mono - m_stepOriginMono) - double(m_steps) * m_shot;
    }
    m_fraction = std::clamp(e / m_shot, 0.0, 0.999999);

    m_lastFrameMono = Mono;
    m_lastFrameTod = Tod;
    ++m_frameCount;
    ++m_framesSinceRate;
    if (m_framesSinceRate > 10) {
        const double span = Mono - m_rateMono;
        if (span > 0)
            m_frameRate = m_framesSinceRate / span;
        m_framesSinceRate = 0;
        m_rateMono = Mono;
    }
}

void Electrons::Step(const Deflection& Source)
{
    ++m_steps;
    ++m_generation;
    for (int i = TrailCount - 1; i >= 1; --i) {
        m_trailHit[i] = m_trailHit[i - 1];
        m_trailX[i] = m_trailX[i - 1];
        m_trailY[i] = m_trailY[i - 1];
    }
    m_trailHit[0] = false;
    if (m_alive[SlotCount - 1] && std::abs(m_x[SlotCount - 1]) <= 1 && std::abs(m_y[SlotCount - 1]) <= 1) {
        m_trailHit[0] = true;
        m_trailX[0] = m_x[SlotCount - 1];
        m_trailY[0] = m_y[SlotCount - 1];
    }
    for (int i = SlotCount - 1; i >= 1; --i) {
        m_alive[i] = m_alive[i - 1];
        m_x[i] = m_x[i - 1];
        m_y[i] = m_y[i - 1];
    }
    double X = 0, Y = 0;
    bool Visible = true;
    if (Source) {
        Source(X, Y, m_lastFrameTod, Visible);
        // A value that is not a number strikes a plate like a huge one.
        if (std::isnan(X))
            X = 1e9;
        if (std::isnan(Y))
            Y = 1e9;
        m_x[DeflectionSlot] = X;
        m_y[DeflectionSlot] = Y;
        if (std::abs(X) > MaxDeflection || std::abs(Y) > MaxDeflection)
            m_alive[DeflectionSlot] = false;
    }
    m_alive[0] = Visible;
    m_x[0] = 0;
    m_y[0] = 0;
}

} // namespace tube
