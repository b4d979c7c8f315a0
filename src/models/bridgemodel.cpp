#include "models/bridgemodel.h"

#include <algorithm>
#include <cmath>

namespace bridge {

double BridgeCurrent(bool sourceOn, double u, double rx, double r0, double r1, double r2, double rg)
{
    if (!sourceOn)
        return 0.0;
    // Long double keeps the difference R2*Rx - R1*R0 exact enough near
    // balance, where the needle must rest on the centre mark.
    const long double U = u, Rx = rx, R0 = r0, R1 = r1, R2 = r2, Rg = rg;
    const long double den = (R1 + R2) * Rg * (R0 + Rx) + (R1 + R2) * R0 * Rx + R1 * R2 * (R0 + Rx);
    if (!(den > 0.0L) || !std::isfinite(static_cast<double>(den)))
        return 0.0;
    const long double i = U * (R2 * Rx - R1 * R0) / den;
    const double r = static_cast<double>(i);
    return std::isfinite(r) ? r : 0.0;
}

double VariantRx(int n)
{
    if (n == 0)
        return 1000.0;
    return std::exp(double(n % 5 + 4)) * std::log(double(n % 27 + 5));
}

double GalvanometerScaleValue(double current, bool roughly)
{
    return current * (roughly ? CoarseScalePerAmpere : FineScalePerAmpere) + 0.5;
}

double ResistanceBoxValue(const int (&d)[6])
{
    return 10000.0 * d[0] + 1000.0 * d[1] + 100.0 * d[2] + 10.0 * d[3] + 1.0 * d[4] + 0.1 * d[5];
}

double Resistor4PosValue(int position)
{
    switch (position) {
    case 0: return 1.0;
    case 1: return 10.0;
    case 2: return 100.0;
    case 3: return 1000.0;
    default: return 0.0;
    }
}

void NeedleMotion::SetTarget(double v)
{
    // A value that is no number cannot be shown; keep the needle where it
    // is going.
    if (std::isnan(v))
        return;
    m_target = v;
}

bool NeedleMotion::Animate(double now, bool force)
{
    const double d = std::fabs(m_target - m_shown);
    bool moved = false;
    if (d > RestDistance || force) {
        const double speed = std::clamp(SpeedPerDistance * d, MinSpeed, MaxSpeed);
        double elapsed;
        if (!m_lastTick)
            elapsed = HUGE_VAL;  // first call: straight to the target
        else
            elapsed = std::max(0.0, now - *m_lastTick);
        const double step = elapsed * speed;
        if (m_target > m_shown) {
            m_shown += step;
            if (m_shown > m_target)
                m_shown = m_target;
            if (m_shown >= HighStop) {
                m_shown = HighStop;
                m_target = HighStop;
            }
        } else {
            m_shown -= step;
            if (m_shown < m_target)
                m_shown = m_target;
            if (m_shown <= LowStop) {
                m_shown = LowStop;
                m_target = LowStop;
            }
        }
        moved = true;
    }
    m_lastTick = now;
    return moved;
}

} // namespace bridge
