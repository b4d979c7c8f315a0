#include "components/kittechline.h"
#include "platform/forms.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

namespace {

// A technical line on a white form, grabbed as the user would see it.
struct LineOnForm {
    TForm form;
    TKitTechnicalLine* line;
    LineOnForm(int w, int h)
    {
        form.SetColor(clWhite);
        form.SetClientSize(w + 20, h + 20);
        line = new TKitTechnicalLine(&form);
        line->SetBounds(10, 10, w, h);
    }
    QImage picture()
    {
        form.show();
        testutil::pump();
        return line->grab().toImage();
    }
};

int countColor(const QImage& img, QRgb c, QRect r = QRect())
{
    if (r.isNull())
        r = img.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF))
                ++n;
    return n;
}

TEST(KitTechnicalLine, DefaultsAndArrowReorientation)
{
    TKitTechnicalLine l;
    EXPECT_EQ(l.Width(), 130);
    EXPECT_EQ(l.Height(), 45);
    EXPECT_EQ(l.LineEndingsign(), leClosedArrowRight);
    EXPECT_EQ(l.LineStartSign(), leNothing);
    EXPECT_EQ(l.SignSize(), 40);
    EXPECT_EQ(l.FillColor(), clNone);
    EXPECT_TRUE(l.Transparent());
    EXPECT_FALSE(l.IsEmpty());

    l.SetLineStartSign(leClosedArrowLeft);
    // Without Arrowed the signs stay as they are.
    l.SetLineType(lsStraightTopToBottom);
    EXPECT_EQ(l.LineStartSign(), leClosedArrowLeft);
    l.SetLineType(lsStraightLeftToRight);
    l.SetArrowed(true);
    EXPECT_EQ(l.LineStartSign(), leClosedArrowLeft); // setting Arrowed alone turns nothing
    l.SetLineType(lsStraightTopToBottom);
    EXPECT_EQ(l.LineStartSign(), leClosedArrowUp);
    EXPECT_EQ(l.LineEndingsign(), leClosedArrowDown);
    l.SetLineStartSign(leDiamond);
    l.SetLineEndingsign(leOpenArrowUp);
    l.SetLineType(lsBottomRightEdge); // start up, end left
    EXPECT_EQ(l.LineStartSign(), leDiamond);
    EXPECT_EQ(l.LineEndingsign(), leOpenArrowLeft);
}

TEST(KitTechnicalLine, DirectionTableOfTheCornerTypes)
{
    int s = 0, e = 0;
    KitLineDirections(lsTopLeftEdge, s, e);
    EXPECT_EQ(KitArrowFacing(leClosedArrowUp, s), leClosedArrowDown);
    EXPECT_EQ(KitArrowFacing(leClosedArrowUp, e), leClosedArrowRight);
    KitLineDirections(lsBottomLeftCurve, s, e);
    EXPECT_EQ(KitArrowFacing(leOpenArrowDown, s), leOpenArrowRight);
    EXPECT_EQ(KitArrowFacing(leOpenArrowDown, e), leOpenArrowUp);
}

TEST(KitTechnicalLine, SmallHorizontalDoubleArrowOfTheFrontPanel)
{
    LineOnForm f(25, 17);
    TKitTechnicalLine& l = *f.line;
    l.SetLineType(lsStraightLeftToRight);
    l.SetLineStartSign(leClosedArrowLeft);
    l.SetLineEndingsign(leClosedArrowRight);
    l.SetSignPlaces(spBoth);
    l.SetSignSize(6);
    l.SetFillColor(clBlack);
    l.Bevel()->SetMode(bmCustom);
    l.Bevel()->SetStandardStyle(lsSingleLowered);
    QImage img = f.picture();
    testutil::screenshot(&l, "techline_horz");
    // The area is the client less e + 1 = 1 pixel: origin (1, 1), W 23, H 15;
    // h = 7, squares 6 wide at x 1..7 and 18..24, the line at y = 8.
    const QRgb black = 0x000000;
    EXPECT_EQ(img.pixel(1, 8) & 0xFFFFFF, black);  // left tip
    EXPECT_EQ(img.pixel(12, 8) & 0xFFFFFF, black); // the shaft
    EXPECT_EQ(img.pixel(23, 8) & 0xFFFFFF, black); // right tip region
    EXPECT_GT(countColor(img, black, QRect(1, 5, 6, 7)), 12);  // a filled head
    EXPECT_EQ(countColor(img, black, QRect(0, 0, 25, 3)), 0);   // nothing far above
    EXPECT_EQ(countColor(img, black, QRect(0, 14, 25, 3)), 0);  // nothing far below
}

TEST(KitTechnicalLine, UnfilledSignsAreOutlinesAndShadowsUseTheShadowColour)
{
    LineOnForm open(130, 45);
    open.line->SetSignSize(20);
    open.line->SetFillColor(clNone);
    QImage outline = open.picture();

    LineOnForm filled(130, 45);
    filled.line->SetSignSize(20);
    filled.line->SetFillColor(clRed);
    QImage solid = filled.picture();
    // The end arrow's square: x from W - M to W in area coordinates.
    QRect head(100, 10, 28, 28);
    EXPECT_GT(countColor(outline, 0x000000, head), 0);
    EXPECT_EQ(countColor(outline, qRgb(255, 0, 0), head), 0);
    EXPECT_GT(countColor(solid, qRgb(255, 0, 0), head), 50);

    LineOnForm shadowed(130, 45);
    shadowed.line->SetSignSize(20);
    shadowed.line->SetFillColor(clRed);
    shadowed.line->SetShadowVisible(true);
    shadowed.line->SetShadowColor(clBlue);
    QImage sh = shadowed.picture();
    testutil::screenshot(shadowed.line, "techline_shadow");
    EXPECT_GT(countColor(sh, qRgb(0, 0, 255)), 20); // shadow of line and sign
    // Sign and shadow together fit the square: nothing right of the control's area.
    EXPECT_EQ(countColor(sh, qRgb(255, 0, 0), QRect(128, 0, 2, 45)), 0);
}

TEST(KitTechnicalLine, OpaqueLineFillsItsBackgroundFirst)
{
    LineOnForm f(60, 30);
    f.line->SetTransparent(false);
    f.line->SetColor(clYellow);
    f.line->SetSignPlaces(spNoWhere);
    QImage img = f.picture();
    EXPECT_EQ(img.pixel(2, 2) & 0xFFFFFF, qRgb(255, 255, 0) & 0xFFFFFF);
    // spNoWhere: no sign anywhere, only the 1-pixel line across the area
    // (client less one pixel each side), its last pixel left out.
    EXPECT_EQ(countColor(img, 0x000000), 58);
}

TEST(KitTechnicalLine, EveryTypeAndSignPaintsInsideItsBounds)
{
    for (int t = lsStraightLeftToRight; t <= lsBottomRightCurve; ++t) {
        for (int sp = spEnd; sp <= spNoWhere; ++sp) {
            LineOnForm f(80, 60);
            f.line->SetLineType(TKitTechnicalLineTypes(t));
            f.line->SetSignPlaces(TKitSignPlaces(sp));
            f.line->SetSignSize(12);
            f.line->SetLineStartSign(TKitLineEndings((t + sp) % 19));
            f.line->SetLineEndingsign(TKitLineEndings((t * 3 + sp) % 19));
            f.line->SetFillColor(clGreen);
            QImage img = f.picture();
            EXPECT_GT(countColor(img, 0x000000) + countColor(img, qRgb(0, 128, 0)), 10) << t << " " << sp;
        }
    }
}

} // namespace
