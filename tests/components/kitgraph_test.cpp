#include <gtest/gtest.h>

#include "components/kitprocs.h"

namespace {

struct ChangeCounter {
    int count = 0;
    void attach(TKitObject& o)
    {
        o.OnChange = [this](TObject*) { ++count; };
    }
};

TColor px(TBitmap& b, int x, int y)
{
    return FromQColor(QColor(b.Image().pixel(x, y)));
}

} // namespace

TEST(KitBevel, ExtentsOfEveryMode)
{
    TKitBevel b;
    EXPECT_EQ(b.Extent(), 0);
    b.SetBorderWidth(3);
    b.SetBorderInnerWidth(2);
    EXPECT_EQ(b.Extent(), 5);
    b.SetStyleOuter(bvFrameRaised);
    b.SetWidthOuter(2);
    EXPECT_EQ(b.Extent(), 8);
    b.SetStyleInner(bvLowered);
    b.SetWidthInner(4);
    EXPECT_EQ(b.Extent(), 12);
    EXPECT_EQ(b.FarExtent(), 12);

    TKitBevel s;
    s.SetStyleOuter(bvShadow);
    s.SetWidthOuter(4);
    EXPECT_EQ(s.StyleInner(), bvShadow);
    EXPECT_EQ(s.Extent(), 1);
    EXPECT_EQ(s.FarExtent(), 5);
    EXPECT_EQ(s.ClientRect(TRect(0, 0, 100, 50)), TRect(1, 1, 95, 45));
    s.SetStyleInner(bvRaised);
    EXPECT_EQ(s.StyleOuter(), bvNone);

    TKitBevel st;
    st.SetStandardStyle(lsRaised);
    st.SetMode(bmStandard);
    EXPECT_EQ(st.Extent(), 2);
    st.SetStandardStyle(lsSingle);
    EXPECT_EQ(st.Extent(), 1);
    st.SetStandardStyle(lsNone);
    EXPECT_EQ(st.Extent(), 0);
    st.SetBorderInnerWidth(3);
    EXPECT_EQ(st.Extent(), 3);
    EXPECT_EQ(st.ClientRect(TRect(0, 0, 100, 50)), TRect(3, 3, 97, 47));

    TKitBevel e;
    e.SetMode(bmEdge);
    EXPECT_EQ(e.Extent(), 2);
    e.SetBorderSides({});
    EXPECT_EQ(e.Extent(), 0);

    TKitBevel w;
    w.SetBorderInnerWidth(1);
    w.SetMode(bmWindows);
    EXPECT_EQ(w.Extent(), 3);
    w.WindowedOwner = true;
    w.Change();
    EXPECT_EQ(w.Extent(), 0);
}

TEST(KitBevel, WritersNotifyOnceAndOnlyWhenItMatters)
{
    TKitBevel b;
    ChangeCounter c;
    c.attach(b);
    b.SetWidthInner(1); // unchanged
    EXPECT_EQ(c.count, 0);
    b.SetLightColor(clRed);
    b.SetShadowColor(clBlue);
    b.SetBorderColor(clLime);
    EXPECT_EQ(c.count, 3);
    EXPECT_EQ(b.LightColor(), clRed);
    EXPECT_EQ(b.ShadowColor(), clBlue);
    EXPECT_EQ(b.BorderColor(), clLime);

    // The standard style matters only in standard mode, but is kept.
    b.SetStandardStyle(lsRaised);
    EXPECT_EQ(c.count, 3);
    b.SetMode(bmStandard);
    EXPECT_EQ(c.count, 4);
    EXPECT_EQ(b.Extent(), 2);

    // Locked: the caches still follow, the owner hears nothing.
    b.BeginUpdate();
    b.SetStandardStyle(lsSingle);
    EXPECT_EQ(b.Extent(), 1);
    b.EndUpdate(false);
    EXPECT_EQ(c.count, 4);

    // A windowed owner learns once of a switch to or from bmWindows.
    b.WindowedOwner = true;
    EXPECT_FALSE(b.ModeChanged());
    b.SetMode(bmWindows);
    EXPECT_TRUE(b.ModeChanged());
    b.SetMode(bmEdge);
    EXPECT_TRUE(b.ModeChanged());
    EXPECT_FALSE(b.ModeChanged());

    TKitBevel copy;
    copy.Assign(&b);
    EXPECT_EQ(copy.Mode(), bmEdge);
    EXPECT_EQ(copy.LightColor(), clRed);
    EXPECT_TRUE(copy.WindowedOwner);
    EXPECT_EQ(copy.Extent(), b.Extent());
    copy.Assign(&copy); // keeps its data
    EXPECT_EQ(copy.Mode(), bmEdge);
    TKitGradient g;
    EXPECT_ANY_THROW(copy.Assign(&g));
}

TEST(KitBevel, PaintBevelReturnsTheInnerRect)
{
    TBitmap bmp(40, 30);
    TKitBevel b;
    EXPECT_EQ(b.PaintBevel(&bmp.Canvas(), TRect(0, 0, 40, 30), false), TRect(0, 0, 40, 30));

    b.SetStyleOuter(bvRaised);
    b.SetWidthOuter(2);
    b.SetBorderWidth(1);
    b.SetBorderColor(clRed);
    b.SetStyleInner(bvLowered);
    EXPECT_EQ(b.PaintBevel(&bmp.Canvas(), TRect(0, 0, 40, 30), false), TRect(4, 4, 36, 26));
    EXPECT_EQ(px(bmp, 2, 10), clRed); // the border ring between the bevels
    EXPECT_EQ(b.ClientRect(TRect(0, 0, 40, 30)), TRect(4, 4, 36, 26));

    // Transparent: the plain ring is only stepped over.
    TBitmap t(40, 30);
    t.Canvas().Brush.Color = clWhite;
    t.Canvas().FillRect(TRect(0, 0, 40, 30));
    EXPECT_EQ(b.PaintBevel(&t.Canvas(), TRect(0, 0, 40, 30), true), TRect(4, 4, 36, 26));
    EXPECT_EQ(px(t, 2, 10), clWhite);

    // Edge mode with the top side only: one edge drawn, inset on all sides.
    TKitBevel e;
    e.SetMode(bmEdge);
    e.SetBorderSides({fsTop});
    TBitmap eb(40, 30);
    eb.Canvas().Brush.Color = clWhite;
    eb.Canvas().FillRect(TRect(0, 0, 40, 30));
    EXPECT_EQ(e.PaintBevel(&eb.Canvas(), TRect(0, 0, 40, 30), false), TRect(2, 2, 38, 28));
    EXPECT_NE(px(eb, 20, 0), clWhite);
    EXPECT_EQ(px(eb, 0, 15), clWhite);
    EXPECT_EQ(px(eb, 20, 29), clWhite);

    TKitBevel w;
    w.SetMode(bmWindows);
    EXPECT_EQ(w.PaintBevel(&bmp.Canvas(), TRect(0, 0, 40, 30), false), TRect(2, 2, 38, 28));
}

TEST(KitGradient, ColoursFollowEveryChange)
{
    TKitGradient g;
    EXPECT_EQ(g.Colors().size(), 16u);
    EXPECT_EQ(g.Colors().front(), clBlue);
    EXPECT_EQ(g.Colors().back(), clBlack);
    EXPECT_EQ(g.Palette(), nullptr);

    ChangeCounter c;
    c.attach(g);
    g.SetColor(clBlack);
    g.SetEndColor(clLime);
    g.SetColorCount(48);
    EXPECT_EQ(c.count, 3);
    ASSERT_EQ(g.Colors().size(), 48u);
    EXPECT_EQ(g.Colors()[24], RGB(0, 130, 0));

    g.BeginUpdate();
    g.SetColorCount(2);
    EXPECT_EQ(g.Colors().size(), 2u); // also under the lock
    g.EndUpdate(false);
    EXPECT_EQ(c.count, 3);

    g.SetPaletteRealize(true);
    ASSERT_NE(g.Palette(), nullptr);
    EXPECT_EQ(g.Palette()->Entries, g.Colors());

    TKitGradient h;
    ChangeCounter hc;
    hc.attach(h);
    h.Assign(&g);
    EXPECT_EQ(hc.count, 1); // one notification for the whole copy
    EXPECT_EQ(h.Colors(), g.Colors());
    EXPECT_TRUE(h.PaletteRealize());
}

TEST(KitCaptions, AngleAndPositionWriters)
{
    TKitFxCaption f;
    ChangeCounter c;
    c.attach(f);
    f.SetAngle(360); // stored as 0, still reported
    EXPECT_EQ(f.Angle(), 0);
    EXPECT_EQ(c.count, 1);
    f.SetAngle(45);
    EXPECT_EQ(f.Angle(), 45);
    f.SetPos(3, 4);
    EXPECT_EQ(c.count, 2);
    EXPECT_EQ(f.PosX(), 3);
    EXPECT_EQ(f.PosY(), 4);
    f.SetPosX(5);
    EXPECT_EQ(c.count, 3);

    TKit3DCaption plain;
    plain.SetStyle(tdShadow);
    plain.SetShadowDepth(3);
    plain.SetTracing(2);
    f.Assign(&plain); // a plain caption copies its seven values only
    EXPECT_EQ(f.Style(), tdShadow);
    EXPECT_EQ(f.ShadowDepth(), 3);
    EXPECT_EQ(f.Tracing(), 2);
    EXPECT_EQ(f.Angle(), 45);

    TKitFxCaption g;
    g.Assign(&f);
    EXPECT_EQ(g.Angle(), 45);
    EXPECT_EQ(g.PosX(), 5);
}

TEST(KitFill, StylesPaintAndReport)
{
    TKitFillObject f;
    EXPECT_EQ(f.Style(), sfNone);
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_TRUE(f.IsTransparent());
    TBitmap bmp(20, 20);
    EXPECT_FALSE(f.Fill(&bmp.Canvas(), TRect(0, 0, 20, 20), clRed));

    ChangeCounter c;
    c.attach(f);
    f.SetAlignment(agCenter); // matters only for an untiled picture
    EXPECT_EQ(c.count, 0);
    f.SetStyle(sfBitmap);
    EXPECT_EQ(c.count, 1);
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_FALSE(f.IsTransparent()); // tiled
    // An empty picture: the inner fill only.
    EXPECT_FALSE(f.Fill(&bmp.Canvas(), TRect(0, 0, 20, 20), clRed));
    EXPECT_EQ(px(bmp, 10, 10), clRed);

    TBitmap pic(4, 4);
    pic.Canvas().Brush.Color = clBlue;
    pic.Canvas().FillRect(TRect(0, 0, 4, 4));
    f.SetBitmap(&pic);
    EXPECT_EQ(c.count, 2);
    f.SetTileMode(tmNone);
    f.SetOffsetX(1);
    EXPECT_EQ(c.count, 4);
    EXPECT_TRUE(f.Fill(&bmp.Canvas(), TRect(0, 0, 20, 20), clYellow));
    EXPECT_EQ(px(bmp, 0, 0), clYellow);
    EXPECT_EQ(px(bmp, 9, 8), clBlue); // centred (8, 8) and moved right by 1
    EXPECT_EQ(px(bmp, 8, 8), clYellow);

    f.SetStyle(sfGradient);
    f.Gradient()->SetColor(clBlack);
    f.Gradient()->SetEndColor(clLime);
    EXPECT_TRUE(f.IsTransparent());
    EXPECT_TRUE(f.Fill(&bmp.Canvas(), TRect(0, 0, 20, 20), clRed));
    EXPECT_EQ(px(bmp, 5, 0), clBlack);
    EXPECT_EQ(px(bmp, 5, 19), clLime);

    TBrush hatch;
    hatch.Color = clBlack;
    hatch.Style = TBrushStyle::bsSolid;
    f.SetBrush(&hatch);
    f.SetStyle(sfBrush);
    EXPECT_TRUE(f.Fill(&bmp.Canvas(), TRect(0, 0, 20, 20), clRed));
    EXPECT_EQ(px(bmp, 5, 5), clBlack);

    // Assign leaves the placement alone.
    TKitFillObject g;
    g.SetOffsetY(7);
    g.Assign(&f);
    EXPECT_EQ(g.Style(), sfBrush);
    EXPECT_EQ(g.OffsetY(), 7);
    EXPECT_EQ(g.Alignment(), agTopLeft);
    EXPECT_EQ(g.Gradient()->EndColor(), clLime);
    EXPECT_EQ(g.Bitmap()->Width(), 4);
}
