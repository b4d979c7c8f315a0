#include "controls/knobgeometry.h"
#include "controls/oscknob.h"
#include "ctltest.h"

#include <gtest/gtest.h>

using ctltest::Host;
using ctltest::Log;

namespace {
const QByteArray scaleSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100' viewBox='0 0 100 100'>"
    "<rect x='0' y='0' width='100' height='100' fill='#00ff00'/></svg>";
}

TEST(StepSwitch, ValueWritesClampAndAlwaysReport)
{
    Host host;
    auto* k = new TVorlinKnob(&host);
    Log log;
    k->OnChange = log.note("change");
    EXPECT_EQ(k->Max(), 100);
    EXPECT_EQ(k->KnobRadius(), 50);
    EXPECT_TRUE(k->FineKnobFixed());
    k->SetMax(17);
    k->SetValue(20);
    EXPECT_EQ(k->Value(), 17);
    k->SetValue(-3);
    EXPECT_EQ(k->Value(), 0);
    k->SetValue(0);
    EXPECT_EQ(log.joined(), "change change change");
    // A new Max clamps nothing until the next write.
    k->SetValue(17);
    k->SetMax(11);
    EXPECT_EQ(k->Value(), 17);
    k->SetValue(k->Value());
    EXPECT_EQ(k->Value(), 11);
}

TEST(StepSwitch, ClicksAndKeys)
{
    Host host(300, 260);
    auto* k = new TVorlinKnob(&host);
    k->SetBounds(10, 10, 200, 200);
    k->SetKnobRadius(60);
    k->SetMax(11);
    Log log;
    k->OnChange = log.note("change");
    host.activate();
    // Straight below: the 40 degrees next to the last step give Max...
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(100, 180));
    EXPECT_EQ(k->Value(), 11);
    // ...the 30 degrees next to step 0 give 0.
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(90, 180));
    EXPECT_EQ(k->Value(), 0);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(100, 20)); // straight up: 50 %, 5.5 of 11
    EXPECT_EQ(k->Value(), 6);
    EXPECT_TRUE(k->Focused());
    // Dragging follows the mouse, to the nearest step too.
    QTest::mousePress(k, Qt::LeftButton, {}, QPoint(100, 20));
    QTest::mouseMove(k, QPoint(180, 100));
    EXPECT_EQ(k->Value(), 9); // A 0: d 235, 81 % of 11 is 8.91
    QTest::mouseRelease(k, Qt::LeftButton, {}, QPoint(180, 100));

    // A click on any tick, or on its label further out as on the front
    // panel's scales, gives that tick's step (gain and time-base switches).
    for (int max : {17, 11}) {
        k->SetMax(max);
        for (int i = 0; i <= max; ++i)
            for (double r : {66.0, 82.0}) {
                const double t = knobgeo::PercentAngle(knobgeo::StepPercent(i, max));
                QTest::mouseClick(k, Qt::LeftButton, {}, knobgeo::RayEnd(100, 100, r, t).q());
                EXPECT_EQ(k->Value(), i) << max << " " << r;
            }
    }

    QTest::keyClick(k, Qt::Key_Home);
    log.clear();
    QTest::keyClick(k, Qt::Key_Left);
    EXPECT_EQ(k->Value(), 0);
    EXPECT_EQ(log.joined(), "");
    QTest::keyClick(k, Qt::Key_End);
    QTest::keyClick(k, Qt::Key_Up);
    EXPECT_EQ(k->Value(), 11);
    EXPECT_EQ(log.joined(), "change");
    QTest::keyClick(k, Qt::Key_Down);
    EXPECT_EQ(k->Value(), 10);
    QTest::keyClick(k, Qt::Key_PageUp); // not a key of this switch
    EXPECT_EQ(k->Value(), 10);
}

TEST(StepSwitch, DrawsOverItsScalePicture)
{
    Host host(300, 260);
    auto* k = new TVorlinKnob(&host);
    k->SetBounds(10, 10, 200, 200);
    k->SetKnobRadius(60);
    k->SetMax(11);
    ASSERT_TRUE(k->BackgroundPicture().LoadFromData(scaleSvg));
    host.activate();
    host.setFocus();
    QImage img = k->grab().toImage();
    EXPECT_EQ(img.pixelColor(2, 2), QColor(0, 255, 0));       // scale picture
    // Step 0: pointer and tick 144 degrees left of the top.
    EXPECT_EQ(img.pixelColor(82, 124), QColor(255, 0, 0));
    auto blueNear = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (img.pixelColor(x + dx, y + dy) == QColor(0, 0, 255))
                    return true;
        return false;
    };
    EXPECT_TRUE(blueNear(61, 154));
    EXPECT_TRUE(blueNear(139, 154)); // step 11
    EXPECT_FALSE(blueNear(100, 168)); // nothing in the gap at the bottom
    // The scale is cleared round the knob.
    EXPECT_EQ(img.pixelColor(100, 100 - 62), ToQColor(host.Color()));
}

TEST(StepSwitch, ZeroMaxDrawsAndAnswers)
{
    Host host(300, 260);
    auto* k = new TVorlinKnob(&host);
    k->SetBounds(10, 10, 120, 120);
    k->SetMax(0);
    host.activate();
    EXPECT_FALSE(k->grab().toImage().isNull());
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(k->Value(), 0);
}
