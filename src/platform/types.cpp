#include "platform/types.h"

#include <QColor>
#include <algorithm>
#include <limits>

namespace {
// The classic desktop colours, as 0x00BBGGRR; fixed so that every picture
// comes out the same whatever theme the desktop has.
constexpr TColor kSystemColors[] = {
    0xC8C8C8, // scroll bar
    0x000000, // background
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // app workspace
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // gray text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3-D dark shadow
    0xC0C0C0, // 3-D light
    0x000000, // info text
    0xE1FFFF, // info background
};
} // namespace

TColor ColorToRGB(TColor c)
{
    if (c < 0) {
        int idx = c & 0xFF;
        if (idx < int(std::size(kSystemColors)))
            return kSystemColors[idx];
        return clBlack;
    }
    if (c == clNone || c == clDefault)
        return clBlack;
    return c & 0xFFFFFF;
}

QColor ToQColor(TColor c)
{
    TColor v = ColorToRGB(c);
    return QColor(GetRValue(v), GetGValue(v), GetBValue(v));
}

TColor FromQColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b)
{
    TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom));
    if (r.IsEmpty()) {
        dst = TRect();
        return false;
    }
    dst = r;
    return true;
}

namespace {
template <class I>
I guardedInt(double v)
{
    if (!std::isfinite(v))
        return v > 0 ? std::numeric_limits<I>::max() : (v < 0 ? std::numeric_limits<I>::min() : 0);
    constexpr double hi = double(std::numeric_limits<I>::max());
    constexpr double lo = double(std::numeric_limits<I>::min());
    if (v >= hi)
        return std::numeric_limits<I>::max();
    if (v <= lo)
        return std::numeric_limits<I>::min();
    return I(v);
}
} // namespace

int Round(double v) { return std::isnan(v) ? 0 : guardedInt<int>(std::nearbyint(v)); }
int Trunc(double v) { return std::isnan(v) ? 0 : guardedInt<int>(std::trunc(v)); }

double ClampD(double v, double lo, double hi)
{
    if (std::isnan(v))
        return lo;
    return v < lo ? lo : (v > hi ? hi : v);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t p = std::int64_t(a) * b;
    std::int64_t half = (c < 0 ? -std::int64_t(c) : c) / 2;
    // Round half away from zero, as the platform's MulDiv.
    bool neg = (p < 0) != (c < 0);
    std::int64_t ap = p < 0 ? -p : p;
    std::int64_t ac = c < 0 ? -std::int64_t(c) : c;
    std::int64_t q = (ap + half) / ac;
    q = neg ? -q : q;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min())
        return -1;
    return int(q);
}
