#include "controls/knobgeometry.h"

#include "platform/controls.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace knobgeo {

bool PointInPolygon(const std::vector<Pt>& poly, int x, int y)
{
    // Even-odd rule on the pixel centre.
    const double px = x + 0.5;
    const double py = y + 0.5;
    bool inside = false;
    const size_t n = poly.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = poly[i].X, yi = poly[i].Y;
        const double xj = poly[j].X, yj = poly[j].Y;
        if ((yi > py) != (yj > py)) {
            const double xc = xj + (py - yj) * (xi - xj) / (yi - yj);
            if (px < xc)
                inside = !inside;
        }
    }
    return inside;
}

bool PointInEllipse(const Rc& box, int x, int y)
{
    const double rx = (box.Right - box.Left) / 2.0;
    const double ry = (box.Bottom - box.Top) / 2.0;
    if (rx <= 0 || ry <= 0)
        return false;
    const double dx = (x + 0.5 - (box.Left + rx)) / rx;
    const double dy = (y + 0.5 - (box.Top + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

bool HitRegion::contains(int x, int y) const
{
    switch (kind) {
    case Kind::Rect: return PtInRect(box, TPoint(x, y));
    case Kind::Ellipse: return PointInEllipse(box, x, y);
    case Kind::Polygon: return poly.size() >= 3 && PointInPolygon(poly, x, y);
    case Kind::Empty: break;
    }
    return false;
}

std::array<Wedge, 4> ReflexWedges(int D, const Rc& r, int p)
{
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    return {{
        {{L + D / 5 + p, -p}, {L + D / 5 + p, T + D / 3 - p}},
        {{R - D / 5 - p, B + p}, {R - D / 5 - p, B - D / 3 + p}},
        {{R - D / 8 + p, T + D / 4 + p}, {R - D / 5, T + D / 6 - p}},
        {{L + D / 8 - p, B - D / 4 - p}, {L + D / 5, B - D / 6 - p}},
    }};
}

int KnobPercent(int v, int min, int max)
{
    const long long range = static_cast<long long>(max) - min;
    if (range <= 0)
        return 0;
    return static_cast<int>((static_cast<long long>(v) - min) * 100 / range);
}

double PercentAngle(int pct)
{
    return (pct - 50) / 125.0 * 2 * std::numbers::pi;
}

Pt RayEnd(int cx, int cy, double len, double angle)
{
    return {cx + Round(len * std::sin(angle)), cy - Round(len * std::cos(angle))};
}

int PercentFromPoint(int x, int y, int c)
{
    int a = Round(std::atan((c - y) / (x - c + 0.0000001)) * 180 / std::numbers::pi);
    if (x > c && y > c)
        a += 360;
    else if (x < c)
        a += 180;
    int d = 235 - a;
    if (d < 0)
        d += 360;
    if (d > 360)
        d -= 360;
    if (d >= 330 && d <= 360)
        return 0;
    if (d >= 290)
        return 100;
    return Round(d * 100.0 / 290);
}

int ValueFromPercent(int pct, int min, int max)
{
    // Exact in integers: the floating form loses one for some per cents.
    const long long range = static_cast<long long>(max) - min;
    return static_cast<int>((pct * range + 100LL * min) / 100);
}

std::vector<int> TickValues(int min, int max, int step)
{
    if (step <= 0)
        step = 1;
    std::vector<int> out;
    for (long long v = min; v <= max; ++v)
        if (v % step == 0)
            out.push_back(static_cast<int>(v));
    return out;
}

int KnobSide(int width, int height, int currentWidth)
{
    const int w = std::clamp(width, KnobMinSide, KnobMaxSide);
    const int h = std::clamp(height, KnobMinSide, KnobMaxSide);
    return w != currentWidth ? w : h;
}

int KnobKeyStep(int min, int max)
{
    return static_cast<int>(std::max<long long>(1, (static_cast<long long>(max) - min) / 10));
}

std::optional<int> KeyTarget(std::uint16_t key, int v, int min, int max, int pageStep)
{
    switch (key) {
    case VK_PRIOR:
        if (pageStep <= 0)
            return std::nullopt;
        return v + pageStep < max ? v + pageStep : max;
    case VK_NEXT:
        if (pageStep <= 0)
            return std::nullopt;
        return v - pageStep > min ? v - pageStep : min;
    case VK_END:
        return max;
    case VK_HOME:
        return min;
    case VK_LEFT:
    case VK_DOWN:
        if (v > min)
            return v - 1;
        return std::nullopt;
    case VK_UP:
    case VK_RIGHT:
        if (v < max)
            return v + 1;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

int StepPercent(int step, int max)
{
    if (max <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(step) * 100 / max);
}

int StepFromPercent(int pct, int max)
{
    // pct * max / 100 is exact in double, halves included.
    return Round(static_cast<double>(pct) * max / 100);
}

int PositionAngle(int p, int n, int a1, int a2)
{
    if (n > 1)
        return static_cast<int>(static_cast<long long>(p) * (a2 - a1) / (n - 1) + a1);
    return (a1 + a2) / 2;
}

Pt PointAtAngle(int cx, int cy, double deg, double r)
{
    const double t = deg * 2 * std::numbers::pi / 360;
    return {cx + Round(std::cos(t) * r), cy - Round(std::sin(t) * r)};
}

int PositionFromPoint(int x, int y, int cx, int cy, int n, int a1, int a2)
{
    if (n <= 1 || a1 == a2)
        return -1;
    const long long dx = x - cx, dy = y - cy;
    if (dx * dx + dy * dy < 9)
        return -1;
    int a = Round(std::atan2(static_cast<double>(cy - y), static_cast<double>(x - cx)) * 180
                      / std::numbers::pi);
    if (a < 0)
        a += 360;
    int d = a - a1;
    if (a1 > a2)
        d = -d;
    // Angles beyond one turn are brought into 0..359 so the rule also holds
    // for settings outside -360..360.
    d %= 360;
    if (d < 0)
        d += 360;
    const double step = std::abs(static_cast<double>(a2) - a1) / (n - 1);
    const int p = Round(d / step);
    if (p < n)
        return p;
    // Just before position 0 the angle has wrapped round to nearly a full
    // turn; within half a step it still means position 0, as half a step
    // beyond the last position means the last.
    return Round((d - 360) / step) == 0 ? 0 : -1;
}

bool InkClearOfKnob(const Rc& ink, const std::vector<std::pair<Pt, Pt>>& ticks, int cx, int cy,
                    int r, int rim)
{
    if (ink.IsEmpty())
        return true;
    // Pixel coordinates of the box's first and last columns and rows.
    const double l = ink.Left, t = ink.Top, rt = ink.Right - 1, b = ink.Bottom - 1;
    const auto distToBox = [&](double x, double y) {
        return std::hypot(x - std::clamp(x, l, rt), y - std::clamp(y, t, b));
    };
    // A rasterised line or outline strays up to half a pixel from the ideal
    // one, and pixels closer than one and a half touch: two pixels apart
    // leaves a clear one between them.
    constexpr double Clear = 2;
    for (const auto& [p, q] : ticks) {
        // Quarter-pixel steps along the tick find its nearest point closely
        // enough.
        const int n = 1 + static_cast<int>(4 * std::hypot(q.X - p.X, q.Y - p.Y));
        for (int k = 0; k <= n; ++k)
            if (distToBox(p.X + double(q.X - p.X) * k / n, p.Y + double(q.Y - p.Y) * k / n) < Clear)
                return false;
    }
    // The body's box leaves out its right and bottom edge: its outline runs
    // half a pixel up and left of (cx + j, cy + j) at radius r - 1/2.
    for (int j = 0; j <= rim; ++j)
        if (distToBox(cx + j - 0.5, cy + j - 0.5) < r - 0.5 + Clear)
            return false;
    return true;
}

SwitchLayout PlaceSwitch(GlyphAlign align, int width, int height, int W, int H, bool pushButton)
{
    switch (align) {
    case GlyphAlign::Bottom:
        return {{(width - W) / 2, pushButton ? height - H - 1 : height - H},
                {0, 0, width, height - H - 1}};
    case GlyphAlign::Left:
        return {{0, (height - H) / 2}, {W + 1, 0, width, height}};
    case GlyphAlign::Right:
        return {{width - W - 2, (height - H) / 2}, {0, 0, width - W - 1, height}};
    case GlyphAlign::Top:
    default:
        return {{(width - W) / 2, 0}, {0, H + 1, width, height}};
    }
}

RockerGeometry RockerGeometryFor(int size)
{
    RockerGeometry g{};
    g.W = size * 10 + 15;
    g.H = size * 10 + 30;
    g.s = size * 2;
    g.q = g.H / 4;
    const int c = g.H - g.s - g.q;
    g.c2 = c / 2;
    g.c1 = c - g.c2;
    g.e = g.W / 10;
    g.e2 = 2 * g.e;
    return g;
}

std::vector<Pt> RockerOnRegion(const RockerGeometry& g)
{
    return {{g.e, g.s + g.c1}, {g.W - g.e, g.s + g.c1}, {g.W - g.e2, g.H - g.q}, {0, g.H - g.q},
            {g.e, g.s + g.c1}};
}

std::vector<Pt> RockerOffRegion(const RockerGeometry& g)
{
    return {{0, g.q}, {g.W - g.e2, g.q}, {g.W - g.e, g.q + g.c2}, {g.e, g.q + g.c2}, {0, g.q}};
}

ButtonGeometry ButtonGeometryFor(int size)
{
    ButtonGeometry g{};
    g.A = size * 6 + 29;
    g.b = size * 6 + 15;
    g.m = (g.A - g.b) / 2;
    return g;
}

LampWidths LampWidthsFor(int width)
{
    const int q = std::clamp(width / 17, 1, 6);
    return {q, std::max(1, q / 2)};
}

} // namespace knobgeo
