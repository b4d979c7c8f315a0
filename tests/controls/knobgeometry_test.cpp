#include "controls/knobgeometry.h"
#include "platform/controls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace knobgeo;

TEST(KnobGeometry, AngleAndPointerEnds)
{
    // 0..100 knob of side 57: r = 28.
    EXPECT_EQ(KnobPercent(0, 0, 100), 0);
    EXPECT_EQ(KnobPercent(100, 0, 100), 100);
    EXPECT_EQ(KnobPercent(-50, -50, 50), 0);
    EXPECT_EQ(KnobPercent(0, -50, 50), 50);
    EXPECT_EQ(KnobPercent(7, 0, 17), 41); // 700 div 17
    EXPECT_DOUBLE_EQ(PercentAngle(50), 0.0);
    EXPECT_NEAR(PercentAngle(0) * 180 / std::numbers::pi, -144.0, 1e-9);
    EXPECT_NEAR(PercentAngle(100) * 180 / std::numbers::pi, 144.0, 1e-9);
    // Middle value points straight up; the ends lie 144 degrees either side.
    EXPECT_EQ(RayEnd(28, 28, 28 - 1 - 8, PercentAngle(50)), (TPoint(28, 9)));
    EXPECT_EQ(RayEnd(28, 28, 19, PercentAngle(0)), (TPoint(28 - 11, 28 + 15)));
    EXPECT_EQ(RayEnd(28, 28, 19, PercentAngle(100)), (TPoint(28 + 11, 28 + 15)));
    // Empty or reversed ranges never divide by zero.
    EXPECT_EQ(KnobPercent(5, 5, 5), 0);
    EXPECT_EQ(KnobPercent(5, 9, 5), 0);
}

TEST(KnobGeometry, PercentOfAClick)
{
    const int c = 28;
    EXPECT_EQ(PercentFromPoint(c, 0, c), 50);       // straight above: A 90, d 145
    EXPECT_EQ(PercentFromPoint(c, 50, c), 100);     // straight below: A -90, d 325
    // Just left of straight down: d a little above 330 gives the minimum.
    EXPECT_EQ(PercentFromPoint(c - 5, 56, c), 0);
    // Lower left at 235 degrees: d 0.
    const double t = 235 * std::numbers::pi / 180;
    EXPECT_EQ(PercentFromPoint(c + Round(20 * std::cos(t)), c - Round(20 * std::sin(t)), c), 0);
    EXPECT_EQ(PercentFromPoint(0, c, c), Round(55 * 100.0 / 290)); // A 180, d 55
    EXPECT_EQ(PercentFromPoint(56, c, c), Round(235 * 100.0 / 290)); // A 0, d 235
}

TEST(KnobGeometry, ValueOfAPercentIsExact)
{
    // The floating form Trunc(0.29 * 100) gives 28.
    EXPECT_EQ(ValueFromPercent(29, 0, 100), 29);
    EXPECT_EQ(ValueFromPercent(57, 0, 100), 57);
    EXPECT_EQ(ValueFromPercent(0, 0, 100), 0);
    EXPECT_EQ(ValueFromPercent(100, 0, 100), 100);
    // -50..50: truncation goes toward zero.
    EXPECT_EQ(ValueFromPercent(50, -50, 50), 0);
    EXPECT_EQ(ValueFromPercent(29, -50, 50), -21);
    EXPECT_EQ(ValueFromPercent(0, -50, 50), -50);
    EXPECT_EQ(ValueFromPercent(100, -50, 50), 50);
    EXPECT_EQ(ValueFromPercent(50, -5, 2), -1); // -1.5 truncates to -1
    // Step switch: Max 17.
    EXPECT_EQ(ValueFromPercent(50, 0, 17), 8);
    EXPECT_EQ(ValueFromPercent(100, 0, 17), 17);
    EXPECT_EQ(ValueFromPercent(40, 7, 7), 7);
    // Every per cent of a 0..100 knob gives itself.
    for (int pct = 0; pct <= 100; ++pct)
        EXPECT_EQ(ValueFromPercent(pct, 0, 100), pct);
}

TEST(KnobGeometry, TicksAndSides)
{
    const auto ticks = TickValues(-50, 50, 10);
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(ticks.front(), -50);
    for (size_t i = 0; i < ticks.size(); ++i)
        EXPECT_EQ(KnobPercent(ticks[i], -50, 50), int(i) * 10);
    EXPECT_EQ(TickValues(0, 5, 0).size(), 6u);
    EXPECT_EQ(TickValues(0, 5, -3).size(), 6u);
    EXPECT_TRUE(TickValues(3, 2, 1).empty());

    EXPECT_EQ(KnobSide(200, 57, 57), 120);
    EXPECT_EQ(KnobSide(57, 30, 57), 45);
    EXPECT_EQ(KnobSide(80, 80, 57), 80);
    EXPECT_EQ(KnobKeyStep(0, 100), 10);
    EXPECT_EQ(KnobKeyStep(0, 5), 1);
    EXPECT_EQ(KnobKeyStep(3, 3), 1);
}

TEST(KnobGeometry, ReflexWedges)
{
    // Face of a 57 knob: (8, 8, 49, 49), D 41.
    const Rc f{8, 8, 49, 49};
    auto w0 = ReflexWedges(41, f, 0);
    EXPECT_EQ(w0[0].from, (TPoint(16, 0)));
    EXPECT_EQ(w0[0].to, (TPoint(16, 21)));
    EXPECT_EQ(w0[1].from, (TPoint(41, 49)));
    EXPECT_EQ(w0[1].to, (TPoint(41, 36)));
    EXPECT_EQ(w0[2].from, (TPoint(44, 18)));
    EXPECT_EQ(w0[2].to, (TPoint(41, 14)));
    EXPECT_EQ(w0[3].from, (TPoint(13, 39)));
    EXPECT_EQ(w0[3].to, (TPoint(16, 43)));
    auto w1 = ReflexWedges(41, f, 1);
    EXPECT_EQ(w1[0].from, (TPoint(17, -1))); // absolute -p, not relative to the top
    EXPECT_EQ(w1[0].to, (TPoint(17, 20)));
    EXPECT_EQ(w1[2].to, (TPoint(41, 13)));
}

TEST(KnobGeometry, StepSwitchAngles)
{
    EXPECT_EQ(StepPercent(1, 11), 9);
    EXPECT_EQ(StepPercent(11, 11), 100);
    EXPECT_EQ(StepPercent(0, 11), 0);
    EXPECT_NEAR(PercentAngle(StepPercent(1, 11)) * 180 / std::numbers::pi, -118.08, 1e-9);
    EXPECT_EQ(StepPercent(3, 0), 0);
    EXPECT_EQ(StepPercent(3, -4), 0);
}

TEST(KnobGeometry, TransparentKnobPositions)
{
    EXPECT_EQ(PositionAngle(1, 10, 235, -45), 204);
    EXPECT_EQ(PositionAngle(9, 10, 235, -45), -45);
    EXPECT_EQ(PositionAngle(0, 1, 235, -45), 95);
    EXPECT_EQ(PointAtAngle(30, 30, 90, 10), (TPoint(30, 20)));
    EXPECT_EQ(PointAtAngle(30, 30, 0, 10), (TPoint(40, 30)));

    // Straight above the centre: A 90, d 145, Round(4.66) = 5.
    EXPECT_EQ(PositionFromPoint(30, 5, 30, 30, 10, 235, -45), 5);
    // Within three pixels of the centre: none.
    EXPECT_EQ(PositionFromPoint(32, 32, 30, 30, 10, 235, -45), -1);
    EXPECT_EQ(PositionFromPoint(33, 30, 30, 30, 10, 235, -45), 8); // A 0: d 235, 7.55
    // Straight below: beyond the last position.
    EXPECT_EQ(PositionFromPoint(30, 55, 30, 30, 10, 235, -45), -1);
    // Ties go to even: 11 positions over 0..100 degrees, a click at 45 degrees is 4.5 -> 4.
    EXPECT_EQ(PositionFromPoint(40, 20, 30, 30, 11, 0, 100), 4);
    // 55 degrees is 5.5 -> 6.
    EXPECT_EQ(PositionFromPoint(30 + Round(20 * std::cos(55 * std::numbers::pi / 180)),
                                30 - Round(20 * std::sin(55 * std::numbers::pi / 180)), 30, 30,
                                11, 0, 100),
              6);
    // One position or equal angles: no position from the mouse.
    EXPECT_EQ(PositionFromPoint(30, 5, 30, 30, 1, 235, -45), -1);
    EXPECT_EQ(PositionFromPoint(30, 5, 30, 30, 10, 90, 90), -1);
}

TEST(KnobGeometry, SwitchPlacement)
{
    const auto bg = ButtonGeometryFor(1);
    EXPECT_EQ(bg.A, 35);
    EXPECT_EQ(bg.b, 21);
    EXPECT_EQ(bg.m, 7);
    auto l = PlaceSwitch(GlyphAlign::Bottom, 40, 55, 35, 35, true);
    EXPECT_EQ(l.box, (TPoint(2, 19)));
    l = PlaceSwitch(GlyphAlign::Right, 97, 41, 35, 35, true);
    EXPECT_EQ(l.box, (TPoint(60, 3)));
    EXPECT_EQ(l.caption, (TRect(0, 0, 61, 41)));

    const auto rg = RockerGeometryFor(1);
    EXPECT_EQ(rg.W, 25);
    EXPECT_EQ(rg.H, 40);
    EXPECT_EQ(rg.s, 2);
    EXPECT_EQ(rg.q, 10);
    EXPECT_EQ(rg.c1, 14);
    EXPECT_EQ(rg.c2, 14);
    EXPECT_EQ(rg.e, 2);
    EXPECT_EQ(rg.e2, 4);
    l = PlaceSwitch(GlyphAlign::Bottom, 45, 60, rg.W, rg.H, false);
    EXPECT_EQ(l.box, (TPoint(10, 20)));
    l = PlaceSwitch(GlyphAlign::Top, 33, 89, rg.W, rg.H, false);
    EXPECT_EQ(l.box, (TPoint(4, 0)));
    EXPECT_EQ(l.caption, (TRect(0, 41, 33, 89)));
    l = PlaceSwitch(GlyphAlign::Left, 80, 60, rg.W, rg.H, false);
    EXPECT_EQ(l.box, (TPoint(0, 10)));
    EXPECT_EQ(l.caption, (TRect(26, 0, 80, 60)));

    EXPECT_EQ(RockerMinWidth(1), 28);
    EXPECT_EQ(RockerMinHeight(1), 43);
    EXPECT_EQ(RockerMinWidth(3), 48);
    EXPECT_EQ(RockerMinHeight(3), 63);
    EXPECT_EQ(ButtonMinSide(1), 36);
    EXPECT_EQ(ButtonMinSide(9), 84);
}

TEST(KnobGeometry, RockerRegionsOverlapOnlyInTheMiddle)
{
    const auto g = RockerGeometryFor(1);
    const auto on = RockerOnRegion(g);
    const auto off = RockerOffRegion(g);
    // ON region rows 16..29, OFF region rows 10..23 (at x = 12).
    EXPECT_FALSE(PointInPolygon(on, 12, 15));
    EXPECT_TRUE(PointInPolygon(on, 12, 16));
    EXPECT_TRUE(PointInPolygon(on, 12, 29));
    EXPECT_FALSE(PointInPolygon(on, 12, 30));
    EXPECT_FALSE(PointInPolygon(off, 12, 9));
    EXPECT_TRUE(PointInPolygon(off, 12, 10));
    EXPECT_TRUE(PointInPolygon(off, 12, 23));
    EXPECT_FALSE(PointInPolygon(off, 12, 24));
    EXPECT_TRUE(PointInPolygon(on, 12, 20) && PointInPolygon(off, 12, 20));
}

TEST(KnobGeometry, ButtonRegions)
{
    const auto g = ButtonGeometryFor(1);
    const Rc on = ButtonOnRegion(g);  // (4,4)-(25,25)
    const Rc off = ButtonOffRegion(g); // (7,7)-(28,28)
    EXPECT_TRUE(PointInEllipse(on, 5, 14));
    EXPECT_FALSE(PointInEllipse(off, 5, 14));
    EXPECT_TRUE(PointInEllipse(off, 26, 17));
    EXPECT_FALSE(PointInEllipse(on, 26, 17));
    EXPECT_FALSE(PointInEllipse(on, 4, 4)); // corner of the box lies outside the cap
    EXPECT_FALSE(PointInEllipse(TRect(3, 3, 3, 9), 3, 4));
    EXPECT_TRUE(HitRegion::ellipse(off).contains(26, 17));
    EXPECT_FALSE(HitRegion().contains(26, 17)); // not yet built
}

TEST(KnobGeometry, LampWidthsAndSteel)
{
    EXPECT_EQ(LampWidthsFor(17).q, 1);
    EXPECT_EQ(LampWidthsFor(17).h, 1);
    EXPECT_EQ(LampWidthsFor(33).q, 1);
    EXPECT_EQ(LampWidthsFor(34).q, 2);
    EXPECT_EQ(LampWidthsFor(34).h, 1);
    EXPECT_EQ(LampWidthsFor(68).h, 2);
    EXPECT_EQ(LampWidthsFor(102).q, 6);
    EXPECT_EQ(LampWidthsFor(500).q, 6);
    EXPECT_EQ(LampWidthsFor(500).h, 3);
    EXPECT_EQ(LampWidthsFor(0).q, 1);

    EXPECT_EQ(SteelPixel(1, 1), SteelWhite);
    EXPECT_EQ(SteelPixel(0, 0), SteelSilver);
    EXPECT_EQ(SteelPixel(1, 0), SteelSilver);
    EXPECT_EQ(SteelPixel(2, 1), SteelSilver);
    int white = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            white += SteelPixel(x, y) == SteelWhite;
    EXPECT_EQ(white, 16);
}

TEST(KnobGeometry, KeyTargets)
{
    // 0..100 knob, page step 10.
    EXPECT_EQ(KeyTarget(VK_PRIOR, 95, 0, 100, 10), 100);
    EXPECT_EQ(KeyTarget(VK_PRIOR, 100, 0, 100, 10), 100); // set again at the end
    EXPECT_EQ(KeyTarget(VK_NEXT, 3, 0, 100, 10), 0);
    EXPECT_EQ(KeyTarget(VK_NEXT, 30, -50, 50, 10), 20);
    EXPECT_EQ(KeyTarget(VK_UP, 100, 0, 100, 10), std::nullopt);
    EXPECT_EQ(KeyTarget(VK_RIGHT, 99, 0, 100, 10), 100);
    EXPECT_EQ(KeyTarget(VK_DOWN, -50, -50, 50, 10), std::nullopt);
    EXPECT_EQ(KeyTarget(VK_LEFT, -49, -50, 50, 10), -50);
    EXPECT_EQ(KeyTarget(VK_HOME, 7, -50, 50, 10), -50);
    EXPECT_EQ(KeyTarget(VK_END, 7, -50, 50, 10), 50);
    // Without page keys.
    EXPECT_EQ(KeyTarget(VK_PRIOR, 3, 0, 11, 0), std::nullopt);
    EXPECT_EQ(KeyTarget(VK_NEXT, 3, 0, 11, 0), std::nullopt);
    EXPECT_EQ(KeyTarget(VK_SPACE, 3, 0, 11, 1), std::nullopt);
}
