#include "bridge/bridgemodel.h"

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
    return current * (roughly ? 2500.0 : 250000.0) + 0.5;
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

BenchLayout ComputeBenchLayout(int cw, int ch, int uw, int uh)
{
    BenchLayout l;
    double k = 0.0;
    if (uw > 0 && uh > 0 && cw > 4 && ch > 4) {
        const double kx = (cw - 4) / double(uw);
        const double ky = (ch - 4) / double(uh);
        k = std::min(kx, ky);
    }
    l.scale = k;
    const int w = int(std::nearbyint(std::max(uw, 0) * k));
    const int h = int(std::nearbyint(std::max(uh, 0) * k));
    l.left = (cw - w) / 2;
    l.right = l.left + w;
    l.top = (ch - h) / 2;
    l.bottom = l.top + h;
    return l;
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
    if (d > 0.001 || force) {
        const double speed = std::clamp(2.0 * d, 0.1, 5.0);
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

bool WireHit(const std::vector<PixelPoint>& pts, int pw, int x, int y)
{
    for (size_t i = 1; i < pts.size(); ++i) {
        const int l = std::min(pts[i - 1].x, pts[i].x) - pw;
        const int r = std::max(pts[i - 1].x, pts[i].x) + pw;
        const int t = std::min(pts[i - 1].y, pts[i].y) - pw;
        const int b = std::max(pts[i - 1].y, pts[i].y) + pw;
        if (x >= l && x < r && y >= t && y < b)
            return true;
    }
    return false;
}

} // namespace bridge
