#include "bridge/benchgeometry.h"

#include <algorithm>
#include <cmath>

namespace bridge {

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
