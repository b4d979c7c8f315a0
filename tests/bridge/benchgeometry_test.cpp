#include "bridge/benchgeometry.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace bridge;

TEST(BenchGeometry, BenchFactorAndCentring)
{
    auto l = ComputeBenchLayout(104, 104, 100, 100);
    EXPECT_DOUBLE_EQ(l.scale, 1.0);
    EXPECT_EQ(l.left, 2);
    EXPECT_EQ(l.top, 2);
    EXPECT_EQ(l.right, 102);
    EXPECT_EQ(l.bottom, 102);

    l = ComputeBenchLayout(500, 304, 230, 150);
    EXPECT_DOUBLE_EQ(l.scale, 2.0);
    EXPECT_EQ(l.left, 20);
    EXPECT_EQ(l.top, 2);
    EXPECT_EQ(l.right - l.left, 460);
    EXPECT_EQ(l.bottom - l.top, 300);

    // Tall window: the width limits, the work area is centred vertically.
    l = ComputeBenchLayout(464, 1000, 230, 150);
    EXPECT_DOUBLE_EQ(l.scale, 2.0);
    EXPECT_EQ(l.left, 2);
    EXPECT_EQ(l.top, 350);

    // Too small or without units: factor 0, nothing negative or infinite.
    for (auto [w, h, uw, uh] : {std::tuple{0, 0, 230, 150}, {3, 300, 230, 150}, {500, 304, 0, 150}}) {
        l = ComputeBenchLayout(w, h, uw, uh);
        EXPECT_EQ(l.scale, 0.0);
        EXPECT_EQ(l.right, l.left);
        EXPECT_EQ(l.bottom, l.top);
    }
}

TEST(BenchGeometry, WireIsHitOnlyNearItsSegments)
{
    const std::vector<PixelPoint> vertical{{50, 10}, {50, 100}};
    EXPECT_TRUE(WireHit(vertical, 2, 50, 50));
    EXPECT_TRUE(WireHit(vertical, 2, 48, 50));
    EXPECT_TRUE(WireHit(vertical, 2, 51, 50));
    EXPECT_FALSE(WireHit(vertical, 2, 52, 50));  // right edge excluded
    EXPECT_FALSE(WireHit(vertical, 2, 47, 50));
    EXPECT_FALSE(WireHit(vertical, 2, 50, 102));
    EXPECT_TRUE(WireHit(vertical, 2, 50, 8));

    const std::vector<PixelPoint> one{{50, 10}};
    EXPECT_FALSE(WireHit(one, 2, 50, 10));
    EXPECT_FALSE(WireHit({}, 2, 0, 0));

    const std::vector<PixelPoint> ell{{0, 0}, {0, 100}, {100, 100}};
    EXPECT_TRUE(WireHit(ell, 2, 60, 99));
    EXPECT_FALSE(WireHit(ell, 2, 60, 50));
}
