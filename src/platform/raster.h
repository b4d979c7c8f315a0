#pragma once
// The pixels of the canvas's lines. Everything that draws lines, the canvas
// through a painter and the trace screen straight into a frame's pixels,
// takes its pixels from here, so that every drawing path inks the same ones.
//
// Every rule works row by row and only over the rows and columns of a clip
// box, so a line reaching far off the picture costs what its visible part
// costs. Coordinates may be any int: the arithmetic is done in 128 bits where
// products of two differences would not fit 64.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <utility>
#include <vector>

namespace raster {

using i64 = std::int64_t;
using i128 = __int128;

// The pixels that may show, both ends included.
struct Clip {
    int Left = INT_MIN, Top = INT_MIN, Right = INT_MAX, Bottom = INT_MAX;
};

// Sets N 32-bit pixels from P on; the C library's wide-character fill is
// its fastest 32-bit fill.
inline void Fill32(std::uint32_t* P, i64 N, std::uint32_t V)
{
    static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
    if (N < 16)
        std::fill_n(P, N, V);
    else
        std::wmemset(reinterpret_cast<wchar_t*>(P), wchar_t(V), size_t(N));
}

// The widest pen drawn as wide; wider ones are drawn this wide, which still
// covers any picture.
constexpr int kMaxPenWidth = 1 << 14;

inline i128 FloorDiv(i128 a, i128 b) // b > 0
{
    if (a >= INT64_MIN && a <= INT64_MAX && b <= INT64_MAX) {
        const i64 q = i64(a) / i64(b), r = i64(a) % i64(b);
        return r < 0 ? q - 1 : q;
    }
    const i128 q = a / b, r = a % b;
    return r < 0 ? q - 1 : q;
}
inline i128 CeilDiv(i128 a, i128 b) { return -FloorDiv(-a, b); }

// Narrows [Lo, Hi] to the integers t with L <= P*t + Q <= U.
inline void Solve(i128 P, i128 Q, i128 L, i128 U, i128& Lo, i128& Hi)
{
    if (P < 0)
        P = -P, Q = -Q, std::swap(L, U), L = -L, U = -U;
    if (P == 0) {
        if (Q < L || Q > U)
            Hi = Lo - 1;
        return;
    }
    Lo = std::max(Lo, CeilDiv(L - Q, P));
    Hi = std::min(Hi, FloorDiv(U - Q, P));
}

// floor(N / P) and ceil(N / P) of a numerator that changes by a constant
// from one row to the next, without a division per row.
class Stepper {
public:
    Stepper() = default;
    Stepper(i128 N, i64 P, i64 DN) : m_p(P)
    {
        m_q = FloorDiv(N, P);
        m_r = i64(N - m_q * P);
        const i64 dq = i64(FloorDiv(DN, P));
        m_dq = dq;
        m_dr = DN - dq * P;
    }
    void Step()
    {
        m_q += m_dq;
        m_r += m_dr;
        if (m_r >= m_p)
            m_r -= m_p, ++m_q;
    }
    i128 Floor() const { return m_q; }
    i128 Ceil() const { return m_q + (m_r != 0); }

private:
    i128 m_q = 0;
    i64 m_p = 1, m_r = 0, m_dq = 0, m_dr = 0;
};

// The integers u with L <= P*u + Q(y) <= U on successive rows, Q changing by
// DQ a row: the lower bound is Lo(), the upper Hi(). P may be of any sign.
class Bounds {
public:
    Bounds(i64 P, i128 Q, i64 DQ, i128 L, i128 U)
    {
        if (P < 0)
            P = -P, Q = -Q, DQ = -DQ, std::swap(L, U), L = -L, U = -U;
        m_flat = P == 0;
        if (m_flat) {
            m_q = Q, m_dq = DQ, m_l = L, m_u = U;
            return;
        }
        // u >= ceil((L - Q) / P), u <= floor((U - Q) / P).
        m_lo = Stepper(L - Q, P, -DQ);
        m_hi = Stepper(U - Q, P, -DQ);
    }
    void Step()
    {
        if (m_flat)
            m_q += m_dq;
        else
            m_lo.Step(), m_hi.Step();
    }
    static constexpr i128 kFar = i128(1) << 100;
    i128 Lo() const { return m_flat ? (m_q >= m_l && m_q <= m_u ? -kFar : kFar) : m_lo.Ceil(); }
    i128 Hi() const { return m_flat ? (m_q >= m_l && m_q <= m_u ? kFar : -kFar) : m_hi.Floor(); }

private:
    bool m_flat = false;
    i128 m_q = 0, m_l = 0, m_u = 0;
    i64 m_dq = 0;
    Stepper m_lo, m_hi;
};

// A one-pixel line from (X0, Y0) towards (X1, Y1): the start pixel up to,
// not including, the end pixel, whichever way the line runs. Along the
// major axis every pixel takes the exact minor coordinate rounded, halves
// going to the smaller coordinate, so a line inks the same pixels drawn
// from either end. Calls Pixel(x, y, i) for the pixels within C, i counting
// from the start pixel.
template <class F>
void ThinLinePixels(int X0, int Y0, int X1, int Y1, const Clip& C, F&& Pixel)
{
    const i64 dx = i64(X1) - X0, dy = i64(Y1) - Y0;
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const i64 n = std::max(std::abs(dx), std::abs(dy));
    if (n == 0)
        return;
    const i64 M0 = xMajor ? X0 : Y0, m0 = xMajor ? Y0 : X0;
    const i64 step = (xMajor ? dx : dy) < 0 ? -1 : 1, minor = xMajor ? dy : dx;
    const i64 mLo = xMajor ? C.Left : C.Top, mHi = xMajor ? C.Right : C.Bottom;
    const i64 nLo = xMajor ? C.Top : C.Left, nHi = xMajor ? C.Bottom : C.Right;
    // Pixel i: major M0 + step*i, minor m0 + floor((2*minor*i + n - 1) / 2n).
    const i64 den = 2 * n;
    i128 lo = 0, hi = n - 1;
    i128 q = 0;
    i64 r = n - 1;
    const bool inside = std::min(X0, X1) >= C.Left && std::max(X0, X1) <= C.Right && std::min(Y0, Y1) >= C.Top
                        && std::max(Y0, Y1) <= C.Bottom;
    if (!inside) {
        Solve(step, M0, mLo, mHi, lo, hi);
        Solve(2 * minor, n - 1, i128(nLo - m0) * den, i128(nHi - m0 + 1) * den - 1, lo, hi);
        if (lo > hi)
            return;
        const i128 num = 2 * i128(minor) * lo + n - 1;
        q = FloorDiv(num, den);
        r = i64(num - q * den);
    }
    i64 M = M0 + step * i64(lo), m = m0 + i64(q);
    for (i64 i = i64(lo); i <= i64(hi); ++i) {
        if (xMajor)
            Pixel(int(M), int(m), i);
        else
            Pixel(int(m), int(M), i);
        M += step;
        r += 2 * minor;
        if (r >= den)
            r -= den, ++m;
        else if (r < 0)
            r += den, --m;
    }
}

// The same line as horizontal runs: Span(x0, x1, y) with x0 <= x1.
template <class F>
void ThinLine(int X0, int Y0, int X1, int Y1, const Clip& C, F&& Span)
{
    if (Y0 == Y1) {
        // A row: one run.
        if (Y0 < C.Top || Y0 > C.Bottom || X0 == X1)
            return;
        const int a = X0 < X1 ? X0 : X1 + 1, b = X0 < X1 ? X1 - 1 : X0;
        const int l = std::max(a, C.Left), r = std::min(b, C.Right);
        if (l <= r)
            Span(l, r, Y0);
        return;
    }
    bool open = false;
    int a = 0, b = 0, row = 0;
    ThinLinePixels(X0, Y0, X1, Y1, C, [&](int x, int y, i64) {
        if (open && y == row && (x == a - 1 || x == b + 1)) {
            a = std::min(a, x);
            b = std::max(b, x);
            return;
        }
        if (open)
            Span(a, b, row);
        open = true;
        a = b = x;
        row = y;
    });
    if (open)
        Span(a, b, row);
}

// The round end of a pen of Width pixels: for each row offset dy from
// -(Width / 2) to (Width - 1) / 2 the largest dx whose pixel lies within
// Width / 2 of the end; the row's run is [-dx - e, dx] with e = 1 for even
// widths (whose line runs half a pixel up and left of the pixel centres).
inline const int* CapHalfWidths(int Width, std::vector<int>& Scratch)
{
    auto fill = [Width](std::vector<int>& t) {
        const int e = Width % 2 == 0;
        const i64 w2 = i64(Width) * Width;
        t.resize(size_t(Width));
        for (int dy = -(Width / 2); dy <= (Width - 1) / 2; ++dy) {
            const i64 py = 2 * dy + e, room = w2 - py * py;
            i64 h = i64(std::sqrt(double(room))) / 2 + 1;
            while (h > 0 && (2 * h + e) * (2 * h + e) > room)
                --h;
            while ((2 * (h + 1) + e) * (2 * (h + 1) + e) <= room)
                ++h;
            t[size_t(dy + Width / 2)] = int(h);
        }
    };
    constexpr int kCached = 64;
    if (Width < kCached) {
        static thread_local std::vector<int> cache[kCached];
        std::vector<int>& t = cache[Width];
        if (t.empty())
            fill(t);
        return t.data();
    }
    fill(Scratch);
    return Scratch.data();
}

// A line of Width pixels with round ends: every pixel whose centre lies
// within Width / 2 of the segment, as Span(x0, x1, y) runs, one per row
// within C. For odd widths the segment runs through the pixel centres of its
// ends, for even widths half a pixel up and left of them, so that the line is
// Width pixels across. A pixel centre exactly Width / 2 off the segment
// counts on the side of the smaller minor coordinate only.
template <class F>
void WideLineRows(int X0, int Y0, int X1, int Y1, int Width, const Clip& C, F&& Span)
{
    const int W = std::clamp(Width, 1, kMaxPenWidth);
    const int e = W % 2 == 0;
    const int up = W / 2, down = (W - 1) / 2;
    const i64 top = std::max<i64>(i64(std::min(Y0, Y1)) - up, C.Top);
    const i64 bottom = std::min<i64>(i64(std::max(Y0, Y1)) + down, C.Bottom);
    if (top > bottom || i64(std::max(X0, X1)) + up < C.Left || i64(std::min(X0, X1)) - up > C.Right)
        return;
    std::vector<int> scratch;
    const int* cap = CapHalfWidths(W, scratch);

    // In doubled coordinates a pixel centre lies at P = (2u + e, 2(y - Y0) + e)
    // from the doubled start, u = x - X0; V is the segment.
    const i64 vx = i64(X1) - X0, vy = i64(Y1) - Y0;
    const i128 len2 = i128(vx) * vx + i128(vy) * vy;
    const bool band = len2 > 0;
    // Within the band: |cross(P, V)| <= W * |V|, in integers: |cross| <= T.
    const i128 w2len2 = i128(W) * W * len2;
    i128 T = i128(std::sqrt(double(w2len2)));
    while (T > 0 && T * T > w2len2)
        --T;
    while ((T + 1) * (T + 1) <= w2len2)
        ++T;
    i128 lc = -T, uc = T;
    if (T * T == w2len2) {
        // A tie: only the side of the smaller minor coordinate keeps it.
        const bool xMajor = std::abs(vx) > std::abs(vy);
        if (xMajor ? vx > 0 : vy < 0)
            lc += 1;
        else
            uc -= 1;
    }
    const i128 py0 = 2 * (i128(top) - Y0) + e;
    // cross = 2vy*u + (e*vy - Py*vx); dot = 2vx*u + (e*vx + Py*vy) in [0, 2 len2].
    Bounds across(2 * vy, e * i128(vy) - py0 * vx, -2 * vx, lc, uc);
    Bounds along(2 * vx, e * i128(vx) + py0 * vy, 2 * vy, 0, 2 * len2);
    for (i64 y = top; y <= bottom; ++y) {
        i128 lo = Bounds::kFar, hi = -Bounds::kFar;
        for (int k = 0; k < 2; ++k) {
            const i64 dy = y - (k ? Y1 : Y0), cx = k ? X1 : X0;
            if (dy < -up || dy > down)
                continue;
            const int h = cap[dy + up];
            lo = std::min<i128>(lo, cx - h - e);
            hi = std::max<i128>(hi, cx + h);
        }
        if (band) {
            const i128 a = std::max(across.Lo(), along.Lo()), b = std::min(across.Hi(), along.Hi());
            if (a <= b) {
                lo = std::min(lo, X0 + a);
                hi = std::max(hi, X0 + b);
            }
            across.Step();
            along.Step();
        }
        lo = std::max<i128>(lo, C.Left);
        hi = std::min<i128>(hi, C.Right);
        if (lo <= hi)
            Span(int(lo), int(hi), int(y));
    }
}

// The runs of a short wide segment from the origin, kept once made: a
// trace is thousands of such segments a frame.
struct Stamp {
    int Top = 0;
    std::vector<std::pair<int, int>> Rows; // [x0, x1] of rows Top, Top + 1, ...
};
constexpr int kStampReach = 16, kStampWidth = 32;

inline const Stamp& ShortSegment(int Vx, int Vy, int Width)
{
    constexpr int side = 2 * kStampReach + 1;
    static thread_local std::vector<Stamp> stamps(size_t(side) * side * (kStampWidth + 1));
    Stamp& s = stamps[(size_t(Width) * side + size_t(Vy + kStampReach)) * side + size_t(Vx + kStampReach)];
    if (s.Rows.empty()) {
        s.Top = INT_MAX;
        WideLineRows(0, 0, Vx, Vy, Width, Clip{}, [&](int a, int b, int y) {
            if (s.Top == INT_MAX)
                s.Top = y;
            s.Rows.emplace_back(a, b);
        });
    }
    return s;
}

template <class F>
void WideLine(int X0, int Y0, int X1, int Y1, int Width, const Clip& C, F&& Span)
{
    const i64 vx = i64(X1) - X0, vy = i64(Y1) - Y0;
    if (Width > kStampWidth || vx < -kStampReach || vx > kStampReach || vy < -kStampReach || vy > kStampReach) {
        WideLineRows(X0, Y0, X1, Y1, Width, C, Span);
        return;
    }
    const Stamp& s = ShortSegment(int(vx), int(vy), std::max(Width, 1));
    const i64 first = std::max<i64>(i64(Y0) + s.Top, C.Top) - (i64(Y0) + s.Top);
    const i64 last = std::min<i64>(i64(Y0) + s.Top + i64(s.Rows.size()) - 1, C.Bottom) - (i64(Y0) + s.Top);
    for (i64 i = first; i <= last; ++i) {
        const i64 a = std::max<i64>(i64(X0) + s.Rows[size_t(i)].first, C.Left);
        const i64 b = std::min<i64>(i64(X0) + s.Rows[size_t(i)].second, C.Right);
        if (a <= b)
            Span(int(a), int(b), int(i64(Y0) + s.Top + i));
    }
}

} // namespace raster
