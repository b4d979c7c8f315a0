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

// A white picture, drawn on directly or through the painter (below).
TBitmap freshPicture(int w, int h, bool clipped, int ratio);

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
    // The dots of even x + y on the frame, written at ratio 2 as painted.
    TBitmap direct = freshPicture(12, 12, false, 2), painted = freshPicture(12, 12, true, 2);
    for (TBitmap* p : {&direct, &painted}) {
        p->Canvas().Brush.Color = clRed;
        p->Canvas().FillRect(TRect(0, 0, 5, 12));
        p->Canvas().DrawFocusRect(TRect(1, 2, 9, 7));
    }
    EXPECT_EQ(direct.Image(), painted.Image());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool dot = (x + y) % 2 == 0 && QRect(1, 2, 8, 5).contains(x, y) && !QRect(2, 3, 6, 3).contains(x, y);
            EXPECT_EQ(direct.Canvas().Pixel(x, y), TColor((x < 5 ? clRed : clWhite) ^ (dot ? 0xFFFFFF : 0))) << x << "," << y;
        }

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

// A control's shapes land where it lies in its window, and only inside it
// and the part repainted (one rectangle or several).
TEST(CanvasFill, ControlShapesStayInTheControlAndTheRepaintedPart)
{
    QWidget window;
    window.resize(60, 40);
    auto* control = new TGraphicControl(&window);
    control->setGeometry(10, 5, 30, 20);
    control->OnPaint = [control](TObject*) {
        TCanvas& c = *control->Canvas();
        c.Brush.Color = clRed;
        c.Ellipse(-50, -50, 100, 100);
        c.Pen.Color = c.Brush.Color = clBlue;
        c.Rectangle(2, 2, 6, 6);
    };
    const QRect mark(12, 7, 4, 4);
    for (const QRegion& part : {QRegion(0, 0, 25, 40), QRegion(0, 0, 25, 40) + QRegion(30, 10, 30, 30)}) {
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(Qt::green);
        window.render(&picture, QPoint(), part, QWidget::DrawChildren);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                ASSERT_EQ(picture.pixel(x, y), control->geometry().contains(x, y) && part.contains(QPoint(x, y))
                                                   ? (mark.contains(x, y) ? qRgb(0, 0, 255) : qRgb(255, 0, 0))
                                                   : qRgb(0, 255, 0))
                    << x << "," << y << " of " << part.rectCount() << " rectangles";
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
    using ll = __int128; // squares of differences of any two ints
    auto abs = [](ll v) { return v < 0 ? -v : v; };
    const ll e = w % 2 == 0, vx = ll(x1) - x0, vy = ll(y1) - y0, len2 = vx * vx + vy * vy;
    const ll px = 2 * (ll(x) - x0) + e, py = 2 * (ll(y) - y0) + e, dot = px * vx + py * vy, w2 = ll(w) * w;
    auto cross = [&](ll ax, ll ay) { return ax * vy - ay * vx; };
    if (len2 == 0 || dot <= 0)
        return px * px + py * py <= w2;
    if (dot >= 2 * len2)
        return (px - 2 * vx) * (px - 2 * vx) + (py - 2 * vy) * (py - 2 * vy) <= w2;
    const ll c = cross(px, py);
    if (c * c != w2 * len2)
        return c * c < w2 * len2;
    const ll n = abs(vx) > abs(vy) ? cross(px, py + 2) : cross(px + 2, py);
    return abs(n) < abs(c);
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

// A clip of more than one rectangle, which the canvas paints through, that
// leaves all of a w x h picture visible (a region of the whole picture alone
// would be one rectangle).
QRegion ThroughPainter(int w, int h)
{
    const QRegion r = QRegion(0, 0, w, h) + QRegion(w, 0, 1, 1);
    EXPECT_GT(r.rectCount(), 1);
    return r;
}

// A white picture whose canvas either writes its pixels directly or, through
// a clip of two rectangles that leaves everything visible, paints them
// through the painter.
TBitmap freshPicture(int w, int h, bool clipped, int ratio = 1)
{
    TBitmap b;
    b.SetDevicePixelRatio(ratio);
    b.SetSize(w, h);
    if (clipped)
        b.Canvas().Painter()->setClipRegion(ThroughPainter(w, h));
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

            // At ratio 2 the pixels written directly are the painter's.
            TBitmap direct = freshPicture(48, 48, false, 2), painted = freshPicture(48, 48, true, 2);
            for (TBitmap* p : {&direct, &painted})
                for (int pen : {1, w}) {
                    p->Canvas().Pen.Width = pen;
                    p->Canvas().MoveTo(x0 + pen, y0);
                    p->Canvas().LineTo(x1 + pen, y1);
                }
            ASSERT_EQ(direct.Image(), painted.Image()) << "width " << w << " at ratio 2";
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
        TBitmap direct = freshPicture(32, 32, false, 2), painted = freshPicture(32, 32, true, 2);
        for (TBitmap* d : {&direct, &painted}) {
            d->Canvas().Brush.Color = clRed;
            d->Canvas().Polygon(p);
        }
        ASSERT_EQ(direct.Image(), painted.Image()) << "at ratio 2";
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

// ---------------------------------------------------------------- every shape against the rules

namespace ref {

constexpr double kEps = 1e-9;

struct Shape {
    int kind; // Rectangle, Ellipse, RoundRect, Arc, Pie, Chord, FillRect, FrameRect
    int l, t, r, b, x3, y3, x4, y4; // x3, y3: a rounded box's corners
    int width;
    TPenStyle style;
    bool brush;
};

// The oval of a one-pixel pen in a box: in every column the rows nearest the
// curve through the outermost pixel centres and those between, and likewise
// in every row.
struct Oval {
    double cx, cy, a, b;
    Oval(int l, int t, int r, int bt) : cx((l + r - 1) / 2.0), cy((t + bt - 1) / 2.0), a((r - l - 1) / 2.0), b((bt - t - 1) / 2.0) {}
    static double root(double d, double r) { return r <= 0 ? 1.0 : d / r >= 1 ? 0.0 : std::sqrt(1 - (d / r) * (d / r)); }
    bool In(int x, int y) const
    {
        const double dx = std::abs(x - cx), dy = std::abs(y - cy);
        if (dx > a + 0.5 + kEps || dy > b + 0.5 + kEps)
            return false;
        if (dx <= a + kEps && dy <= b * root(dx, a) + 0.5 + kEps)
            return true;
        return dy <= b + kEps && dx <= a * root(dy, b) + 0.5 + kEps;
    }
};

// The pixel centres within a rounded box about a centre line (half sizes
// hw, hh, corner radii A, B) grown by d; strictly inside when Strict.
bool InRounded(double x, double y, double cx, double cy, double hw, double hh, double A, double B, double d, bool Strict)
{
    const double dx = std::abs(x - cx), dy = std::abs(y - cy), HW = hw + d, HH = hh + d;
    if (HW < 0 || HH < 0)
        return false;
    const double qx = dx - (hw - A), qy = dy - (hh - B), rA = A + d, rB = B + d;
    if (Strict ? dy >= HH - kEps || dx >= HW - kEps : dy > HH + kEps || dx > HW + kEps)
        return false;
    if (qx <= 0 || qy <= 0 || rA <= 0 || rB <= 0)
        return true;
    const double level = (qx / rA) * (qx / rA) + (qy / rB) * (qy / rB);
    return Strict ? level < 1 - kEps : level <= 1 + kEps;
}

// 0 nothing, 1 the fill, 2 the pen.
int ShapePixel(Shape s, int x, int y)
{
    if (s.kind >= 6) {
        const bool in = x >= s.l && x < s.r && y >= s.t && y < s.b;
        return s.brush && in && (s.kind == 6 || x == s.l || x == s.r - 1 || y == s.t || y == s.b - 1);
    }
    int l = std::min(s.l, s.r), r = std::max(s.l, s.r), t = std::min(s.t, s.b), b = std::max(s.t, s.b);
    if (r - l < 1 || b - t < 1)
        return 0;
    const int ownL = l, ownT = t, ownR = r, ownB = b;
    const bool pen = s.style != TPenStyle::psClear, wide = pen && s.width > 1, arcs = s.kind >= 3;
    const int W = wide ? s.width : 1;
    const bool fill = s.kind != 3 && s.brush;
    if (s.kind == 3 && !pen)
        return 0;
    int rw = s.x3, rh = s.y3;
    if (wide && s.style == TPenStyle::psInsideFrame) {
        l += W / 2, t += W / 2, r -= (W - 1) / 2, b -= (W - 1) / 2, rw -= W - 1, rh -= W - 1;
        r = std::max(r, l + 1), b = std::max(b, t + 1);
    }
    const int fr = pen ? r : r - 1, fb = pen ? b : b - 1;
    if (fr - l < 1 || fb - t < 1)
        return 0;
    auto near = [&](TPoint p, TPoint q) { return nearSegment(p.X, p.Y, q.X, q.Y, W, x, y); };
    // A one-pixel line without its end pixel, as testutil::referenceLine.
    // Its place along the line from p, or -1.
    using ll = long long;
    auto onLine = [&](TPoint p, TPoint q) {
        const ll dx = ll(q.X) - p.X, dy = ll(q.Y) - p.Y, n = std::max(std::abs(dx), std::abs(dy));
        const bool xMajor = std::abs(dx) > std::abs(dy);
        const ll i = xMajor ? (dx > 0 ? x - ll(p.X) : ll(p.X) - x) : (dy > 0 ? y - ll(p.Y) : ll(p.Y) - y);
        if (i < 0 || i >= n)
            return ll(-1);
        const ll num = 2 * i * (xMajor ? dy : dx) - n, den = 2 * n;
        const ll minor = num >= 0 ? (num + den - 1) / den : -((-num) / den);
        return (xMajor ? y - ll(p.Y) : x - ll(p.X)) == minor ? i : ll(-1);
    };
    // A thin polyline, its dashes (6 on, 2 off) running on round the corners
    // and, with Last, on to its last pixel.
    const bool dashed = s.style == TPenStyle::psDash;
    auto onPolyline = [&](std::vector<TPoint> pts, bool closed, bool last = false) {
        if (closed)
            pts.push_back(pts[0]);
        ll base = 0;
        for (size_t k = 0; k + 1 < pts.size(); ++k) {
            const ll i = onLine(pts[k], pts[k + 1]);
            if (i >= 0 && (!dashed || (base + i) % 8 < 6))
                return true;
            base += std::max(std::abs(ll(pts[k + 1].X) - pts[k].X), std::abs(ll(pts[k + 1].Y) - pts[k].Y));
        }
        return last && TPoint(x, y) == pts.back() && (!dashed || base % 8 < 6);
    };
    // A thin dashed outline about (cx, cy), its outermost pixels a across
    // and b up and down: the place counts counter-clockwise from the right
    // end of the middle, a diagonal step two; the dashes start at From.
    auto dashOn = [&](double cx, double cy, double a, double b, const TPoint* From) {
        auto place = [&](int px, int py) {
            const double u = std::abs(px - cx), v = std::abs(py - cy), q = a + b;
            return std::llround(py <= cy ? (px >= cx ? a - u + v : q + u + b - v) : (px < cx ? 2 * q + a - u + v : 3 * q + u + b - v));
        };
        const ll round = std::llround(4 * (a + b)), k = place(x, y) - (From ? place(From->X, From->Y) : 0);
        return !dashed || (round > 0 ? (k % round + round) % round : k) % 8 < 6;
    };
    const double shift = W % 2 == 0 ? 0.5 : 0;
    bool inPen = false, inFill = false;
    if (s.kind == 0) {
        inFill = x >= l && x < fr && y >= t && y < fb;
        const TPoint c[4] = {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}};
        if (wide)
            for (int i = 0; i < 4; ++i)
                inPen = inPen || near(c[i], c[(i + 1) % 4]);
        else if (dashed)
            inPen = onPolyline({c[0], c[1], c[2], c[3]}, true);
        else
            inPen = pen && inFill && (x == l || x == fr - 1 || y == t || y == fb - 1);
    } else if (s.kind == 2 && !wide) {
        // The corners are the quarters of the oval of rw x rh, mirrored.
        auto in = [&](int px, int py) {
            if (px < l || px >= fr || py < t || py >= fb)
                return false;
            const int cw = std::min(rw, fr - l), ch = std::min(rh, fb - t);
            if (cw < 2 || ch < 2)
                return true;
            const int xm = px - l <= fr - 1 - px ? px : l + (fr - 1 - px), ym = py - t <= fb - 1 - py ? py : t + (fb - 1 - py);
            const Oval o(l, t, l + cw, t + ch);
            return xm >= o.cx || ym >= o.cy || o.In(xm, ym);
        };
        inFill = in(x, y);
        inPen = pen && inFill && !(in(x - 1, y) && in(x + 1, y) && in(x, y - 1) && in(x, y + 1))
                && dashOn((l + fr - 1) / 2.0, (t + fb - 1) / 2.0, (fr - 1 - l) / 2.0, (fb - 1 - t) / 2.0, nullptr);
    } else if (s.kind == 2) {
        const int cw = std::min(rw, r - l), ch = std::min(rh, b - t);
        const bool round = cw >= 2 && ch >= 2;
        const double cx = (l + r - 1) / 2.0 - shift, cy = (t + b - 1) / 2.0 - shift, hw = (r - 1 - l) / 2.0,
                     hh = (b - 1 - t) / 2.0, A = round ? (cw - 1) / 2.0 : 0, B = round ? (ch - 1) / 2.0 : 0;
        inFill = InRounded(x, y, cx, cy, hw, hh, A, B, 0, false);
        inPen = InRounded(x, y, cx, cy, hw, hh, A, B, W / 2.0, false) && !InRounded(x, y, cx, cy, hw, hh, A, B, -W / 2.0, true);
    } else {
        const Oval ov(l, t, fr, fb), own(ownL, ownT, ownR, ownB);
        // The rays from the centre of the box itself through the two points,
        // as angles of the oval's parameter.
        auto angle = [](double dx, double dy, double rx, double ry) {
            dx = rx > 0 ? dx / rx : dx, dy = ry > 0 ? dy / ry : dy;
            return dx == 0 && dy == 0 ? 0.0 : std::atan2(dy, dx) * 180.0 / M_PI;
        };
        const double bcx = ownL + (ownR - ownL) / 2.0, bcy = ownT + (ownB - ownT) / 2.0, brx = (ownR - ownL) / 2.0,
                     bry = (ownB - ownT) / 2.0;
        const double a1 = angle(s.x3 - bcx, bcy - s.y3, brx, bry);
        double span = angle(s.x4 - bcx, bcy - s.y4, brx, bry) - a1;
        while (span <= 0)
            span += 360;
        // Counter-clockwise from the first ray over span, both rays included.
        auto inSweep = [&](int px, int py) {
            const double d = std::fmod(std::fmod(angle(px - own.cx, own.cy - py, own.a + 0.5, own.b + 0.5) - a1, 360.0) + 360.0, 360.0);
            return span >= 360 || d <= span + 1e-7 || d >= 360 - 1e-7;
        };
        const double rad = M_PI / 180;
        // Halves round down and right, through the trigonometry's noise.
        auto round = [](double c, double d) { return int(std::floor(c + d + 0.5 + kEps + 1e-12 * std::abs(d))); };
        auto at = [&](double deg) { return TPoint(round(ov.cx, ov.a * std::cos(deg * rad)), round(ov.cy, -ov.b * std::sin(deg * rad))); };
        const TPoint p1 = at(a1), p2 = at(a1 + span), centre(round(ov.cx, 0), round(ov.cy, 0));
        if (!wide) {
            inFill = ov.In(x, y);
            inPen = pen && inFill && !(ov.In(x - 1, y) && ov.In(x + 1, y) && ov.In(x, y - 1) && ov.In(x, y + 1))
                    && dashOn(ov.cx, ov.cy, ov.a, ov.b, arcs ? &p1 : nullptr);
        } else {
            const bool hollow = ov.a - W / 2.0 > 0 && ov.b - W / 2.0 > 0;
            inFill = ov.a > 0 && ov.b > 0 && InRounded(x, y, ov.cx - shift, ov.cy - shift, ov.a, ov.b, ov.a, ov.b, 0, false);
            inPen = InRounded(x, y, ov.cx - shift, ov.cy - shift, ov.a, ov.b, ov.a, ov.b, W / 2.0, false)
                    && !(hollow && InRounded(x, y, ov.cx - shift, ov.cy - shift, ov.a, ov.b, ov.a, ov.b, -W / 2.0, true));
        }
        // A pie and a chord keep within their straight edges as drawn: the
        // sweep between the edges from the centre pixel nearest the rays'
        // (an edge of no length keeps its ray), and a chord the side of its
        // edge's line (the ends' when one pixel) where the arc runs, the
        // line itself left to the edge; with the sweep past half the oval,
        // what lies in either. With no pen, no edges: the rays and the line
        // through the arc's ends themselves.
        const double ex = centre.X - shift, ey = centre.Y - shift;
        auto edgeAngle = [&](TPoint p, double ray) {
            return p == centre ? ray : std::atan2((double(centre.Y) - p.Y) / (own.b + 0.5), (double(p.X) - centre.X) / (own.a + 0.5)) * 180.0 / M_PI;
        };
        const double e1 = edgeAngle(p1, a1), e2 = edgeAngle(p2, a1 + span);
        const double eSpan = std::clamp(e2 - e1 - 360.0 * std::round((e2 - e1 - span) / 360.0), 0.0, 360.0);
        auto inWedge = [&](int px, int py) {
            const double d = std::fmod(std::fmod(angle(px - ex, ey - py, own.a + 0.5, own.b + 0.5) - e1, 360.0) + 360.0, 360.0);
            return eSpan >= 360 || d <= eSpan + 1e-7 || d >= 360 - 1e-7;
        };
        const Oval& arc = pen ? ov : own;
        auto end = [&](double deg) { return std::pair{arc.cx + arc.a * std::cos(deg * rad), arc.cy - arc.b * std::sin(deg * rad)}; };
        auto [ax, ay] = end(a1);
        auto [bx, by] = end(a1 + span);
        const auto [mx, my] = end(a1 + span / 2);
        double side = (bx - ax) * (my - ay) - (by - ay) * (mx - ax) >= 0 ? 1 : -1;
        if (pen && p1 != p2) {
            side *= (double(p2.X) - p1.X) * (bx - ax) + (double(p2.Y) - p1.Y) * (by - ay) < 0 ? -1 : 1;
            ax = p1.X, ay = p1.Y, bx = p2.X, by = p2.Y;
        }
        ax -= shift, ay -= shift, bx -= shift, by -= shift;
        const double off = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        const bool inChord = side > 0 ? off > kEps : off < -kEps;
        const bool wedge = pen ? inWedge(x, y) : inSweep(x, y);
        const bool kept = s.kind == 3 ? inSweep(x, y) : s.kind == 4 ? wedge : (pen ? eSpan : span) > 180 ? wedge || inChord : wedge && inChord;
        if (arcs)
            inPen = inPen && kept, inFill = inFill && kept;
        // The straight edges close the outline, their last pixel inked too.
        if (s.kind == 4)
            inPen = inPen || (wide ? near(p2, centre) || near(centre, p1) : onPolyline({p2, centre, p1}, false, true));
        else if (s.kind == 5)
            inPen = inPen || (wide ? near(p2, p1) : onPolyline({p2, p1}, false, true));
        else if (s.kind == 3 && wide)
            inPen = inPen || near(p1, p1) || near(p2, p2);
    }
    return pen && inPen ? 2 : fill && inFill ? 1 : 0;
}

} // namespace ref

TEST(CanvasRules, EveryShapeInksThePixelsOfTheRules)
{
    // Seeded random shapes of every kind against the rules pixel by pixel:
    // inside, across and far outside the picture, with degenerate boxes and
    // rays, every pen width up to 6, in copy and exclusive-or mode.
    constexpr int N = 40;
    std::mt19937 rng(23);
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const TColor penColour = 0x2040C0, brushColour = 0x30A050;
    auto background = [](int x, int y) { return TColor(0x010203 * ((x * 7 + y * 13) % 64)); };
    std::vector<ref::Shape> shapes = {
        {5, 4, 4, 40, 36, 10, 36, 22, 60, 1, TPenStyle::psSolid, false},      // a chord cut by its rays
        {3, 30, -12, 32, 55, 28, -12, 44, 3, 3, TPenStyle::psSolid, false},   // an arc in a thin box
        // Rays from the box's own centre where an even pen kept inside moves
        // the outline half a pixel in: from 45 degrees, and a quarter.
        {4, 0, 0, 21, 21, 11, 10, 0, 10, 2, TPenStyle::psInsideFrame, true},
        {4, -31, 10, 6, 24, -12, 17, -14, 2, 4, TPenStyle::psInsideFrame, true},
        {4, 1, 1, 21, 21, 1, 11, 21, 11, 1, TPenStyle::psSolid, true}, // a half disc: its diameter straight
        {5, -35, 28, 24, 51, -5, 39, 8, 39, 1, TPenStyle::psSolid, true}, // a fill kept within its outline
        // With no outline, no fill in the wedges left out.
        {4, 6, 10, 16, 25, 30, -2, 40, 16, 1, TPenStyle::psClear, true},
        {4, -2, 15, 8, 24, 2, 19, 46, 19, 1, TPenStyle::psClear, true},
        {2, 4, 1, 36, 25, 12, 9, 0, 0, 1, TPenStyle::psDash, false}, // dashes along curves
        // Boxes reaching far out at ratio 2.
        {6, 10, 8, 1100000000, 12, 0, 0, 0, 0, 1, TPenStyle::psSolid, true},
        {7, -2000000000, 5, 1100000000, 30, 0, 0, 0, 0, 1, TPenStyle::psSolid, true},
    };
    for (int i = 0; i < 3000; ++i) {
        ref::Shape s{};
        s.kind = i % 6;
        const int place = uni(0, 9);
        const int reach = place < 6 ? N + 8 : place < 9 ? 400 : 3000000;
        const int off = place == 9 && uni(0, 1) ? 2000000 * (uni(0, 1) ? 1 : -1) : 0;
        s.l = uni(-reach / 4, reach) + off, s.t = uni(-reach / 4, reach);
        // Thin and empty boxes as often as wide ones.
        s.r = uni(0, 2) ? uni(-reach / 4, reach) + off : s.l + uni(-3, 3);
        s.b = uni(0, 2) ? uni(-reach / 4, reach) : s.t + uni(-3, 3);
        const int cx = (s.l + s.r) / 2, cy = (s.t + s.b) / 2;
        auto ray = [&](int& x, int& y) {
            const int how = uni(0, 4);
            x = how == 0 ? cx : uni(-reach / 4, reach) + off, y = how == 0 ? cy : uni(-reach / 4, reach);
        };
        ray(s.x3, s.y3);
        ray(s.x4, s.y4);
        if (uni(0, 5) == 0)
            s.x4 = s.x3 + uni(-1, 1), s.y4 = s.y3 + uni(-1, 1); // rays that (nearly) coincide
        if (s.kind == 2)
            s.x3 = uni(0, 30), s.y3 = uni(0, 30);
        s.width = uni(1, 6);
        const int style = uni(0, 5);
        s.style = style == 0 ? TPenStyle::psClear : style == 1 ? TPenStyle::psInsideFrame : style == 2 ? TPenStyle::psDash : TPenStyle::psSolid;
        s.brush = uni(0, 3) > 0;
        shapes.push_back(s);
    }
    // Filled pies and chords wholly inside the picture, with a thin outline
    // or none.
    for (int i = 0; i < 600; ++i) {
        const int l = uni(0, N - 4), t = uni(0, N - 4);
        shapes.push_back({4 + i % 2, l, t, uni(l + 3, N), uni(t + 3, N), uni(-N, 2 * N), uni(-N, 2 * N), uni(-N, 2 * N),
                          uni(-N, 2 * N), 1, i % 3 == 2 ? TPenStyle::psClear : TPenStyle::psSolid, true});
    }
    // The background at ratios 1 and 2, each logical pixel a 2 x 2 block.
    QImage ground[2] = {QImage(N, N, QImage::Format_RGB32), QImage(2 * N, 2 * N, QImage::Format_RGB32)};
    for (int k = 0; k < 2; ++k) {
        for (int y = 0; y < N << k; ++y)
            for (int x = 0; x < N << k; ++x)
                ground[k].setPixel(x, y, ToQColor(background(x >> k, y >> k)).rgb());
        ground[k].setDevicePixelRatio(1 + k);
    }
    auto paint = [&](TBitmap& bmp, const ref::Shape& s, bool xorMode, int ratio, bool clipped) {
        bmp.Assign(ground[ratio - 1]);
        TCanvas& c = bmp.Canvas();
        if (clipped) // through the painter: a clip it cannot write through
            c.Painter()->setClipRegion(ThroughPainter(N, N));
        c.Pen.Color = penColour;
        c.Pen.Width = s.width;
        c.Pen.Style = s.style;
        c.Pen.Mode = xorMode ? TPenMode::pmXor : TPenMode::pmCopy;
        c.Brush.Color = brushColour;
        c.Brush.Style = s.brush ? TBrushStyle::bsSolid : TBrushStyle::bsClear;
        switch (s.kind) {
        case 0: c.Rectangle(s.l, s.t, s.r, s.b); break;
        case 1: c.Ellipse(s.l, s.t, s.r, s.b); break;
        case 2: c.RoundRect(s.l, s.t, s.r, s.b, s.x3, s.y3); break;
        case 3: c.Arc(s.l, s.t, s.r, s.b, s.x3, s.y3, s.x4, s.y4); break;
        case 4: c.Pie(s.l, s.t, s.r, s.b, s.x3, s.y3, s.x4, s.y4); break;
        case 5: c.Chord(s.l, s.t, s.r, s.b, s.x3, s.y3, s.x4, s.y4); break;
        case 6: c.FillRect(TRect(s.l, s.t, s.r, s.b)); break;
        default: c.FrameRect(TRect(s.l, s.t, s.r, s.b)); break;
        }
    };
    int inked = 0;
    for (size_t i = 0; i < shapes.size(); ++i) {
        const ref::Shape& s = shapes[i];
        const bool xorMode = i % 4 == 3;
        TBitmap bmp, direct2, painted2;
        paint(bmp, s, xorMode, 1, false);
        TCanvas& c = bmp.Canvas();
        // At ratio 2 the picture written straight into the device pixels is
        // the one the painter paints.
        paint(direct2, s, xorMode, 2, false);
        paint(painted2, s, xorMode, 2, true);
        ASSERT_EQ(direct2.Image(), painted2.Image()) << "shape " << i << " at ratio 2";
        ASSERT_EQ(direct2.Image(), bmp.Image().scaled(2 * N, 2 * N)) << "shape " << i << ": at ratio 2 not the picture of ratio 1";
        int count = 0, wrong = 0;
        QPoint first;
        std::vector<int> rule(N * N);
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x) {
                const int k = rule[y * N + x] = ref::ShapePixel(s, x, y);
                const TColor ink = k == 2 ? penColour : brushColour;
                const TColor want = k == 0 ? background(x, y) : xorMode && s.kind < 6 ? background(x, y) ^ ink : ink;
                count += k == 2;
                if (c.Pixel(x, y) != want && wrong++ == 0)
                    first = QPoint(x, y);
            }
        if (i == 0) {
            EXPECT_EQ(count, 20);
        }
        inked += count > 0;
        if (s.kind >= 4 && s.kind <= 5 && s.brush && s.width == 1 && s.style == TPenStyle::psSolid
            && std::min({s.l, s.t, s.r, s.b}) >= 0 && std::max({s.l, s.t, s.r, s.b}) <= N) {
            // The outline closes round the fill: none of it touches the
            // ground outside, flooded from the picture's edge.
            std::vector<int> todo;
            auto reach = [&](int x, int y) {
                if (x >= 0 && y >= 0 && x < N && y < N && rule[y * N + x] == 0)
                    rule[y * N + x] = -1, todo.push_back(y * N + x);
            };
            for (int k = 0; k < N; ++k)
                reach(k, 0), reach(k, N - 1), reach(0, k), reach(N - 1, k);
            while (!todo.empty()) {
                const int x = todo.back() % N, y = todo.back() / N;
                todo.pop_back();
                for (auto [u, v] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
                    ASSERT_FALSE(u >= 0 && v >= 0 && u < N && v < N && rule[v * N + u] == 1) << "shape " << i << ": fill at " << u << "," << v;
                    reach(u, v);
                }
            }
        }
        if ((s.kind == 4 || s.kind == 5) && s.brush && s.style == TPenStyle::psClear) {
            // No outline: no pixel centre (x + 0.5, y + 0.5) of the fill lies
            // more than 0.75 px outside the sweep between the rays from the
            // box's centre (a chord's when under half the oval).
            const double cx = (s.l + s.r) / 2.0, cy = (s.t + s.b) / 2.0, a1 = std::atan2(cy - s.y3, s.x3 - cx);
            const double span = std::remainder(std::atan2(cy - s.y4, s.x4 - cx) - a1 - M_PI, 2 * M_PI) + M_PI;
            for (int y = 0; y < N && span > 0 && (s.kind == 4 || span <= M_PI); ++y)
                for (int x = 0; x < N; ++x) {
                    const double px = x + 0.5 - cx, py = cy - y - 0.5;
                    double out = 1e9;
                    for (double a : {a1, a1 + span}) {
                        const double along = std::max(0.0, px * std::cos(a) + py * std::sin(a));
                        out = std::min(out, std::hypot(px - along * std::cos(a), py - along * std::sin(a)));
                    }
                    const bool within = std::abs(std::remainder(std::atan2(py, px) - a1 - span / 2, 2 * M_PI)) <= span / 2;
                    ASSERT_TRUE(c.Pixel(x, y) == background(x, y) || within || out <= 0.75) << "shape " << i << ": fill at " << x << "," << y;
                }
        }
        ASSERT_EQ(wrong, 0) << "shape " << i << " kind " << s.kind << " box " << s.l << "," << s.t << "," << s.r << "," << s.b
                            << " points " << s.x3 << "," << s.y3 << " " << s.x4 << "," << s.y4 << " width " << s.width
                            << " style " << int(s.style) << (s.brush ? " brush" : "") << (xorMode ? " xor" : "") << ": first at "
                            << first.x() << "," << first.y();
    }
    EXPECT_GT(inked, 1000);
}
