#pragma once
// The pixels of the canvas's lines. Everything that draws lines, the canvas
// through a painter and the trace screen straight into a frame's pixels,
// takes its pixels from here, so that every drawing path inks the same ones.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace raster {

// A one-pixel line from (X0, Y0) towards (X1, Y1): the start pixel up to,
// not including, the end pixel, whichever way the line runs. Along the
// major axis every pixel takes the exact minor coordinate rounded, halves
// going to the smaller coordinate, so a line inks the same pixels drawn
// from either end. Calls Pixel(x, y) from the start onward.
template <class F>
void ThinLinePixels(int X0, int Y0, int X1, int Y1, F&& Pixel)
{
    const int dx = X1 - X0, dy = Y1 - Y0;
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const int major = xMajor ? std::abs(dx) : std::abs(dy);
    const int minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    // On a tie the minor coordinate moves only when it moves toward smaller.
    const int bias = minorStep < 0 ? 1 : 0;
    int x = X0, y = Y0;
    int err = 2 * minor - major;
    for (int i = 0; i < major; ++i) {
        Pixel(x, y);
        if (err + bias > 0) {
            (xMajor ? y : x) += minorStep;
            err += 2 * minor - 2 * major;
        } else {
            err += 2 * minor;
        }
        (xMajor ? x : y) += majorStep;
    }
}

// The same line as horizontal runs: Span(x0, x1, y) with x0 <= x1.
template <class F>
void ThinLine(int X0, int Y0, int X1, int Y1, F&& Span)
{
    bool open = false;
    int a = 0, b = 0, row = 0;
    ThinLinePixels(X0, Y0, X1, Y1, [&](int x, int y) {
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

// Whether the centre of pixel (x, y) lies within Width / 2 of the segment
// from (X0, Y0) to (X1, Y1); exact, in integers.
inline bool InWideLine(int X0, int Y0, int X1, int Y1, int Width, int x, int y)
{
    const std::int64_t vx = X1 - X0, vy = Y1 - Y0;
    const std::int64_t px = x - X0, py = y - Y0;
    const std::int64_t w2 = std::int64_t(Width) * Width;
    const std::int64_t dot = px * vx + py * vy;
    const std::int64_t len2 = vx * vx + vy * vy;
    if (dot <= 0)
        return 4 * (px * px + py * py) <= w2;
    if (dot >= len2) {
        const std::int64_t qx = x - X1, qy = y - Y1;
        return 4 * (qx * qx + qy * qy) <= w2;
    }
    const std::int64_t cross = px * vy - py * vx;
    // cross² · 4 <= w² · len2, kept in range by comparing as doubles when large.
    const double lhs = 4.0 * double(cross) * double(cross);
    const double rhs = double(w2) * double(len2);
    if (lhs < 9e15 && rhs < 9e15)
        return 4 * cross * cross <= w2 * len2;
    return lhs <= rhs;
}

// A line of Width pixels with round ends: every pixel whose centre lies
// within Width / 2 of the segment, as Span(x0, x1, y) runs, one per row.
template <class F>
void WideLine(int X0, int Y0, int X1, int Y1, int Width, F&& Span)
{
    const double r = Width / 2.0;
    const double vx = X1 - X0, vy = Y1 - Y0;
    const double len = std::sqrt(vx * vx + vy * vy);
    const int yTop = int(std::floor(std::min(Y0, Y1) - r));
    const int yBot = int(std::ceil(std::max(Y0, Y1) + r));
    auto in = [&](int x, int y) { return InWideLine(X0, Y0, X1, Y1, Width, x, y); };
    for (int y = yTop; y <= yBot; ++y) {
        // A slightly generous estimate of the row's run, then made exact.
        double lo = 1e18, hi = -1e18;
        const double re = r + 1e-6;
        auto disc = [&](int cx, int cy) {
            const double d = y - cy;
            if (d * d <= re * re) {
                const double half = std::sqrt(re * re - d * d);
                lo = std::min(lo, cx - half);
                hi = std::max(hi, cx + half);
            }
        };
        disc(X0, Y0);
        disc(X1, Y1);
        if (len > 0) {
            const double ux = vx / len, uy = vy / len;
            const double ry = y - Y0;
            double a = -1e18, b = 1e18;
            if (uy != 0) {
                double p = (ry * ux - re) / uy, q = (ry * ux + re) / uy;
                if (p > q)
                    std::swap(p, q);
                a = std::max(a, p);
                b = std::min(b, q);
            } else if (std::abs(ry) > re) {
                a = 1, b = 0;
            }
            if (ux != 0) {
                double p = (0 - ry * uy) / ux, q = (len - ry * uy) / ux;
                if (p > q)
                    std::swap(p, q);
                a = std::max(a, p);
                b = std::min(b, q);
            } else if (ry * uy < 0 || ry * uy > len) {
                a = 1, b = 0;
            }
            if (a <= b) {
                lo = std::min(lo, X0 + a);
                hi = std::max(hi, X0 + b);
            }
        }
        if (lo > hi)
            continue;
        int x0 = int(std::floor(lo)), x1 = int(std::ceil(hi));
        while (x0 <= x1 && !in(x0, y))
            ++x0;
        while (x1 >= x0 && !in(x1, y))
            --x1;
        if (x0 > x1)
            continue;
        while (in(x0 - 1, y))
            --x0;
        while (in(x1 + 1, y))
            ++x1;
        Span(x0, x1, y);
    }
}

} // namespace raster
