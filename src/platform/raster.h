#pragma once
// The pixels of the canvas's lines. Everything that draws lines, the canvas
// through a painter and the trace screen straight into a frame's pixels,
// takes its pixels from here, so that every drawing path inks the same ones.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <climits>
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

// A line of Width pixels with round ends: every pixel whose centre lies
// within Width / 2 of the segment, as Span(x0, x1, y) runs, one per row.
template <class F>
void WideLine(int X0, int Y0, int X1, int Y1, int Width, F&& Span)
{
    const std::int64_t vx = X1 - X0, vy = Y1 - Y0;
    const std::int64_t len2 = vx * vx + vy * vy;
    const std::int64_t w2 = std::int64_t(Width) * Width;
    const double len = std::sqrt(double(len2));
    const double re = Width / 2.0 + 1e-6;
    const int reach = Width / 2;
    // Beside the segment (not at its ends), exactly.
    auto band = [&](std::int64_t px, std::int64_t py) {
        const std::int64_t dot = px * vx + py * vy;
        if (dot <= 0 || dot >= len2)
            return false;
        const std::int64_t cross = px * vy - py * vx;
        if (cross < 40000000 && cross > -40000000 && len2 < (std::int64_t(1) << 40) && w2 < (1 << 16))
            return 4 * cross * cross <= w2 * len2;
        return 4.0 * double(cross) * double(cross) <= double(w2) * double(len2);
    };
    const int yTop = std::min(Y0, Y1) - reach, yBot = std::max(Y0, Y1) + reach;
    for (int y = yTop; y <= yBot; ++y) {
        int lo = INT32_MAX, hi = INT32_MIN;
        // The round ends: the pixel centres of the row within Width / 2.
        for (int k = 0; k < 2; ++k) {
            const int cx = k ? X1 : X0, cy = k ? Y1 : Y0;
            const std::int64_t m = w2 - 4 * std::int64_t(y - cy) * (y - cy);
            if (m < 0)
                continue;
            std::int64_t h = std::int64_t(std::sqrt(double(m)) * 0.5);
            while (4 * (h + 1) * (h + 1) <= m)
                ++h;
            while (h > 0 && 4 * h * h > m)
                --h;
            lo = std::min(lo, int(cx - h));
            hi = std::max(hi, int(cx + h));
        }
        if (len2 > 0) {
            // The band: an estimate of its run, then made exact.
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
                const std::int64_t py = y - Y0;
                std::int64_t xa = std::int64_t(std::floor(a)), xb = std::int64_t(std::ceil(b));
                while (xa <= xb && !band(xa, py))
                    ++xa;
                while (xb >= xa && !band(xb, py))
                    --xb;
                if (xa <= xb) {
                    while (band(xa - 1, py))
                        --xa;
                    while (band(xb + 1, py))
                        ++xb;
                    lo = std::min(lo, int(X0 + xa));
                    hi = std::max(hi, int(X0 + xb));
                }
            }
        }
        if (lo <= hi)
            Span(lo, hi, y);
    }
}

} // namespace raster
