#include "bridge/bridgeresources.h"
#include "bridge/elscale.h"
#include "platform/clock.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

TEST(AnalogScale, GeometryTicksAndLabels)
{
    QWidget host;
    auto* s = new TElAnalogScale(&host);
    s->SetBounds(0, 0, 200, 100);
    EXPECT_DOUBLE_EQ(s->ScaleAngle(), 90);
    s->Repaint();  // builds the face: pivot at the middle of the bottom edge
    EXPECT_EQ(s->Pivot(), TPoint(100, 100));
    EXPECT_EQ(s->PointAt(0, 85), TPoint(40, 40));
    s->SetScaleAngle(55);
    EXPECT_DOUBLE_EQ(s->StartAngle(), 117.5);
    EXPECT_DOUBLE_EQ(s->EndAngle(), 62.5);
    EXPECT_DOUBLE_EQ(s->ScaleAngle(), 55);

    auto t = s->Ticks();
    EXPECT_EQ(t.major, 0);
    EXPECT_EQ(t.middle, 3);
    EXPECT_EQ(t.small, 11);
    s->SetLabels({"20", "10", "0", "10", "20"});
    t = s->Ticks();
    EXPECT_EQ(t.major, 5);
    EXPECT_EQ(t.middle, 9);
    EXPECT_EQ(t.small, 41);
    // Zero tick counts would divide by zero; they are held at 1.
    s->SetMiddleTics(0);
    s->SetSmallTics(0);
    EXPECT_EQ(s->MiddleTics(), 1);
    EXPECT_EQ(s->SmallTics(), 1);
}

TEST(AnalogScale, NeedleEasesOnTheMonotonicClockAndPins)
{
    Clock::Manual clock;
    QWidget host;
    auto* s = new TElAnalogScale(&host);
    s->SetBounds(0, 0, 200, 100);
    host.show();
    s->SetValue(0.5);
    EXPECT_TRUE(s->Animate());  // first call jumps
    EXPECT_DOUBLE_EQ(s->ShownValue(), 0.5);
    EXPECT_FALSE(s->Dirty());
    clock.Advance(0.05);
    EXPECT_FALSE(s->Animate());  // resting, face valid: nothing drawn
    s->SetValue(1.0);
    clock.Advance(0.05);
    EXPECT_TRUE(s->Animate());
    EXPECT_NEAR(s->ShownValue(), 0.55, 1e-12);
    // A clock set back (time of day at midnight) does not matter: easing
    // runs on the monotonic clock only.
    clock.SetTimeOfDay(0);
    clock.Advance(0.05);
    s->Animate();
    EXPECT_GT(s->ShownValue(), 0.55);
    EXPECT_LT(s->ShownValue(), 1.0);
    s->SetValue(3.0);
    for (int i = 0; i < 100; ++i) {
        clock.Advance(0.05);
        s->Animate();
    }
    EXPECT_DOUBLE_EQ(s->ShownValue(), 1.1);
    EXPECT_DOUBLE_EQ(s->Value(), 3.0);
    // A resize makes the face dirty, which forces one frame.
    s->SetBounds(0, 0, 300, 150);
    EXPECT_TRUE(s->Dirty());
    clock.Advance(0.05);
    EXPECT_TRUE(s->Animate());
    EXPECT_EQ(s->Pivot(), TPoint(150, 150));
}


TEST(AnalogScale, DialPictureWithLabelsAndNeedle)
{
    InitBridgeResources();
    TMetafile dial;
    ASSERT_TRUE(dial.LoadFromResourceName(":/bridge/ELGALVAN_SCALE01.svg"));
    QWidget host;
    auto* s = new TElAnalogScale(&host);
    s->SetBounds(0, 0, 338, 358);
    s->SetScaleAngle(55);
    s->SetArrowPercentLen(90);
    s->SetLabels({"20", "10", "0", "10", "20"});
    s->OnPaintBackground = [&](TElAnalogScale* sc, TCanvas& c) {
        const int w = sc->ClientWidth();
        c.StretchDraw(Bounds(0, sc->ClientHeight() - w / 2, w, w / 2), *dial.Renderer());
    };
    s->SetValue(0.7);
    host.show();
    s->Animate();
    const QImage img = testutil::screenshot(s, "bridge_scale");
    // White face, black needle from the pivot upward to the right.
    EXPECT_EQ(img.pixelColor(5, 5), QColor(Qt::white));
    const TPoint mid = s->PointAt(0.7, 358 * 0.9 * 0.5);
    int dark = 0;
    for (int dx = -1; dx <= 1; ++dx)
        dark += img.pixelColor(mid.X + dx, mid.Y) == QColor(Qt::black);
    EXPECT_GE(dark, 1);
}

TEST(AnalogScale, NoSizeDrawsNothingAndDoesNotFail)
{
    QWidget host;
    auto* s = new TElAnalogScale(&host);
    host.show();
    s->SetValue(0.7);
    EXPECT_NO_THROW(s->Repaint());
    EXPECT_NO_THROW(s->Animate());
    s->SetBounds(0, 0, 1, 1);
    EXPECT_NO_THROW(s->Animate());
}
