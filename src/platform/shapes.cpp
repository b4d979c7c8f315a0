#include "platform/shapes.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace shape {

namespace {

using i64 = std::int64_t;
constexpr double kEps = 1e-9;

// A whole number of pixels far beyond any picture kept as an int.
int ToInt(double v)
{
    return int(std::clamp(v, double(-(1 << 30)), double(1 << 30)));
}

struct Span1 {
    int x0 = 1, x1 = 0;
    bool Empty() const { return x0 > x1; }
};

// The pixel of C + D (C a whole or half number, D what trigonometry gave):
// halves go to the larger coordinate, also where the trigonometry left a
// hair of noise, so that the two ends of a diameter lie in one row.
int RoundEnd(double C, double D)
{
    return ToInt(std::floor(C + D + 0.5 + kEps + 1e-12 * std::abs(D)));
}

// A box's oval: the centre line of its one-pixel outline runs through the
// centres of the box's outermost pixels.
struct Oval {
    double cx, cy, a, b;
    Oval(int l, int t, int r, int bt)
        : cx((double(l) + r - 1) / 2.0), cy((double(t) + bt - 1) / 2.0), a((double(r) - l - 1) / 2.0),
          b((double(bt) - t - 1) / 2.0) {}
    // The pixels of row y inside the oval drawn with a one-pixel pen: in
    // every column the rows nearest the curve and those between, and likewise
    // in every row. A run about the centre, its ends estimated and then
    // settled by that test.
    Span1 Row(int y) const
    {
        const double dy = std::abs(y - cy);
        if (dy > b + 0.5 + kEps)
            return {};
        const bool rowB = dy <= b + kEps;
        const double hB = rowB ? a * root(dy, b) + 0.5 : -1;
        // Within the column test dy <= b * root(dx, a) + 0.5, squared once
        // for the row: D <= b * root, i.e. (dx / a)^2 <= 1 - (D / b)^2.
        const double D = dy - 0.5 - kEps, ia = a > 0 ? 1 / a : 0;
        const double v = D > 0 && b > 0 ? 1 - (D / b) * (D / b) : 0;
        auto in = [&](double x) {
            const double dx = std::abs(x - cx);
            if (dx > a + 0.5 + kEps)
                return false;
            if (rowB && dx <= hB + kEps)
                return true;
            if (dx > a + kEps)
                return false;
            if (D <= 0)
                return true;
            if (a <= 0)
                return D <= b;
            const double u = dx * ia;
            return u < 1 && u * u <= v;
        };
        double h = std::max(hB, 0.0);
        if (dy <= 0.5)
            h = std::max(h, a);
        else if (b > 0 && dy > b / 2)
            h = std::max(h, a * std::sqrt(std::max(0.0, 1 - (dy - 0.5) * (dy - 0.5) / (b * b))));
        const double first = std::ceil(cx);
        double x = std::max(std::floor(cx + h + kEps), first - 1);
        while (in(x + 1))
            ++x;
        while (x >= first && !in(x))
            --x;
        if (x < first)
            return {};
        return {int(2 * cx - x), int(x)};
    }
    // The pixel of the centre line at a parametric angle.
    TPoint At(double deg) const
    {
        const double t = deg * M_PI / 180.0;
        return TPoint(RoundEnd(cx, a * std::cos(t)), RoundEnd(cy, -b * std::sin(t)));
    }
    TPoint Centre() const { return TPoint(RoundEnd(cx, 0), RoundEnd(cy, 0)); }

private:
    static double root(double d, double r)
    {
        if (r <= 0)
            return 1.0;
        const double u = d / r;
        return u >= 1 ? 0.0 : std::sqrt(1 - u * u);
    }
};

// The rounded box of a one-pixel pen: the corners are the quarters of the
// oval of w x h.
struct RoundBox {
    int l, t, r, b, w, h;
    Span1 Row(int y) const
    {
        if (y < t || y >= b)
            return {};
        const std::int64_t cw = std::min<std::int64_t>(w, std::int64_t(r) - l), ch = std::min<std::int64_t>(h, std::int64_t(b) - t);
        if (cw < 2 || ch < 2)
            return {l, r - 1};
        // Every corner is the upper left one mirrored.
        const int ym = std::int64_t(y) - t <= std::int64_t(b) - 1 - y ? y : int(std::int64_t(t) + (std::int64_t(b) - 1 - y));
        const Oval o(l, t, int(l + cw), int(t + ch));
        if (ym >= o.cy)
            return {l, r - 1};
        const Span1 s = o.Row(ym);
        const int xl = s.Empty() ? int(std::ceil(o.cx)) : s.x0;
        return {xl, int(std::int64_t(l) + r - 1 - xl)};
    }
};

// A rounded box about a centre line (an oval when the corners take the
// whole box): the pixel centres within it grown by d, row by row.
struct Rounded {
    double cx, cy, hw, hh, A, B;
    // Strict: only those inside, not on the edge.
    [[gnu::always_inline]] Span1 Row(int y, double d, bool strict) const
    {
        const double dy = std::abs(y - cy), HW = hw + d, HH = hh + d;
        if (HW < 0 || HH < 0 || (strict ? dy >= HH - kEps : dy > HH + kEps))
            return {};
        const double qy = dy - (hh - B), rA = A + d, rB = B + d;
        double half = HW;
        if (qy > 0 && rA > 0 && rB > 0) {
            const double v = (strict ? 1 - kEps : 1 + kEps) - qy * qy / (rB * rB);
            if (v < 0)
                return {};
            half = (hw - A) + rA * std::sqrt(v);
        }
        if (strict)
            return {ToInt(std::floor(cx - half)) + 1, ToInt(std::ceil(cx + half)) - 1};
        return {ToInt(std::ceil(cx - half)), ToInt(std::floor(cx + half))};
    }
};

// A wide pen's ring along a rounded outline (the whole oval when not
// Hollow), and with Filled the fill within its centre line, row by row:
// Add(x0, x1, y, kind), the fill first.
template <class A>
[[gnu::always_inline]] inline void RingRows(const Rounded& o, int W, bool Hollow, bool Filled, int From, int To, A&& Add)
{
    for (int y = From; y <= To; ++y) {
        if (Filled) {
            const Span1 f = o.Row(y, 0, false);
            Add(f.x0, f.x1, y, Ink::Fill);
        }
        const Span1 out = o.Row(y, W / 2.0, false), in = Hollow ? o.Row(y, -W / 2.0, true) : Span1{};
        if (in.Empty()) {
            Add(out.x0, out.x1, y, Ink::Pen);
        } else {
            Add(out.x0, in.x0 - 1, y, Ink::Pen);
            Add(in.x1 + 1, out.x1, y, Ink::Pen);
        }
    }
}

// The x of a row where C0 + C1 * dx >= -kEps, dx from the centre X
// (InvC1 = 1 / C1, taken once for all rows).
Span1 HalfPlane(double X, double C0, double C1, double InvC1)
{
    constexpr double far = 1e18;
    double lo = -far, hi = far;
    if (C1 > 0)
        lo = (-kEps - C0) * InvC1;
    else if (C1 < 0)
        hi = (-kEps - C0) * InvC1;
    else if (C0 < -kEps)
        return {};
    lo = std::max(X + lo, -far), hi = std::min(X + hi, far);
    return {ToInt(std::ceil(lo - 1e-7)), ToInt(std::floor(hi + 1e-7))};
}

// The parts of a row an arc, a pie or a chord keeps: up to four runs.
struct Cut {
    Span1 part[4];
    int n = 0;
    static Cut All() { Cut c; c.part[0] = {INT_MIN / 2, INT_MAX / 2}; c.n = 1; return c; }
    void Put(Span1 s)
    {
        if (!s.Empty())
            part[n++] = s;
    }
    // The parts within S too, or with Or those and S.
    Cut With(Span1 S, bool Or) const
    {
        Cut c;
        if (!Or) {
            for (int i = 0; i < n; ++i)
                c.Put({std::max(part[i].x0, S.x0), std::min(part[i].x1, S.x1)});
            return c;
        }
        // In order of their left ends, then joined where they meet.
        Span1 all[5];
        int k = 0;
        auto insert = [&](Span1 v) {
            int j = k++;
            for (; j > 0 && all[j - 1].x0 > v.x0; --j)
                all[j] = all[j - 1];
            all[j] = v;
        };
        for (int i = 0; i < n; ++i)
            insert(part[i]);
        if (!S.Empty())
            insert(S);
        for (int i = 0; i < k; ++i) {
            if (c.n > 0 && all[i].x0 <= c.part[c.n - 1].x1 + 1)
                c.part[c.n - 1].x1 = std::max(c.part[c.n - 1].x1, all[i].x1);
            else
                c.Put(all[i]);
        }
        return c;
    }
    // Add(x0, x1) for the pieces of [x0, x1] kept.
    template <class F>
    void Apply(int x0, int x1, F&& Add) const
    {
        for (int i = 0; i < n; ++i) {
            const int a = std::max(x0, part[i].x0), b = std::min(x1, part[i].x1);
            if (a <= b)
                Add(a, b);
        }
    }
};

// The counter-clockwise sweep from angle a1 over span degrees, measured
// from the centre with the axes scaled by the radii, as runs of a row.
struct Sweep {
    double cx, cy, ra, rb;
    double u1x, u1y, u2x, u2y, i1, i2;
    double fx, fy, i3; // ahead: the sum of the rays
    double span;
    bool centreIn;
    Sweep(const Oval& o, double a1, double sp) : Sweep(o.cx, o.cy, o.a + 0.5, o.b + 0.5, a1, sp) {}
    Sweep(double Cx, double Cy, double Ra, double Rb, double a1, double sp) : cx(Cx), cy(Cy), ra(Ra), rb(Rb), span(sp)
    {
        u1x = std::cos(a1 * M_PI / 180), u1y = std::sin(a1 * M_PI / 180);
        u2x = std::cos((a1 + sp) * M_PI / 180), u2y = std::sin((a1 + sp) * M_PI / 180);
        i1 = u1y != 0 ? -ra / u1y : 0, i2 = u2y != 0 ? ra / u2y : 0;
        fx = u1x + u2x, fy = u1y + u2y, i3 = fx != 0 ? ra / fx : 0;
        const double d = std::fmod(std::fmod(-a1, 360.0) + 360.0, 360.0);
        centreIn = d <= span + 1e-7 || d >= 360 - 1e-7;
    }
    [[gnu::always_inline]] Cut Row(int y) const
    {
        if (span >= 360)
            return Cut::All();
        const double py = (cy - y) / rb;
        // Left of the first ray, right of the second.
        const Span1 h1 = HalfPlane(cx, u1x * py, -u1y / ra, i1), h2 = HalfPlane(cx, -py * u2x, u2y / ra, i2);
        Cut c;
        if (span <= 180) {
            Span1 s{std::max(h1.x0, h2.x0), std::min(h1.x1, h2.x1)};
            if (span < 90) {
                // Rays a hair apart: only ahead of the centre, not the
                // mirror image behind it.
                const Span1 h3 = HalfPlane(cx, py * fy, fx / ra, i3);
                s = {std::max(s.x0, h3.x0), std::min(s.x1, h3.x1)};
            }
            c.Put(s);
        } else if (h1.Empty() || h2.Empty() || h1.x1 + 1 < h2.x0 || h2.x1 + 1 < h1.x0) {
            c.Put(h1);
            c.Put(h2);
        } else {
            c.Put({std::min(h1.x0, h2.x0), std::max(h1.x1, h2.x1)});
        }
        if (y == cy && cx == std::floor(cx) && !centreIn) {
            // The centre pixel has no direction: it counts as angle 0.
            const int x = int(cx);
            Cut out;
            for (int i = 0; i < c.n; ++i) {
                out.Put({c.part[i].x0, std::min(c.part[i].x1, x - 1)});
                out.Put({std::max(c.part[i].x0, x + 1), c.part[i].x1});
            }
            return out;
        }
        return c;
    }
};

// Parametric angle (degrees, counter-clockwise, y up) of the ray from the
// centre of the box through (x, y).
double RayAngle(int l, int t, int r, int b, int x, int y)
{
    const double rx = (double(r) - l) / 2.0, ry = (double(b) - t) / 2.0;
    double dx = x - (l + rx), dy = (t + ry) - y;
    if (rx > 0) dx /= rx;
    if (ry > 0) dy /= ry;
    if (dx == 0 && dy == 0)
        return 0;
    return std::atan2(dy, dx) * 180.0 / M_PI;
}

// The rows (as y, lowest first) of the points about the oval's centre within
// the box |dx| <= X, |dy| <= Y, or with Round the oval of those radii, that
// lie within the sweep W (a hair beyond its rays too) and
// outside the oval of radii IX, IY (the centre when they are 0). The
// region's extremes lie at the rays' ends at the outer bound and at the inner
// oval, and at the box's corners or the oval's top and bottom within the
// sweep.
std::pair<double, double> SweepRows(const Sweep& W, double X, double Y, bool Round, double IX, double IY)
{
    double lo = 1e300, hi = -1e300;
    auto put = [&](double dy) { lo = std::min(lo, W.cy + dy), hi = std::max(hi, W.cy + dy); };
    // Whether the direction (u, v) (scaled, y up) lies within the sweep, a
    // hair beyond its rays too.
    auto within = [&](double u, double v) {
        if (W.span >= 360)
            return true;
        const double l = W.u1x * v - W.u1y * u, r = u * W.u2y - v * W.u2x, tol = -1e-9 * (std::abs(u) + std::abs(v));
        return W.span <= 180 ? l >= tol && r >= tol : l >= tol || r >= tol;
    };
    for (int k = 0; k < 2; ++k) {
        // The ray's step in pixels: (c, -s).
        const double c = (k ? W.u2x : W.u1x) * W.ra, s = (k ? W.u2y : W.u1y) * W.rb;
        double t = 1e300;
        if (Round)
            t = 1 / std::hypot(c / X, s / Y);
        if (!Round && c != 0)
            t = X / std::abs(c);
        if (!Round && s != 0)
            t = std::min(t, Y / std::abs(s));
        put(-t * s);
        put(IX > 0 && IY > 0 ? -s / std::hypot(c / IX, s / IY) : 0.0);
    }
    for (int sx : {-1, 1})
        for (int sy : {-1, 1})
            if (within(Round ? 0.0 : sx * X / W.ra, sy * Y / W.rb))
                put(-sy * Y);
    return {lo, hi};
}

// The rows of the points of the same box on the kept side of a chord
// through A and B: its corners there and where the chord crosses its edges.
std::pair<double, double> SideRows(const Oval& o, double Ax, double Ay, double Bx, double By, double Side, double X, double Y)
{
    const double ax = Ax - o.cx, ay = Ay - o.cy, vx = Bx - Ax, vy = By - Ay;
    double lo = 1e300, hi = -1e300;
    auto put = [&](double dy) { lo = std::min(lo, o.cy + dy), hi = std::max(hi, o.cy + dy); };
    for (int sx : {-1, 1})
        for (int sy : {-1, 1})
            if (Side * (vx * (sy * Y - ay) - vy * (sx * X - ax)) >= -1e-6)
                put(sy * Y);
    for (int k : {-1, 1}) {
        if (vx != 0) {
            const double y = ay + (k * X - ax) / vx * vy;
            if (std::abs(y) <= Y)
                put(y);
        }
        if (vy != 0 && std::abs(ax + (k * Y - ay) / vy * vx) <= X)
            put(k * Y);
    }
    return {lo, hi};
}

// A region of one run a row over rows [Top, Bottom] (Row(y) gives it): the
// fill on every run, and with Edge the pixels that have a side neighbour
// outside as the pen's. Only the rows of the window are visited.
template <class R, class A>
void RegionRows(const raster::Clip& win, int Top, int Bottom, R&& Row, bool Edge, A&& Add)
{
    const int from = std::max(Top, win.Top), to = std::min(Bottom, win.Bottom);
    if (from > to)
        return;
    auto at = [&](int y) { return y < Top || y > Bottom ? Span1{} : Row(y); };
    Span1 above = at(from - 1), cur = at(from);
    for (int y = from; y <= to; ++y) {
        const Span1 below = at(y + 1);
        if (!cur.Empty()) {
            Add(cur.x0, cur.x1, y, Ink::Fill);
            if (Edge) {
                const int a = std::max({above.x0, below.x0, cur.x0 + 1}), b = std::min({above.x1, below.x1, cur.x1 - 1});
                if (a > b || above.Empty() || below.Empty()) {
                    Add(cur.x0, cur.x1, y, Ink::Pen);
                } else {
                    Add(cur.x0, a - 1, y, Ink::Pen);
                    Add(b + 1, cur.x1, y, Ink::Pen);
                }
            }
        }
        above = cur;
        cur = below;
    }
}

// The dashes of a thin pen along the outline of a region symmetric about
// its centre (Cx, Cy), its outermost pixel centres A across and B up and
// down from it. A pixel's place along the outline counts counter-clockwise
// from the right end of the middle row, a step to the next row or column
// one and a diagonal step two (A - |dx| + |dy| in the upper right quarter,
// and so on round); from the place From, 6 on and 2 off as along lines.
struct Dashes {
    double Cx, Cy, A, B;
    i64 From = 0;
    i64 Place(int x, int y) const
    {
        const double u = std::abs(x - Cx), v = std::abs(y - Cy), q = A + B;
        const double s = y <= Cy ? (x >= Cx ? A - u + v : q + u + B - v) : (x < Cx ? 2 * q + A - u + v : 3 * q + u + B - v);
        return i64(std::llround(s));
    }
    bool On(int x, int y) const
    {
        const i64 round = std::llround(4 * (A + B));
        i64 k = Place(x, y) - From;
        if (round > 0)
            k = (k % round + round) % round;
        return k % 8 < 6;
    }
};

// Hands on the runs of a region and its outline with the outline's dashes
// cut out: a run of the pen within the window pixel by pixel. (Kept out of
// line, so that the solid pens' runs, which may go here or straight on,
// are not slowed by it.)
class DashedRuns final : public Runs {
public:
    DashedRuns(const Dashes& D, const raster::Clip& Window, Runs& Out) : m_d(D), m_win(Window), m_out(Out) {}
    [[gnu::noinline]] void Add(int X0, int X1, int Y, Ink K) override
    {
        if (K != Ink::Pen) {
            m_out.Add(X0, X1, Y, K);
            return;
        }
        X0 = std::max(X0, m_win.Left), X1 = std::min(X1, m_win.Right);
        int from = X0;
        for (int x = X0; x <= X1; ++x)
            if (!m_d.On(x, Y)) {
                if (from < x)
                    m_out.Add(from, x - 1, Y, K);
                from = x + 1;
            }
        if (from <= X1)
            m_out.Add(from, X1, Y, K);
    }

private:
    Dashes m_d;
    raster::Clip m_win;
    Runs& m_out;
};

// A box's corners clamped far beyond any picture, so that arithmetic on them
// cannot overflow.
Box Clamped(i64 l, i64 t, i64 r, i64 b)
{
    auto c = [](i64 v) { return int(std::clamp<i64>(v, -(1 << 30), 1 << 30)); };
    return {c(l), c(t), c(r), c(b)};
}

// The box as the rules draw it: its corners in order, empty when it inks
// nothing; a wide pen kept inside moves the outline in, so that the pen's
// outer edge meets the box.
struct Frame {
    Box own;                        // the box itself, its corners in order
    int l = 0, t = 0, r = 0, b = 0; // the outline's box
    int fr = 0, fb = 0;             // the fill's right and bottom edge
    int W = 1;                      // the pen's width, 1 for a thin pen
    bool wide = false, ok = false;
    Frame(Box B, const Pen& P, int* CornerW = nullptr, int* CornerH = nullptr)
    {
        l = std::min(B.L, B.R), r = std::max(B.L, B.R), t = std::min(B.T, B.B), b = std::max(B.T, B.B);
        own = {l, t, r, b};
        if (i64(r) - l < 1 || i64(b) - t < 1)
            return;
        wide = P.On && P.Width > 1;
        W = wide ? std::min(P.Width, raster::kMaxPenWidth) : 1;
        if (wide && P.InsideFrame) {
            l += W / 2, t += W / 2, r -= (W - 1) / 2, b -= (W - 1) / 2;
            if (CornerW)
                *CornerW -= W - 1, *CornerH -= W - 1;
            if (i64(r) - l < 1) r = l + 1;
            if (i64(b) - t < 1) b = t + 1;
        }
        fr = P.On ? r : r - 1, fb = P.On ? b : b - 1;
        ok = i64(fr) - l >= 1 && i64(fb) - t >= 1;
    }
    // Wide pens of even width run half a pixel up and left of the outline.
    double Shift() const { return wide && W % 2 == 0 ? 0.5 : 0.0; }
};

// Ellipses and the shapes cut from them.
void OvalShape(Kind K, Box Bx, int x3, int y3, int x4, int y4, const Pen& P, bool Fill, const raster::Clip& win, Runs& Out)
{
    const Frame f(Bx, P);
    const bool fill = Fill && K != Kind::Arc;
    if (!f.ok || (!P.On && !fill))
        return;
    const int l = f.l, t = f.t, b = f.b, fb = f.fb, W = f.W;
    const bool pen = P.On, wide = f.wide, cut = K != Kind::Ellipse;
    // The rays run from the centre of the box itself, also where a pen kept
    // inside it moves the outline in.
    const Box& own = f.own;
    double a1 = 0, span = 360;
    if (cut) {
        a1 = RayAngle(own.L, own.T, own.R, own.B, x3, y3);
        span = RayAngle(own.L, own.T, own.R, own.B, x4, y4) - a1;
        while (span <= 0) span += 360;
        if (span > 360) span -= 360;
    }
    const Oval ov(l, t, f.fr, fb);
    const TPoint p1 = ov.At(a1), p2 = ov.At(a1 + span);
    // The oval's runs; a thin dashed pen's dashes start where the arc does.
    Dashes dashes{ov.cx, ov.cy, ov.a, ov.b};
    dashes.From = cut ? dashes.Place(p1.X, p1.Y) : 0;
    DashedRuns dashed(dashes, win, Out);
    Runs& ring = P.Dashed && !wide ? static_cast<Runs&>(dashed) : Out;
    auto add = [&](int x0, int x1, int y, Ink k) {
        if (k == Ink::Pen || fill)
            ring.Add(x0, x1, y, k);
    };
    // An arc runs between the rays. A pie or a chord keeps its arc and its
    // fill within its straight edges as they are drawn, between the pixels
    // of its ends (and centre), so that the fill stays inside the outline;
    // even wide pens draw them half a pixel up and left. Without a pen no
    // edge covers what lies between the rounded ends and the rays, so the
    // fill keeps to the rays themselves.
    const Oval rays(own.L, own.T, own.R, own.B);
    const Sweep sweep(rays, a1, span);
    const double shift = f.Shift();
    const TPoint c = ov.Centre();
    // The pie's edges from its centre pixel: an edge of no length keeps the
    // ray's direction, and the sweep between them is the one nearest the
    // rays'.
    auto edges = [&] {
        auto angle = [&](TPoint p, double ray) {
            if (p.X == c.X && p.Y == c.Y)
                return ray;
            return std::atan2((double(c.Y) - p.Y) / sweep.rb, (double(p.X) - c.X) / sweep.ra) * 180.0 / M_PI;
        };
        const double e1 = angle(p1, a1), e2 = angle(p2, a1 + span);
        const double eSpan = std::clamp(e2 - e1 - 360.0 * std::round((e2 - e1 - span) / 360.0), 0.0, 360.0);
        return Sweep(c.X - shift, c.Y - shift, sweep.ra, sweep.rb, e1, eSpan);
    };
    const Sweep wedge = (K == Kind::Pie || K == Kind::Chord) && pen ? edges() : sweep;
    // The chord's edge: the line through its end pixels (through the ends
    // themselves when they are one pixel, or when no pen draws it), kept on
    // the side where the arc runs from the line through the ends.
    double ax = 0, ay = 0, bx = 0, by = 0, sm = 1;
    if (K == Kind::Chord) {
        const Oval& arc = pen ? ov : rays;
        auto end = [&](double deg, double& x, double& y) {
            x = arc.cx + arc.a * std::cos(deg * M_PI / 180), y = arc.cy - arc.b * std::sin(deg * M_PI / 180);
        };
        double mx, my;
        end(a1, ax, ay);
        end(a1 + span, bx, by);
        end(a1 + span / 2, mx, my);
        sm = (bx - ax) * (my - ay) - (by - ay) * (mx - ax) >= 0 ? 1.0 : -1.0;
        if (pen && (p1.X != p2.X || p1.Y != p2.Y)) {
            // The same side of the line through the pixels, as it runs
            // the same way.
            if ((double(p2.X) - p1.X) * (bx - ax) + (double(p2.Y) - p1.Y) * (by - ay) < 0)
                sm = -sm;
            ax = p1.X, ay = p1.Y, bx = p2.X, by = p2.Y;
        }
        ax -= shift, ay -= shift, bx -= shift, by -= shift;
    }
    // The chord's side as the rule states it, the line itself left to the
    // edge drawn on it; the row's run, estimated by solving for x, is
    // settled by it where it ends within the window.
    auto chordSide = [&](int x, int y) {
        const double at = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        return sm > 0 ? at > kEps : at < -kEps;
    };
    const double c1 = -sm * (by - ay), inv1 = by != ay ? 1 / c1 : 0;
    // The columns and rows any pixel of the shape lies within from the centre.
    const double X = ov.a + W / 2.0 + 1, Y = ov.b + W / 2.0 + 1;
    const Span1 reach{ToInt(std::floor(ov.cx - X)), ToInt(std::ceil(ov.cx + X))};
    // The part of a row the shape keeps.
    auto keep = [&](int y) {
        if (K == Kind::Arc)
            return sweep.Row(y);
        if (K == Kind::Pie)
            return wedge.Row(y);
        Span1 h = HalfPlane(ax, sm * (bx - ax) * (y - ay), c1, inv1);
        if (by == ay && !chordSide(0, y)) {
            h = {};
        } else if (by != ay) {
            // The end the chord makes: widened while the pixel outside is
            // kept, narrowed while its own is not.
            const bool left = c1 > 0;
            int& end = left ? h.x0 : h.x1;
            const int out = left ? -1 : 1, outer = left ? win.Left - 2 : win.Right + 2;
            const int inner = left ? std::min(h.x1, win.Right + 1) + 1 : std::max(h.x0, win.Left - 1) - 1;
            if (end >= win.Left - 1 && end <= win.Right + 1) {
                while (end != outer && chordSide(end + out, y))
                    end += out;
                while (end != inner && !chordSide(end, y))
                    end -= out;
            }
        }
        // Within the pie of the same edges, or with more than half the
        // oval, the pie and the triangle of the edges; the pie is not asked
        // where the side alone settles what the row can ink.
        const bool joined = wedge.span > 180;
        const bool settled = joined ? h.x0 <= reach.x0 && h.x1 >= reach.x1 : h.Empty() || h.x1 < reach.x0 || h.x0 > reach.x1;
        if (settled) {
            Cut only;
            only.Put(h);
            return only;
        }
        return wedge.Row(y).With(h, joined);
    };
    // An arc, a pie or a chord visits only the rows its pixels can reach.
    raster::Clip rows = win;
    const Sweep& sw = K == Kind::Arc ? sweep : wedge;
    if (cut && sw.span < 360) {
        // Inside this oval no pixel of an arc lies: it is a pixel (a pen's
        // half and the even pens' shift) within the inner edge of the
        // outline.
        const double A = wide ? ov.a - W / 2.0 : ov.a, B = wide ? ov.b - W / 2.0 : ov.b;
        const double inner = std::min(A, B) > 0 && K == Kind::Arc ? std::max(0.0, 1 - 1.5 / std::min(A, B)) : 0.0;
        auto [lo, hi] = SweepRows(sw, X, Y, false, inner * A, inner * B);
        if (std::min(ov.a, ov.b) > 0) {
            // All the pixels lie within W / 2 + 1 of the outline, so within
            // the oval grown by that much over its shorter radius.
            const double grow = 1 + (W / 2.0 + 1) / std::min(ov.a, ov.b);
            const auto [rlo, rhi] = SweepRows(sw, ov.a * grow, ov.b * grow, true, inner * A, inner * B);
            lo = std::max(lo, rlo), hi = std::min(hi, rhi);
        }
        if (K == Kind::Chord) {
            const auto [slo, shi] = SideRows(ov, ax, ay, bx, by, sm, X, Y);
            if (sw.span > 180)
                lo = std::min(lo, slo), hi = std::max(hi, shi);
            else
                lo = std::max(lo, slo), hi = std::min(hi, shi);
        }
        rows.Top = std::max(win.Top, ToInt(std::floor(lo)) - 1);
        rows.Bottom = std::min(win.Bottom, ToInt(std::ceil(hi)) + 1);
    }
    int cutRow = INT_MIN;
    Cut kept;
    auto cutAdd = [&](int x0, int x1, int y, Ink k) {
        if (k == Ink::Fill && !fill)
            return;
        if (y != cutRow)
            cutRow = y, kept = keep(y);
        kept.Apply(x0, x1, [&](int a, int c) { ring.Add(a, c, y, k); });
    };
    if (!wide) {
        // Rows mirrored about the centre are alike: each pair is made once
        // (unless the oval is so tall that only a few rows show).
        const bool memo = i64(fb) - t <= 4 * (i64(win.Bottom) - win.Top + 1) + 64;
        std::vector<Span1> made(memo ? size_t(fb - t) : 0);
        std::vector<bool> known(made.size());
        auto row = [&](int y) {
            if (!memo)
                return ov.Row(y);
            const size_t k = size_t(std::min<i64>(i64(y) - t, i64(fb) - 1 - y));
            if (!known[k])
                made[k] = ov.Row(y), known[k] = true;
            return made[k];
        };
        if (cut)
            RegionRows(rows, t, fb - 1, row, pen, cutAdd);
        else
            RegionRows(rows, t, fb - 1, row, pen, add);
    } else {
        const Rounded o{ov.cx - shift, ov.cy - shift, ov.a, ov.b, ov.a, ov.b};
        const bool ring = ov.a - W / 2.0 > 0 && ov.b - W / 2.0 > 0;
        const int from = int(std::max<i64>(i64(t) - W, rows.Top)), to = int(std::min<i64>(i64(b) + W, rows.Bottom));
        if (cut)
            RingRows(o, W, ring, ov.a > 0 && ov.b > 0, from, to, cutAdd);
        else
            RingRows(o, W, ring, ov.a > 0 && ov.b > 0, from, to, add);
    }
    if (!pen)
        return;
    if (K == Kind::Arc && wide) {
        // Round ends.
        Stroke(P, &p1, 1, false, win, Out);
        Stroke(P, &p2, 1, false, win, Out);
    } else if (K == Kind::Pie || K == Kind::Chord) {
        // The straight edges close the outline: their last pixel too.
        const TPoint edge[3] = {p2, K == Kind::Pie ? c : p1, p1};
        const int n = K == Kind::Pie ? 3 : 2;
        Stroke(P, edge, n, false, win, Out);
        i64 length = 0;
        for (int i = 0; i + 1 < n; ++i)
            length += std::max(std::abs(i64(edge[i + 1].X) - edge[i].X), std::abs(i64(edge[i + 1].Y) - edge[i].Y));
        if (!wide && (!P.Dashed || length % 8 < 6) && p1.X >= win.Left && p1.X <= win.Right && p1.Y >= win.Top
            && p1.Y <= win.Bottom)
            Out.Add(p1.X, p1.X, p1.Y, Ink::Pen);
    }
}

} // namespace

Box Reach(Box B, const Pen& P)
{
    const i64 m = P.On && P.Width > 1 ? std::min(P.Width, raster::kMaxPenWidth) : 1;
    return Clamped(i64(std::min(B.L, B.R)) - m, i64(std::min(B.T, B.B)) - m, i64(std::max(B.L, B.R)) + m,
                   i64(std::max(B.T, B.B)) + m);
}

void Rectangle(Box Bx, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out)
{
    const Frame f(Bx, P);
    if (!f.ok)
        return;
    const int l = f.l, t = f.t, r = f.r, b = f.b, fr = f.fr;
    // A thin solid outline is the region's edge; other pens draw its sides.
    const bool edge = P.On && !f.wide && !P.Dashed;
    RegionRows(Window, t, f.fb - 1, [&](int) { return Span1{l, fr - 1}; }, edge, [&](int x0, int x1, int y, Ink k) {
        if (k == Ink::Pen || Fill)
            Out.Add(x0, x1, y, k);
    });
    if (P.On && !edge) {
        const TPoint c[4] = {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}};
        Stroke(P, c, 4, true, Window, Out);
    }
}

void Ellipse(Box B, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out)
{
    OvalShape(Kind::Ellipse, B, 0, 0, 0, 0, P, Fill, Window, Out);
}

void RoundRect(Box Bx, int CornerW, int CornerH, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out)
{
    const Frame f(Bx, P, &CornerW, &CornerH);
    if (!f.ok)
        return;
    const int l = f.l, t = f.t, r = f.r, b = f.b;
    auto add = [&](int x0, int x1, int y, Ink k) {
        if (k == Ink::Pen || Fill)
            Out.Add(x0, x1, y, k);
    };
    if (!f.wide) {
        const RoundBox rb{l, t, f.fr, f.fb, CornerW, CornerH};
        const Dashes dashes{(double(l) + f.fr - 1) / 2, (double(t) + f.fb - 1) / 2, (double(f.fr) - 1 - l) / 2,
                            (double(f.fb) - 1 - t) / 2};
        DashedRuns dashed(dashes, Window, Out);
        Runs& ring = P.Dashed ? static_cast<Runs&>(dashed) : Out;
        RegionRows(Window, t, f.fb - 1, [&](int y) { return rb.Row(y); }, P.On, [&](int x0, int x1, int y, Ink k) {
            if (k == Ink::Pen || Fill)
                ring.Add(x0, x1, y, k);
        });
        return;
    }
    // The pen centred on the outline of the one-pixel pen.
    const int W = f.W;
    const double shift = f.Shift();
    const i64 cw = std::min<i64>(CornerW, i64(r) - l), ch = std::min<i64>(CornerH, i64(b) - t);
    const bool round = cw >= 2 && ch >= 2;
    const Rounded o{(double(l) + r - 1) / 2 - shift, (double(t) + b - 1) / 2 - shift, (double(r) - 1 - l) / 2,
                    (double(b) - 1 - t) / 2, round ? (cw - 1) / 2.0 : 0.0, round ? (ch - 1) / 2.0 : 0.0};
    RingRows(o, W, true, true, int(std::max<i64>(i64(t) - W, Window.Top)), int(std::min<i64>(i64(b) + W, Window.Bottom)), add);
}

void Arc(Box B, int X3, int Y3, int X4, int Y4, const Pen& P, const raster::Clip& Window, Runs& Out)
{
    OvalShape(Kind::Arc, B, X3, Y3, X4, Y4, P, false, Window, Out);
}

void Pie(Box B, int X3, int Y3, int X4, int Y4, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out)
{
    OvalShape(Kind::Pie, B, X3, Y3, X4, Y4, P, Fill, Window, Out);
}

void Chord(Box B, int X3, int Y3, int X4, int Y4, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out)
{
    OvalShape(Kind::Chord, B, X3, Y3, X4, Y4, P, Fill, Window, Out);
}

void Polygon(const TPoint* Pts, int Count, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out)
{
    if (Count < 2)
        return;
    if (Fill) {
        // Alternate fill: the pixel centres between the first and second edge
        // crossed along a row, the third and fourth, and so on; the right and
        // lower edges stay out, as a fill without a pen shows.
        i64 t = Pts[0].Y, b = Pts[0].Y;
        for (int i = 1; i < Count; ++i)
            t = std::min<i64>(t, Pts[i].Y), b = std::max<i64>(b, Pts[i].Y);
        std::vector<double> xs;
        for (int y = int(std::max<i64>(t, Window.Top)); y <= std::min<i64>(b, Window.Bottom); ++y) {
            xs.clear();
            for (int i = 0; i < Count; ++i) {
                const TPoint a = Pts[i], c = Pts[(i + 1) % Count];
                if (a.Y == c.Y)
                    continue;
                if (y >= std::min(a.Y, c.Y) && y < std::max(a.Y, c.Y))
                    xs.push_back(a.X + double(y - double(a.Y)) * (double(c.X) - a.X) / (double(c.Y) - a.Y));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t k = 0; k + 1 < xs.size(); k += 2) {
                const double x0 = std::clamp(std::ceil(xs[k] - kEps), double(INT_MIN / 2), double(INT_MAX / 2));
                const double x1 = std::clamp(std::ceil(xs[k + 1] - kEps) - 1, double(INT_MIN / 2), double(INT_MAX / 2));
                Out.Add(int(x0), int(x1), y, Ink::Fill);
            }
        }
    }
    Stroke(P, Pts, Count, true, Window, Out);
}

} // namespace shape
