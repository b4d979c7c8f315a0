#include "platform/graphics.h"

#include <gtest/gtest.h>

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
