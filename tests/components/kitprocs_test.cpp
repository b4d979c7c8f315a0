#include <QtEndian>
#include <gtest/gtest.h>

#include "components/kitbmpstream.h"
#include "components/kitprocs.h"

namespace {

TColor px(TBitmap& b, int x, int y)
{
    return FromQColor(QColor(b.Image().pixel(x, y)));
}

bool hasColor(TBitmap& b, TColor c)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (px(b, x, y) == c)
                return true;
    return false;
}

TBitmap blank(int w, int h, TColor c = clWhite)
{
    TBitmap b(w, h);
    b.Canvas().Brush.Color = c;
    b.Canvas().FillRect(TRect(0, 0, w, h));
    return b;
}

} // namespace

TEST(KitAlignRect, AllNineAlignmentsIncludingNegativeOffsets)
{
    const TRect src(0, 0, 10, 10);
    const TRect dst(0, 0, 15, 15);
    EXPECT_EQ(AlignRect(agTopLeft, src, dst), TRect(0, 0, 10, 10));
    EXPECT_EQ(AlignRect(agTopCenter, src, dst), TRect(2, 0, 12, 10));
    EXPECT_EQ(AlignRect(agTopRight, src, dst), TRect(5, 0, 15, 10));
    EXPECT_EQ(AlignRect(agCenterLeft, src, dst), TRect(0, 2, 10, 12));
    EXPECT_EQ(AlignRect(agCenter, src, dst), TRect(2, 2, 12, 12));
    EXPECT_EQ(AlignRect(agCenterRight, src, dst), TRect(5, 2, 15, 12));
    EXPECT_EQ(AlignRect(agBottomLeft, src, dst), TRect(0, 5, 10, 15));
    EXPECT_EQ(AlignRect(agBottomCenter, src, dst), TRect(2, 5, 12, 15));
    EXPECT_EQ(AlignRect(agBottomRight, src, dst), TRect(5, 5, 15, 15));

    // A source larger than the destination: offsets go negative, and the
    // halves truncate toward zero ((10 - 21) div 2 = -5).
    const TRect big(100, 100, 121, 121);
    const TRect small(0, 0, 10, 10);
    EXPECT_EQ(AlignRect(agBottomRight, TRect(0, 0, 20, 20), small), TRect(-10, -10, 10, 10));
    EXPECT_EQ(AlignRect(agCenter, big, small), TRect(-5, -5, 16, 16));
    EXPECT_EQ(AlignRect(agTopCenter, big, TRect(7, 3, 17, 13)), TRect(2, 3, 23, 24));
    EXPECT_EQ(AlignRect(agCenterRight, big, TRect(7, 3, 17, 13)), TRect(-4, -2, 17, 19));
}

TEST(KitGradientColors, StepsRoundToNearestAndEndExactly)
{
    TKitColorList list;
    GradientColors(clBlack, 0x0000FF, 16, &list);
    ASSERT_EQ(list.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(list[std::size_t(i)], RGB(17 * i, 0, 0)) << i;

    // The start form's gradient: black to lime in 48 colours.
    GradientColors(clBlack, clLime, 48, &list);
    ASSERT_EQ(list.size(), 48u);
    EXPECT_EQ(list[0], clBlack);
    EXPECT_EQ(list[1], RGB(0, 5, 0));   // 255/47 = 5.43
    EXPECT_EQ(list[2], RGB(0, 11, 0));  // 10.85
    EXPECT_EQ(list[23], RGB(0, 125, 0)); // 124.79
    EXPECT_EQ(list[24], RGB(0, 130, 0)); // 130.21
    EXPECT_EQ(list[47], clLime);

    // Downward steps and system colours (converted to RGB first).
    GradientColors(clWhite, clBlack, 3, &list);
    EXPECT_EQ(list, (TKitColorList{clWhite, RGB(127, 127, 127), clBlack})); // 255 - 127.5 rounds away
    GradientColors(clBtnFace, clBtnFace, 2, &list);
    EXPECT_EQ(list[0], ColorToRGB(clBtnFace));

    // A gradient of one colour is that colour, not a division by zero.
    GradientColors(clRed, clBlue, 1, &list);
    EXPECT_EQ(list, TKitColorList{clRed});
    // No count, no list: nothing.
    GradientColors(clRed, clBlue, 0, &list);
    EXPECT_EQ(list, TKitColorList{clRed});
    GradientColors(clRed, clBlue, 5, nullptr);

    EXPECT_EQ(GradientPalette(nullptr), nullptr);
    TKitColorList empty;
    EXPECT_EQ(GradientPalette(&empty), nullptr);
    EXPECT_EQ(GradientPalette(&list)->Entries, list);
}

TEST(KitGradientSteps, BandEdgesOfVerticalAndHorizontalGradients)
{
    // 16 colours on 100 pixels: edges MulDiv(i, 100, 16).
    auto steps = GradientSteps(gstVertical, 30, 100, 16);
    ASSERT_EQ(steps.size(), 16u);
    // Painted from the last band up; the first colour is at the top.
    EXPECT_EQ(steps.front().ColorIndex, 15);
    EXPECT_EQ(steps.back().ColorIndex, 0);
    const int edges[17] = {0, 6, 13, 19, 25, 31, 38, 44, 50, 56, 63, 69, 75, 81, 88, 94, 100};
    for (const auto& s : steps) {
        EXPECT_EQ(s.Shape.Top, edges[s.ColorIndex]);
        EXPECT_EQ(s.Shape.Bottom, edges[s.ColorIndex + 1]);
        EXPECT_EQ(s.Shape.Left, 0);
        EXPECT_EQ(s.Shape.Right, 30);
    }

    // The start form's client (632 x 453) with 48 colours: ties round away
    // from zero (24 * 453 / 48 = 226.5 -> 227).
    steps = GradientSteps(gstVertical, 632, 453, 48);
    ASSERT_EQ(steps.size(), 48u);
    auto band = [&](int i) {
        for (const auto& s : steps)
            if (s.ColorIndex == i)
                return s.Shape;
        return TRect();
    };
    EXPECT_EQ(band(0), TRect(0, 0, 632, 9));
    EXPECT_EQ(band(1), TRect(0, 9, 632, 19));
    EXPECT_EQ(band(23), TRect(0, 217, 632, 227));
    EXPECT_EQ(band(24), TRect(0, 227, 632, 236));
    EXPECT_EQ(band(47), TRect(0, 444, 632, 453));

    steps = GradientSteps(gstHorizontal, 100, 5, 16);
    EXPECT_EQ(steps.front().ColorIndex, 0);
    EXPECT_EQ(steps[1].Shape, TRect(6, 0, 13, 5));
}

TEST(KitFillGradient, PaintsBandsOnCanvasAndViaBitmap)
{
    TKitColorList list;
    GradientColors(clBlack, clLime, 48, &list);
    for (std::uint16_t flags : {std::uint16_t(0), KIT_DF_VIABITMAP}) {
        TBitmap b = blank(640, 460);
        FillGradient(&b.Canvas(), TRect(4, 5, 636, 458), gstVertical, &list, nullptr, flags, 0);
        EXPECT_EQ(px(b, 3, 100), clWhite) << flags;       // left of the rect
        EXPECT_EQ(px(b, 4, 5), clBlack) << flags;         // first band at the top
        EXPECT_EQ(px(b, 635, 5 + 8), clBlack) << flags;
        EXPECT_EQ(px(b, 300, 5 + 9), list[1]) << flags;   // second band starts at 9
        EXPECT_EQ(px(b, 300, 5 + 226), list[23]) << flags;
        EXPECT_EQ(px(b, 300, 5 + 227), list[24]) << flags;
        EXPECT_EQ(px(b, 300, 5 + 452), clLime) << flags;  // last line
        EXPECT_EQ(px(b, 300, 458), clWhite) << flags;     // below the rect
    }
}

TEST(KitFillGradient, OtherStylesPutTheStartColourWhereTheyShould)
{
    TKitColorList list;
    GradientColors(clRed, clBlue, 8, &list);
    struct Case {
        TKitGradientStyle style;
        TPoint start;
        TPoint end;
    } cases[] = {
        {gstHorizontal, {0, 20}, {79, 20}}, {gstSquare, {40, 20}, {0, 0}},      {gstElliptic, {40, 20}, {1, 1}},
        {gstTopLeft, {0, 0}, {79, 39}},     {gstTopRight, {79, 0}, {0, 39}},    {gstBottomLeft, {0, 39}, {79, 0}},
        {gstBottomRight, {79, 39}, {0, 0}},
    };
    for (const auto& c : cases) {
        TBitmap b = blank(80, 40);
        FillGradient(&b.Canvas(), TRect(0, 0, 80, 40), c.style, &list, nullptr, KIT_DF_VIABITMAP, 0);
        EXPECT_EQ(px(b, c.start.X, c.start.Y), clRed) << int(c.style);
        EXPECT_EQ(px(b, c.end.X, c.end.Y), clBlue) << int(c.style);
    }
}

TEST(KitFillGradient, NothingForEmptyInputAndClipKeepsInside)
{
    TKitColorList list;
    TBitmap b = blank(20, 20);
    FillGradient(&b.Canvas(), TRect(0, 0, 20, 20), gstVertical, &list, nullptr, 0, 0);
    FillGradient(&b.Canvas(), TRect(0, 0, 20, 20), gstVertical, nullptr, nullptr, 0, 0);
    GradientColors(clRed, clRed, 2, &list);
    FillGradient(&b.Canvas(), TRect(5, 5, 5, 20), gstVertical, &list, nullptr, 0, 0);
    EXPECT_EQ(px(b, 5, 10), clWhite);

    // An elliptic gradient drawn straight on the canvas reaches past its
    // rectangle unless clipped; the clip offset moves the clip.
    TBitmap c = blank(60, 60);
    FillGradient(&c.Canvas(), TRect(20, 20, 40, 40), gstElliptic, &list, nullptr, KIT_DF_CLIP, 0);
    EXPECT_EQ(px(c, 30, 30), clRed);
    EXPECT_EQ(px(c, 30, 19), clWhite);
    EXPECT_EQ(px(c, 41, 30), clWhite);
    TBitmap d = blank(60, 60);
    FillGradient(&d.Canvas(), TRect(20, 20, 40, 40), gstElliptic, &list, nullptr, KIT_DF_CLIP, (5u << 16) | 5u);
    EXPECT_EQ(px(d, 21, 30), clWhite);
    EXPECT_EQ(px(d, 30, 42), clRed);
}

TEST(KitBevels, DrawBevelResultsAndPixels)
{
    TBitmap b = blank(20, 10);
    TRect r(0, 0, 20, 10);
    EXPECT_FALSE(DrawBevel(&b.Canvas(), r, bvRaised, clWhite, clGray, 0));
    EXPECT_FALSE(DrawBevel(&b.Canvas(), r, bvShadow, clWhite, clGray, 2));
    EXPECT_FALSE(DrawBevel(&b.Canvas(), r, bvNone, clWhite, clGray, 2));
    EXPECT_EQ(r, TRect(0, 0, 20, 10));

    EXPECT_TRUE(DrawBevel(&b.Canvas(), r, bvRaised, clYellow, clNavy, 2));
    EXPECT_EQ(r, TRect(2, 2, 18, 8));
    EXPECT_EQ(px(b, 0, 0), clYellow);   // raised: light on top and left
    EXPECT_EQ(px(b, 1, 5), clYellow);
    EXPECT_EQ(px(b, 19, 9), clNavy);    // shadow at bottom and right
    EXPECT_EQ(px(b, 18, 5), clNavy);
    EXPECT_EQ(px(b, 5, 5), clWhite);    // inside untouched

    TBitmap c = blank(20, 10);
    r = TRect(0, 0, 20, 10);
    EXPECT_TRUE(DrawBevel(&c.Canvas(), r, bvFrameLowered, clYellow, clNavy, 1));
    EXPECT_EQ(r, TRect(2, 2, 18, 8)); // a frame takes one pixel more
    EXPECT_EQ(px(c, 0, 0), clNavy);   // lowered frame: shadow outer top-left
    EXPECT_EQ(px(c, 1, 1), clYellow); // light offset frame inside
    EXPECT_EQ(px(c, 19, 9), clYellow);

    TBitmap d = blank(10, 10);
    r = TRect(0, 0, 10, 10);
    EXPECT_TRUE(DrawBevel(&d.Canvas(), r, bvLowered, clYellow, clNavy, 1));
    EXPECT_EQ(r, TRect(1, 1, 9, 9));
    EXPECT_EQ(px(d, 0, 5), clNavy);
    EXPECT_EQ(px(d, 5, 0), clNavy);
    EXPECT_EQ(px(d, 9, 5), clYellow);
    EXPECT_EQ(px(d, 5, 9), clYellow);

    TBitmap e = blank(20, 20);
    r = TRect(0, 0, 20, 20);
    EXPECT_TRUE(DrawShadowBevel(&e.Canvas(), r, clBlack, clGray, clRed, 4, 1, false));
    EXPECT_EQ(r, TRect(1, 1, 15, 15));
    EXPECT_EQ(px(e, 18, 10), clGray);  // shadow right
    EXPECT_EQ(px(e, 18, 1), clRed);    // notch top-right
    EXPECT_EQ(px(e, 1, 18), clRed);    // notch bottom-left
    EXPECT_EQ(px(e, 0, 0), clBlack);   // frame
    TBitmap f = blank(20, 20);
    r = TRect(0, 0, 20, 20);
    DrawShadowBevel(&f.Canvas(), r, clBlack, clGray, clRed, 4, 1, true);
    EXPECT_EQ(px(f, 18, 1), clWhite); // transparent: no notches
}

TEST(KitBevels, BorderStylesShrinkTheRectAsTheirWidth)
{
    const TKitBorderStyle all[] = {lsNone,         lsSingle,       lsLowered,      lsRaised,      lsRaisedspb,
                                   lsLoweredspb,   lsRaisedExt,    lsLoweredExt,   lsFrameInset,  lsFrameOffset,
                                   lsWindowBorder, lsSingleRaised, lsSingleLowered, lsDoubleRaised, lsDoubleLowered};
    for (TKitBorderStyle s : all) {
        TBitmap b = blank(20, 10);
        TRect r(0, 0, 20, 10);
        EXPECT_TRUE(DrawBorder(&b.Canvas(), r, s));
        const int w = BorderStyleWidth(s);
        if (s == lsSingle) {
            EXPECT_EQ(r, TRect(1, 1, 20, 10));
        } else if (s == lsRaisedspb) {
            EXPECT_EQ(r, TRect(1, 1, 18, 8)); // the inner ring only at bottom right
        } else if (s == lsLoweredspb) {
            EXPECT_EQ(r, TRect(2, 2, 19, 9));
        } else if (s == lsWindowBorder) {
            EXPECT_EQ(r, TRect(2, 2, 18, 8));
        } else {
            EXPECT_EQ(r, TRect(w, w, 20 - w, 10 - w)) << int(s);
        }
    }
    TBitmap b = blank(20, 10);
    TRect r(0, 0, 20, 10);
    DrawBorder(&b.Canvas(), r, lsSingleLowered);
    EXPECT_EQ(px(b, 0, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(px(b, 19, 5), ColorToRGB(clBtnHighlight));
}

TEST(KitText, EffectLayersAreDrawnAtTheirOffsets)
{
    TKit3DCaption cap;
    cap.SetStyle(tdRaised);
    cap.SetLightColor(clRed);
    TBitmap b = blank(80, 30);
    b.Canvas().Font = TFont("Arial", 20, clBlue);
    DrawFxText(&b.Canvas(), "I", &cap, TRect(10, 0, 80, 30), DT_SINGLELINE, KIT_FX_ENABLED);
    // The light layer at the rectangle, the face one pixel right and down:
    // at the stroke's left edge a red column stays uncovered.
    const QImage img = b.Image();
    int firstRed = -1, firstBlue = -1;
    for (int x = 0; x < 80 && (firstRed < 0 || firstBlue < 0); ++x)
        for (int y = 0; y < 30; ++y) {
            const TColor c = FromQColor(QColor(img.pixel(x, y)));
            if (c == clRed && firstRed < 0)
                firstRed = x;
            if (c == clBlue && firstBlue < 0)
                firstBlue = x;
        }
    ASSERT_GE(firstRed, 10);
    EXPECT_EQ(firstBlue, firstRed + 1);

    // tdPColorSunken draws its face in the brush colour.
    TKit3DCaption pc;
    pc.SetStyle(tdPColorSunken);
    TBitmap c = blank(80, 30);
    c.Canvas().Font = TFont("Arial", 20, clBlue);
    c.Canvas().Brush.Color = clLime;
    DrawFxText(&c.Canvas(), "H", &pc, TRect(10, 0, 80, 30), DT_SINGLELINE, KIT_FX_ENABLED);
    EXPECT_TRUE(hasColor(c, clLime));
    EXPECT_FALSE(hasColor(c, clBlue));
}

TEST(KitText, DisabledCaptionsAndMeasuring)
{
    TKit3DCaption cap;
    cap.SetDisabledStyle(dsStandard);
    cap.SetStyle(tdNone);
    TBitmap b = blank(80, 30);
    b.Canvas().Font = TFont("Arial", 20, clBlue);
    DrawFxText(&b.Canvas(), "H", &cap, TRect(0, 0, 80, 30), DT_SINGLELINE, 0);
    EXPECT_TRUE(hasColor(b, ColorToRGB(clGrayText)));

    // ds3d: sunken, in grey over the light colour.
    cap.SetDisabledStyle(ds3d);
    cap.SetLightColor(clRed);
    TBitmap d = blank(80, 30);
    d.Canvas().Font = TFont("Arial", 20, clBlue);
    DrawFxText(&d.Canvas(), "H", &cap, TRect(0, 0, 80, 30), DT_SINGLELINE, 0);
    EXPECT_TRUE(hasColor(d, clRed));
    EXPECT_TRUE(hasColor(d, ColorToRGB(clGrayText)));
    EXPECT_FALSE(hasColor(d, clBlue));

    // Measuring: an empty text measures a blank; margin 0 adds 2, a label
    // bevel extent of 2 adds 6; the effect depth adds to both.
    TBitmap m(1, 1);
    TFont font("Arial", 16);
    TRect blankRect(0, 0, 200, 0);
    CalcFxTextRect(&m.Canvas(), "", nullptr, blankRect, &font, false, true, 0, 0);
    TRect space(0, 0, 200, 0);
    CalcFxTextRect(&m.Canvas(), " ", nullptr, space, &font, false, true, 0, 0);
    TRect amp(0, 0, 200, 0);
    CalcFxTextRect(&m.Canvas(), "&", nullptr, amp, &font, false, true, 0, 0);
    EXPECT_EQ(blankRect, space);
    EXPECT_EQ(amp, space);
    TRect m0(0, 0, 200, 0), m2(0, 0, 200, 0);
    CalcFxTextRect(&m.Canvas(), "Abc", nullptr, m0, &font, false, false, 0, 0);
    CalcFxTextRect(&m.Canvas(), "Abc", nullptr, m2, &font, false, false, 2, 0);
    EXPECT_EQ(m2.Width() - m0.Width(), 4);
    EXPECT_EQ(m2.Height() - m0.Height(), 4);
    TKit3DCaption deep;
    deep.SetStyle(tdRaisedShadow);
    deep.SetLightDepth(2);
    deep.SetShadowDepth(3);
    TRect fx(0, 0, 200, 0);
    CalcFxTextRect(&m.Canvas(), "Abc", &deep, fx, &font, false, false, 0, 0);
    EXPECT_EQ(fx.Width() - m0.Width(), 5);

    // Rotated by 90 degrees: width and height swap.
    TKitFxCaption rot;
    rot.SetAngle(90);
    TRect turned(0, 0, 0, 0);
    CalcFxTextRect(&m.Canvas(), "Rotated", &rot, turned, &font, false, false, 0, DT_SINGLELINE);
    const int w = m.Canvas().TextWidth("Rotated"), h = m.Canvas().TextHeight("Rotated");
    EXPECT_EQ(turned, TRect(0, 0, h / 2 * 2 + 2, w / 2 * 2 + 2));
    EXPECT_GT(rot.PosY(), 0); // the text starts low and runs upward

    // Laying out: the measured rectangle aligned in the available one.
    const TRect laid = DrawFxCaption(agCenter, "Abc", nullptr, TRect(0, 0, 201, 100), &font, false, false, 0);
    EXPECT_EQ(laid.Width(), m0.Width());
    EXPECT_EQ(laid.Left, (201 - laid.Width()) / 2);
    EXPECT_TRUE(CanvasFontIsTrueType(&m.Canvas()));
}

TEST(KitBitmaps, PlacementModesAndTiling)
{
    TBitmap pic(30, 30);
    pic.Canvas().Brush.Color = clRed;
    pic.Canvas().FillRect(TRect(0, 0, 30, 30));
    pic.Canvas().Brush.Color = clLime;
    pic.Canvas().FillRect(TRect(10, 10, 20, 20));

    TBitmap b = blank(120, 120);
    TRect drawn;
    DrawBitmapInRect(&b.Canvas(), TRect(0, 0, 100, 100), &pic, KIT_DF_TILE, 0, &drawn);
    // Rows and columns 0 to 4: the last tiles reach past the rectangle.
    EXPECT_EQ(px(b, 119, 119), clRed);
    EXPECT_EQ(px(b, 135 - 30, 135 - 30), clLime);
    EXPECT_EQ(drawn, TRect(0, 0, 100, 100));

    TBitmap c = blank(100, 100);
    DrawBitmapInRect(&c.Canvas(), TRect(0, 0, 100, 100), &pic, KIT_DF_CENTER, 0, &drawn);
    EXPECT_EQ(drawn, TRect(35, 35, 65, 65));
    EXPECT_EQ(px(c, 34, 50), clWhite);
    EXPECT_EQ(px(c, 50, 50), clLime);

    TBitmap d = blank(100, 100);
    DrawBitmapInRect(&d.Canvas(), TRect(0, 0, 90, 60), &pic, KIT_DF_STRETCH | KIT_DF_PROPORTIONAL, 0, &drawn);
    EXPECT_EQ(drawn, TRect(0, 0, 60, 60));
    DrawBitmapInRect(&d.Canvas(), TRect(0, 0, 90, 60), &pic, KIT_DF_STRETCH | KIT_DF_KEEPWIDTH, 0, &drawn);
    EXPECT_EQ(drawn, TRect(0, 0, 90, 90));
    DrawBitmapInRect(&d.Canvas(), TRect(0, 0, 90, 60), &pic, KIT_DF_STRETCH | KIT_DF_KEEPHEIGHT, 0, &drawn);
    EXPECT_EQ(drawn, TRect(0, 0, 60, 60));
    DrawBitmapInRect(&d.Canvas(), TRect(0, 0, 90, 60), &pic, KIT_DF_STRETCH, 0, &drawn);
    EXPECT_EQ(drawn, TRect(0, 0, 90, 60));
    EXPECT_EQ(px(d, 45, 30), clLime);

    // Nothing for an empty destination, or a bitmap marked not to be drawn.
    TBitmap e = blank(40, 40);
    DrawBitmapInRect(&e.Canvas(), TRect(0, 0, 0, 40), &pic, 0, 0, &drawn);
    EXPECT_EQ(drawn, TRect());
    // A picture of no size scales by nothing, in every stretch mode.
    TBitmap none;
    for (std::uint16_t keep : {std::uint16_t(0), KIT_DF_KEEPWIDTH, KIT_DF_KEEPHEIGHT, KIT_DF_PROPORTIONAL})
        DrawBitmapInRect(&e.Canvas(), TRect(0, 0, 40, 40), &none, KIT_DF_STRETCH | keep, 0, &drawn);
    EXPECT_EQ(px(e, 5, 5), clWhite);
    pic.Canvas().MoveTo(-1, 0);
    DrawBitmapEx(&e.Canvas(), TRect(0, 0, 40, 40), &pic, 0, 0, 0);
    EXPECT_EQ(px(e, 5, 5), clWhite);
}

TEST(KitBitmaps, TransparentModesKeepTheBackground)
{
    TBitmap pic(10, 10);
    pic.Canvas().Brush.Color = clFuchsia;
    pic.Canvas().FillRect(TRect(0, 0, 10, 10));
    pic.Canvas().Brush.Color = clBlue;
    pic.Canvas().FillRect(TRect(3, 3, 7, 7));

    // A mask made on the fly from the transparent colour.
    TBitmap b = blank(40, 40, clYellow);
    DrawBitmapEx(&b.Canvas(), TRect(0, 0, 40, 40), &pic, KIT_DF_TRANSPARENT | KIT_DF_TILE, 0, clFuchsia);
    EXPECT_EQ(px(b, 1, 1), clYellow);
    EXPECT_EQ(px(b, 5, 5), clBlue);
    EXPECT_EQ(px(b, 15, 15), clBlue); // every tile
    EXPECT_EQ(px(b, 11, 11), clYellow);

    // The brush copy: the transparent colour becomes the given one.
    pic.TransparentColor = clFuchsia;
    TBitmap c = blank(20, 20, clYellow);
    DrawBitmapEx(&c.Canvas(), TRect(0, 0, 20, 20), &pic, KIT_DF_BRUSHCOPY, 0, clGreen);
    EXPECT_EQ(px(c, 1, 1), clGreen);
    EXPECT_EQ(px(c, 5, 5), clBlue);
    EXPECT_EQ(px(c, 15, 15), clYellow);

    // A mask the caller supplies.
    TBitmap mask, image;
    MakeMaskedImage(&pic.Canvas(), TRect(0, 0, 10, 10), &mask, clFuchsia, &image);
    EXPECT_EQ(px(mask, 0, 0), clWhite);
    EXPECT_EQ(px(mask, 5, 5), clBlack);
    EXPECT_EQ(px(image, 0, 0), clBlack);
    EXPECT_EQ(px(image, 5, 5), clBlue);
    TBitmap d = blank(20, 20, clYellow);
    DrawBitmapClipped(&d.Canvas(), TRect(0, 0, 20, 20), &image.Canvas(), TRect(0, 0, 10, 10), KIT_DF_MASKED, 0, 0,
                      nullptr, &mask.Canvas());
    EXPECT_EQ(px(d, 1, 1), clYellow);
    EXPECT_EQ(px(d, 5, 5), clBlue);

    // Clipping keeps tiles inside the rectangle (moved by the clip offset).
    TBitmap e = blank(40, 40, clYellow);
    DrawBitmapEx(&e.Canvas(), TRect(0, 0, 15, 15), &pic, KIT_DF_TILE | KIT_DF_CLIP, 0, 0);
    EXPECT_EQ(px(e, 11, 11), clFuchsia);
    EXPECT_EQ(px(e, 14, 14), clBlue);
    EXPECT_EQ(px(e, 16, 16), clYellow);
}

TEST(KitBmpWriter, HeaderSizesAndBytesPerDepth)
{
    TBitmap b(10, 10);
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect(TRect(0, 0, 10, 10));
    b.Canvas().SetPixel(0, 9, clBlack); // bottom-left: the first pixel stored

    int headerSize = 0, imageSize = 0;
    BMPSizes(&b, 256, headerSize, imageSize);
    EXPECT_EQ(headerSize, 1064);
    EXPECT_EQ(imageSize, 120);
    QByteArray img = BuildBMPImage(&b, nullptr, 256);
    ASSERT_EQ(img.size(), 1198);
    auto u32 = [&](int at) { return qFromLittleEndian<std::uint32_t>(img.constData() + at); };
    auto u16 = [&](int at) { return qFromLittleEndian<std::uint16_t>(img.constData() + at); };
    EXPECT_EQ(u16(0), 0x4D42);
    EXPECT_EQ(u32(2), 1198u);
    EXPECT_EQ(u32(10), 1078u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 10u);
    EXPECT_EQ(u32(22), 10u);
    EXPECT_EQ(u16(26), 1);
    EXPECT_EQ(u16(28), 8);
    EXPECT_EQ(u32(34), 120u);

    // 32-bit pixels are written as 24 bits: 10 * 3 = 30 bytes a row, padded to 32.
    img = BuildBMPImage(&b, nullptr, 0);
    EXPECT_EQ(u16(28), 24);
    EXPECT_EQ(img.size(), 14 + 40 + 320);
    EXPECT_EQ(quint8(img[54]), 0);   // first stored pixel: bottom-left, black
    EXPECT_EQ(quint8(img[57]), 255); // then white

    img = BuildBMPImage(&b, nullptr, 2);
    EXPECT_EQ(u16(28), 1);
    EXPECT_EQ(img.size(), 14 + 48 + 40);
    EXPECT_EQ(quint8(img[62]), 0x7F); // black then seven white pixels
    img = BuildBMPImage(&b, nullptr, 16);
    EXPECT_EQ(u16(28), 4);
    EXPECT_EQ(img.size(), 14 + 40 + 64 + 80);

    TMemoryStream s;
    WriteBMPImage(s, &b, nullptr, 16, true);
    EXPECT_EQ(s.Size(), 4 + 198);
    EXPECT_EQ(qFromLittleEndian<std::uint32_t>(s.Memory()), 198u);
    TMemoryStream r;
    SaveBitmapReduced(r, &b, 256);
    EXPECT_EQ(r.Size(), 1198);
    EXPECT_EQ(r.Position(), 0);

    TBitmap none;
    EXPECT_THROW(BuildBMPImage(&none, nullptr, 0), Exception);
    try {
        BuildBMPImage(nullptr, nullptr, 0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Bitmap image is not valid");
    }
}
