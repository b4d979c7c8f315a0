#include "platform/graphics.h"
#include "platform/stdctrls.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Counts the pixels of one colour in a row or column range.
bool isColor(TBitmap& b, int x, int y, TColor c) { return b.Canvas().Pixel(x, y) == c; }

TBitmap whiteBitmap(int w, int h)
{
    TBitmap b(w, h);
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect(TRect(0, 0, w, h));
    return b;
}

TEST(CanvasLines, LineToLeavesOutTheLastPixel)
{
    TBitmap b = whiteBitmap(12, 12);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clBlack;
    c.MoveTo(1, 1);
    c.LineTo(7, 1);
    for (int x = 1; x < 7; ++x)
        EXPECT_TRUE(isColor(b, x, 1, clBlack)) << x;
    EXPECT_TRUE(isColor(b, 7, 1, clWhite));
    EXPECT_TRUE(isColor(b, 0, 1, clWhite));
    EXPECT_EQ(c.PenPos(), TPoint(7, 1));

    // Diagonal and vertical: the end point stays white too.
    c.MoveTo(1, 3);
    c.LineTo(6, 8);
    EXPECT_TRUE(isColor(b, 1, 3, clBlack));
    EXPECT_TRUE(isColor(b, 5, 7, clBlack));
    EXPECT_TRUE(isColor(b, 6, 8, clWhite));
}

TEST(CanvasLines, PolylineJoinsSegmentsAndLeavesOutOnlyTheFinalPixel)
{
    TBitmap b = whiteBitmap(12, 12);
    TCanvas& c = b.Canvas();
    TPoint pts[] = {{1, 1}, {7, 1}, {7, 6}};
    c.Polyline(pts, 3);
    EXPECT_TRUE(isColor(b, 7, 1, clBlack)); // the corner is drawn
    EXPECT_TRUE(isColor(b, 7, 5, clBlack));
    EXPECT_TRUE(isColor(b, 7, 6, clWhite)); // the last point is not
}

TEST(CanvasShapes, RectangleExcludesRightAndBottomEdge)
{
    TBitmap b = whiteBitmap(12, 12);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.Rectangle(2, 2, 7, 6);
    EXPECT_TRUE(isColor(b, 2, 2, clBlack));
    EXPECT_TRUE(isColor(b, 6, 5, clBlack));  // right-bottom corner inside
    EXPECT_TRUE(isColor(b, 7, 5, clWhite));  // right edge excluded
    EXPECT_TRUE(isColor(b, 6, 6, clWhite));  // bottom edge excluded
    EXPECT_TRUE(isColor(b, 3, 3, clRed));
    EXPECT_TRUE(isColor(b, 5, 4, clRed));
}

TEST(CanvasShapes, RectangleWithoutPenFillsOnePixelLess)
{
    TBitmap b = whiteBitmap(12, 12);
    TCanvas& c = b.Canvas();
    c.Pen.Style = TPenStyle::psClear;
    c.Brush.Color = clBlue;
    c.Rectangle(2, 2, 7, 6);
    EXPECT_TRUE(isColor(b, 2, 2, clBlue));
    EXPECT_TRUE(isColor(b, 5, 4, clBlue));
    EXPECT_TRUE(isColor(b, 6, 4, clWhite));
    EXPECT_TRUE(isColor(b, 5, 5, clWhite));
}

TEST(CanvasShapes, EllipseStaysInsideItsBox)
{
    TBitmap b = whiteBitmap(20, 20);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clLime;
    c.Ellipse(2, 2, 12, 12);
    int minx = 99, maxx = -1, miny = 99, maxy = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (!isColor(b, x, y, clWhite)) {
                minx = std::min(minx, x); maxx = std::max(maxx, x);
                miny = std::min(miny, y); maxy = std::max(maxy, y);
            }
    EXPECT_EQ(minx, 2);
    EXPECT_EQ(miny, 2);
    EXPECT_EQ(maxx, 11);
    EXPECT_EQ(maxy, 11);
    EXPECT_TRUE(isColor(b, 7, 7, clLime));
}

TEST(CanvasShapes, ArcRunsCounterClockwiseFromFirstRayToSecond)
{
    TBitmap b = whiteBitmap(40, 40);
    TCanvas& c = b.Canvas();
    // From the right (3 o'clock) counter-clockwise to the top: the upper
    // right quarter only.
    c.Arc(0, 0, 40, 40, 40, 20, 20, 0);
    bool upperRight = false, lowerHalf = false, upperLeft = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (isColor(b, x, y, clBlack)) {
                if (x > 22 && y < 18) upperRight = true;
                if (y > 22) lowerHalf = true;
                if (x < 18 && y < 18) upperLeft = true;
            }
    EXPECT_TRUE(upperRight);
    EXPECT_FALSE(lowerHalf);
    EXPECT_FALSE(upperLeft);
}

TEST(CanvasModes, XorPenDrawnTwiceRestoresThePicture)
{
    TBitmap b = whiteBitmap(10, 10);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clGreen;
    c.FillRect(TRect(0, 0, 5, 10));
    c.Pen.Mode = TPenMode::pmXor;
    c.Pen.Color = clWhite;
    c.MoveTo(0, 4);
    c.LineTo(10, 4);
    EXPECT_EQ(c.Pixel(1, 4), TColor(0xFFFFFF ^ 0x008000));
    EXPECT_EQ(c.Pixel(8, 4), clBlack);
    c.MoveTo(0, 4);
    c.LineTo(10, 4);
    EXPECT_EQ(c.Pixel(1, 4), clGreen);
    EXPECT_EQ(c.Pixel(8, 4), clWhite);
    // A wide polyline crossing itself and a filled oval paint every pixel
    // once: the crossing and the outline are inverted once, not restored.
    const QImage before = b.Image();
    const TPoint loop[] = {{1, 1}, {8, 8}, {8, 1}, {1, 8}};
    c.Brush.Color = clRed;
    for (int twice = 0; twice < 2; ++twice) {
        c.Pen.Width = 3;
        c.Polyline(loop, 4);
        if (twice == 0) {
            EXPECT_EQ(c.Pixel(4, 4), TColor(0xFFFFFF ^ 0x008000));
        }
        c.Pen.Width = 1;
        c.Ellipse(1, 1, 9, 9);
        c.Pie(0, 0, 10, 10, 10, 5, 5, 10);
    }
    EXPECT_EQ(b.Image(), before);
    c.Ellipse(1, 1, 9, 9);
    EXPECT_EQ(c.Pixel(1, 5), TColor(0xFFFFFF ^ 0x008000));
}

TEST(CanvasFill, FillRectFrameRectAndFocusRect)
{
    TBitmap b = whiteBitmap(10, 10);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clRed;
    c.FrameRect(TRect(1, 1, 6, 6));
    EXPECT_EQ(c.Pixel(1, 1), clRed);
    EXPECT_EQ(c.Pixel(5, 5), clRed);
    EXPECT_EQ(c.Pixel(3, 3), clWhite);
    EXPECT_EQ(c.Pixel(6, 6), clWhite);

    c.DrawFocusRect(TRect(0, 0, 10, 10));
    EXPECT_NE(c.Pixel(0, 0), clWhite);
    c.DrawFocusRect(TRect(0, 0, 10, 10));
    EXPECT_EQ(c.Pixel(0, 0), clWhite);

    // A 3-D frame inks each ring's two polylines, right and bottom over left
    // and top, also where the rings meet or cross in the middle.
    for (auto [w, h, width] : {std::tuple{12, 9, 3}, {5, 3, 4}, {2, 2, 1}}) {
        TBitmap framed = whiteBitmap(14, 14), drawn = whiteBitmap(14, 14);
        TRect r(1, 1, 1 + w, 1 + h);
        Frame3D(framed.Canvas(), r, clRed, clBlue, width);
        TCanvas& d = drawn.Canvas();
        for (int i = 0; i < width; ++i) {
            const int L = 1 + i, T = 1 + i, R = w - i, B = h - i;
            d.Pen.Color = clRed;
            const TPoint top[] = {{L, B}, {L, T}, {R, T}};
            d.Polyline(top, 3);
            d.Pen.Color = clBlue;
            const TPoint bottom[] = {{R, T}, {R, B}, {L - 1, B}};
            d.Polyline(bottom, 3);
        }
        EXPECT_EQ(framed.Image(), drawn.Image()) << w << "x" << h;
        EXPECT_EQ(r.Left, 1 + width);
        EXPECT_EQ(r.Bottom, 1 + h - width);
    }
}

TEST(CanvasFill, BitmapBrushTilesFromTheOrigin)
{
    TBitmap pattern(2, 2);
    pattern.Canvas().Brush.Color = clSilver;
    pattern.Canvas().FillRect(TRect(0, 0, 2, 2));
    pattern.Canvas().SetPixel(1, 1, clWhite);
    TBitmap b = whiteBitmap(6, 6);
    b.Canvas().Brush.Bitmap = &pattern;
    b.Canvas().FillRect(TRect(0, 0, 6, 6));
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clSilver);
    EXPECT_EQ(b.Canvas().Pixel(3, 3), clWhite);
    EXPECT_EQ(b.Canvas().Pixel(4, 3), clSilver);
}

TEST(CanvasText, TextOutAnchorsTheTopLeftAndFillsItsCell)
{
    TBitmap b = whiteBitmap(80, 30);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Arial", 14, clBlack);
    c.Brush.Color = clYellow;
    c.TextOut(10, 5, "Ом");
    int w = c.TextWidth("Ом");
    int h = c.TextHeight("Ом");
    EXPECT_GT(w, 5);
    EXPECT_EQ(c.Pixel(10, 5), clYellow);                 // cell background, top-left
    EXPECT_EQ(c.Pixel(10 + w - 1, 5 + h - 1), clYellow); // bottom-right of the cell
    EXPECT_EQ(c.Pixel(9, 5), clWhite);
    EXPECT_EQ(c.Pixel(10, 4), clWhite);
}

TEST(Colours, SystemColoursResolveThroughTheFixedTable)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    QColor q = ToQColor(clRed);
    EXPECT_EQ(q.red(), 255);
    EXPECT_EQ(q.blue(), 0);
}

TEST(Fonts, SymbolFontShowsOmegaForW)
{
    TFont f("Symbol", 12);
    EXPECT_EQ(f.DisplayText("10 kW"), QString("10 k") + QChar(0x03A9));
    TFont a("Arial", 12);
    EXPECT_EQ(a.DisplayText("W"), "W");
    TFont p;
    p.SetSize(8);
    EXPECT_EQ(p.PixelSize, 11);
}

TEST(BitmapTest, ZeroSizeBitmapDrawsNothingAndResizesCleanly)
{
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    b.Canvas().Rectangle(0, 0, 10, 10); // no target: nothing happens
    b.SetSize(5, 4);
    EXPECT_EQ(b.Image().width(), 5);
    b.SetDevicePixelRatio(2);
    EXPECT_EQ(b.Image().width(), 10);
    EXPECT_EQ(b.Width(), 5);
}

} // namespace

// ---------------------------------------------------------------- the pixel rules against references

namespace ref {

using Pixels = std::set<std::pair<int, int>>;

Pixels line(int x0, int y0, int x1, int y1)
{
    Pixels out;
    for (QPoint p : testutil::referenceLine(x0, y0, x1, y1))
        out.insert({p.x(), p.y()});
    return out;
}

// A wide line: the pixel centres within w / 2 of the segment, which runs
// half a pixel up and left for even w; a centre exactly w / 2 off is kept
// only on the side of the smaller minor coordinate.
bool nearSegment(int x0, int y0, int x1, int y1, int w, int x, int y)
{
    using ll = long long;
    const ll e = w % 2 == 0, vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    const ll px = 2 * ll(x - x0) + e, py = 2 * ll(y - y0) + e, dot = px * vx + py * vy, w2 = ll(w) * w;
    auto cross = [&](ll ax, ll ay) { return ax * vy - ay * vx; };
    if (len2 == 0 || dot <= 0)
        return px * px + py * py <= w2;
    if (dot >= 2 * len2)
        return (px - 2 * vx) * (px - 2 * vx) + (py - 2 * vy) * (py - 2 * vy) <= w2;
    const ll c = cross(px, py);
    if (c * c != w2 * len2)
        return c * c < w2 * len2;
    const ll n = std::abs(vx) > std::abs(vy) ? cross(px, py + 2) : cross(px + 2, py);
    return std::abs(n) < std::abs(c);
}

} // namespace ref

// The pixels of a picture in one colour.
ref::Pixels inked(TBitmap& b, TColor c)
{
    ref::Pixels out;
    const QImage& img = b.Image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (FromQColor(QColor(img.pixel(x, y))) == c)
                out.insert({x, y});
    return out;
}

// A white picture whose canvas either writes its pixels directly or, through
// a clip of two rectangles that leaves everything visible, paints them
// through the painter.
TBitmap freshPicture(int w, int h, bool clipped)
{
    TBitmap b = whiteBitmap(w, h);
    if (clipped)
        b.Canvas().Painter()->setClipRegion(QRegion(0, 0, w, h / 2) + QRegion(0, h / 2, w, h - h / 2));
    return b;
}

TEST(CanvasRules, ThinAndWideLinesInkTheReferencePixelsInEveryDirection)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(4, 44), width(2, 11);
    // The case a knob's pointer met: upward lines lost their first pixel.
    {
        TBitmap b = whiteBitmap(12, 12);
        b.Canvas().MoveTo(5, 5);
        b.Canvas().LineTo(5, 1);
        EXPECT_EQ(inked(b, clBlack), (ref::Pixels{{5, 5}, {5, 4}, {5, 3}, {5, 2}}));
    }
    for (bool clipped : {false, true}) {
        int octants[8] = {};
        for (int i = 0; i < 300; ++i) {
            const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
            const int dx = x1 - x0, dy = y1 - y0;
            if (dx == 0 && dy == 0)
                continue;
            octants[(dx < 0) * 4 + (dy < 0) * 2 + (std::abs(dx) > std::abs(dy))]++;
            SCOPED_TRACE(testing::Message() << (clipped ? "clipped " : "") << x0 << "," << y0 << " -> " << x1 << "," << y1);
            TBitmap b = freshPicture(48, 48, clipped);
            b.Canvas().MoveTo(x0, y0);
            b.Canvas().LineTo(x1, y1);
            ASSERT_EQ(inked(b, clBlack), ref::line(x0, y0, x1, y1));

            // A wide pen: round ends, the same on a clipped canvas.
            const int w = width(rng);
            TBitmap wb = freshPicture(48, 48, clipped);
            wb.Canvas().Pen.Width = w;
            wb.Canvas().MoveTo(x0, y0);
            wb.Canvas().LineTo(x1, y1);
            ref::Pixels want;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x)
                    if (ref::nearSegment(x0, y0, x1, y1, w, x, y))
                        want.insert({x, y});
            ASSERT_EQ(inked(wb, clBlack), want) << "width " << w;
        }
        for (int n : octants)
            EXPECT_GT(n, 10);
    }
    // A polyline joins its segments: only its very last pixel stays out.
    TBitmap b = whiteBitmap(48, 48);
    const std::vector<TPoint> pts = {{3, 40}, {20, 4}, {44, 30}, {10, 22}, {30, 45}};
    b.Canvas().Polyline(pts);
    ref::Pixels want;
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        for (auto p : ref::line(pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y))
            want.insert(p);
    EXPECT_EQ(inked(b, clBlack), want);
}

TEST(CanvasRules, RectanglesOvalsAndRoundedBoxesKeepTheBoxRule)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(1, 38), corner(0, 14);
    const TColor pen = clBlack, fill = clRed;
    for (int i = 0; i < 240; ++i) {
        int l = coord(rng), t = coord(rng), r = coord(rng), b = coord(rng);
        if (l > r) std::swap(l, r);
        if (t > b) std::swap(t, b);
        if (r - l < 3 || b - t < 3)
            continue;
        const int kind = i % 3, cw = corner(rng), ch = corner(rng);
        for (bool withPen : {true, false}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " box " << l << "," << t << "," << r << "," << b
                                            << " corners " << cw << "x" << ch << (withPen ? "" : " no pen"));
            TBitmap bmp = freshPicture(40, 40, i % 2 == 1);
            TCanvas& c = bmp.Canvas();
            c.Pen.Color = pen;
            c.Pen.Style = withPen ? TPenStyle::psSolid : TPenStyle::psClear;
            c.Brush.Color = fill;
            if (kind == 0)
                c.Rectangle(l, t, r, b);
            else if (kind == 1)
                c.Ellipse(l, t, r, b);
            else
                c.RoundRect(l, t, r, b, cw, ch);
            // The inked box: right and bottom edge out, one more without a pen.
            const int R = withPen ? r - 1 : r - 2, B = withPen ? b - 1 : b - 2;
            int minx = 99, maxx = -1, miny = 99, maxy = -1;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) {
                    const TColor px = c.Pixel(x, y);
                    if (px == clWhite)
                        continue;
                    minx = std::min(minx, x), maxx = std::max(maxx, x);
                    miny = std::min(miny, y), maxy = std::max(maxy, y);
                    // Mirror images across both middles: every corner alike.
                    ASSERT_EQ(c.Pixel(l + R - x, y), px) << x << "," << y;
                    ASSERT_EQ(c.Pixel(x, t + B - y), px) << x << "," << y;
                    if (withPen && px == fill) {
                        // The outline closes round the fill.
                        ASSERT_NE(c.Pixel(x - 1, y), clWhite);
                        ASSERT_NE(c.Pixel(x + 1, y), clWhite);
                        ASSERT_NE(c.Pixel(x, y - 1), clWhite);
                        ASSERT_NE(c.Pixel(x, y + 1), clWhite);
                    }
                    if (kind == 0) {
                        ASSERT_EQ(px, withPen && (x == l || x == R || y == t || y == B) ? pen : fill);
                    }
                }
            ASSERT_EQ(minx, l);
            ASSERT_EQ(maxx, R);
            ASSERT_EQ(miny, t);
            ASSERT_EQ(maxy, B);
            const int cx = kind == 1 ? R - l + 1 : std::min(cw, R - l + 1), cy = kind == 1 ? B - t + 1 : std::min(ch, B - t + 1);
            if (kind != 0 && cx >= 3 && cy >= 3) {
                ASSERT_EQ(c.Pixel(l, t), clWhite);
            }
        }
    }
    // The rocker's lamp: as wide as the rectangle of the same box.
    TBitmap a = whiteBitmap(20, 10), b = whiteBitmap(20, 10);
    a.Canvas().RoundRect(2, 2, 15, 6, 3, 3);
    b.Canvas().Rectangle(2, 2, 15, 6);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(a.Canvas().Pixel(x, 3) != clWhite, b.Canvas().Pixel(x, 3) != clWhite) << x;
}

TEST(CanvasRules, PolygonOutlinesInkEveryVertexAndEdgePixel)
{
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> coord(1, 30);
    std::vector<std::vector<TPoint>> polys = {{{7, 5}, {1, 8}, {7, 11}}};
    for (int i = 0; i < 60; ++i) {
        std::vector<TPoint> p(3 + i % 4);
        for (auto& v : p)
            v = TPoint(coord(rng), coord(rng));
        polys.push_back(p);
    }
    for (const auto& p : polys) {
        TBitmap b = whiteBitmap(32, 32);
        b.Canvas().Pen.Color = clBlack;
        b.Canvas().Brush.Color = clRed;
        b.Canvas().Polygon(p);
        for (size_t k = 0; k < p.size(); ++k) {
            const TPoint a = p[k], c = p[(k + 1) % p.size()];
            for (auto [x, y] : ref::line(a.X, a.Y, c.X, c.Y))
                ASSERT_EQ(b.Canvas().Pixel(x, y), clBlack) << x << "," << y;
        }
    }
}

TEST(CanvasRules, WidePenRingsOneInsideAnotherLeaveNoHoles)
{
    // The lamp's bezel: rings as wide as their spacing, the fill colour inside.
    for (int W : {34, 51, 68, 90, 120}) {
        const int q = std::clamp(W / 17, 1, 6);
        TBitmap b = whiteBitmap(W, W);
        TCanvas& c = b.Canvas();
        c.Brush.Color = clRed;
        c.Pen.Width = q;
        c.Pen.Color = clBlack;
        c.Ellipse(0, 0, W, W);
        c.Pen.Color = clSilver;
        c.Ellipse(q, q, W - q, W - q);
        c.Pen.Color = clBlack;
        c.Ellipse(2 * q, 2 * q, W - 2 * q, W - 2 * q);
        // Red only well inside the innermost ring, nothing but pen inside the
        // outermost one.
        const double mid = (W - 1) / 2.0 - (q % 2 == 0 ? 0.5 : 0), inner = (W - 4 * q - 1) / 2.0 - q / 2.0, outer = (W - 1) / 2.0 - q / 2.0;
        for (int y = 0; y < W; ++y)
            for (int x = 0; x < W; ++x) {
                const double d = std::hypot(x - mid, y - mid);
                if (c.Pixel(x, y) == clRed) {
                    ASSERT_LE(d, inner + 1e-9) << W << ": " << x << "," << y;
                }
                if (d < outer && d > inner + 1e-9) {
                    ASSERT_NE(c.Pixel(x, y), clRed) << W << ": " << x << "," << y;
                }
            }
    }
}

TEST(CanvasRules, PensInkTheirWidthAcrossAndWideBoxesCentreThemOnTheOutline)
{
    // A pen of width W: W rows across a row line, W columns across a column
    // line, and a W x W dot.
    struct Line { int w, x0, y0, x1, y1; };
    for (const Line& c : std::vector<Line>{{2, 3, 4, 12, 4}, {3, 3, 4, 12, 4}, {4, 3, 9, 12, 9}, {2, 6, 2, 6, 12},
                                          {5, 6, 12, 6, 2}, {2, 5, 5, 5, 5}, {3, 5, 5, 5, 5}}) {
        SCOPED_TRACE(testing::Message() << "width " << c.w << " " << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        TBitmap b = whiteBitmap(20, 20);
        b.Canvas().Pen.Width = c.w;
        b.Canvas().MoveTo(c.x0, c.y0);
        b.Canvas().LineTo(c.x1, c.y1);
        const bool row = c.y0 == c.y1 && c.x0 != c.x1;
        std::set<int> across, along;
        for (auto [x, y] : inked(b, clBlack)) {
            across.insert(row ? y : x);
            along.insert(row ? x : y);
        }
        EXPECT_EQ(int(across.size()), c.w);
        EXPECT_EQ(*across.begin(), (row ? c.y0 : c.x0) - c.w / 2);
        if (c.x0 == c.x1 && c.y0 == c.y1) {
            EXPECT_EQ(int(along.size()), c.w);
        }
    }
    // Boxes: the pen straddles the one-pixel outline, or with psInsideFrame
    // stays inside the box.
    for (int kind = 0; kind < 3; ++kind)
        for (int w : {2, 3, 4})
            for (bool inside : {false, true}) {
                SCOPED_TRACE(testing::Message() << "kind " << kind << " width " << w << (inside ? " inside" : ""));
                TBitmap b = whiteBitmap(24, 24);
                TCanvas& c = b.Canvas();
                c.Pen.Width = w;
                c.Pen.Style = inside ? TPenStyle::psInsideFrame : TPenStyle::psSolid;
                c.Brush.Color = clRed;
                if (kind == 0)
                    c.Rectangle(6, 5, 18, 16);
                else if (kind == 1)
                    c.Ellipse(6, 5, 18, 16);
                else
                    c.RoundRect(6, 5, 18, 16, 6, 6);
                const ref::Pixels pen = inked(b, clBlack);
                int l = 99, t = 99, r = -1, bt = -1;
                for (auto [x, y] : pen)
                    l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), bt = std::max(bt, y);
                const int out = inside ? 0 : w / 2, in = inside ? 0 : (w - 1) / 2;
                EXPECT_EQ(QRect(QPoint(l, t), QPoint(r, bt)), QRect(QPoint(6 - out, 5 - out), QPoint(17 + in, 15 + in)));
                EXPECT_TRUE(isColor(b, 12, 10, clRed));
                // Straight sides are w pixels thick.
                int thick = 0;
                for (int y = 0; y < 12; ++y)
                    thick += pen.count({12, y});
                EXPECT_EQ(thick, w);
            }
}

TEST(CanvasRules, LinesFarOffThePictureInkTheirVisiblePixelsOnly)
{
    // The visible part of a line two million pixels long, as the rule inks it.
    for (int w : {1, 3, 4}) {
        SCOPED_TRACE(testing::Message() << "width " << w);
        TBitmap b = whiteBitmap(50, 50);
        b.Canvas().Pen.Width = w;
        b.Canvas().MoveTo(5, 5);
        b.Canvas().LineTo(10, 2000000);
        ref::Pixels want;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x)
                if (w == 1 ? x == 5 && y >= 5 : ref::nearSegment(5, 5, 10, 2000000, w, x, y))
                    want.insert({x, y});
        EXPECT_EQ(inked(b, clBlack), want);
    }
    // Lines, a polygon and ovals across the whole range of coordinates finish
    // and ink a straight run where they cross the picture.
    TBitmap b = whiteBitmap(50, 50);
    TCanvas& c = b.Canvas();
    for (int w : {1, 2}) {
        c.Pen.Width = w;
        c.MoveTo(INT_MIN, 20);
        c.LineTo(INT_MAX, 20);
        c.MoveTo(30, INT_MAX);
        c.LineTo(30, INT_MIN);
        c.MoveTo(INT_MIN, INT_MIN);
        c.LineTo(INT_MAX, INT_MAX);
    }
    for (int x = 0; x < 50; ++x)
        EXPECT_TRUE(isColor(b, x, 20, clBlack) && isColor(b, x, 19, clBlack) && isColor(b, x, x, clBlack)) << x;
    c.Pen.Width = 1;
    c.Brush.Color = clRed;
    c.Ellipse(-1000000000, 25, 1000000000, 2000000000);
    EXPECT_TRUE(isColor(b, 40, 25, clBlack) && isColor(b, 40, 26, clRed) && isColor(b, 40, 24, clWhite));
    const TPoint tri[] = {{INT_MIN, 45}, {INT_MAX, 45}, {0, INT_MAX}};
    c.Polygon(tri, 3);
    EXPECT_TRUE(isColor(b, 10, 45, clBlack) && isColor(b, 10, 46, clRed));
    c.Pen.Width = 2;
    c.Arc(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 1, 1);
    c.Brush.Color = clBlue;
    c.RoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_TRUE(isColor(b, 25, 25, clBlue));
}
