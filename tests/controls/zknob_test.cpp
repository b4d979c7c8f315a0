#include "controls/zknob.h"
#include "ctltest.h"

#include <gtest/gtest.h>
#include <cmath>

using ctltest::Host;
using ctltest::Log;

namespace {

TzKnob* makeKnob(Host& host, Log& log)
{
    auto* k = new TzKnob(&host);
    k->SetBounds(10, 10, 57, 57);
    k->OnChange = log.note("change");
    k->OnMinimum = log.note("min");
    k->OnMaximum = log.note("max");
    return k;
}

} // namespace

TEST(RoundKnob, ValueWritesAndEnds)
{
    Host host;
    Log log;
    auto* k = makeKnob(host, log);
    k->SetValue(150);
    EXPECT_EQ(k->Value(), 100);
    EXPECT_EQ(log.joined(), "change");
    log.clear();
    k->SetValue(100);
    EXPECT_EQ(log.joined(), "change max");
    log.clear();
    k->SetValue(100);
    EXPECT_EQ(log.joined(), "change max");
    log.clear();
    k->SetValue(-5);
    EXPECT_EQ(k->Value(), 0);
    EXPECT_EQ(log.joined(), "change");

    // Range writers keep Min <= Max and clamp the value through SetValue.
    k->SetValue(80);
    log.clear();
    k->SetMax(50);
    EXPECT_EQ(k->Max(), 50);
    EXPECT_EQ(k->Value(), 50);
    EXPECT_EQ(log.joined(), "change");
    k->SetMin(70);
    EXPECT_EQ(k->Min(), 50);
    EXPECT_EQ(k->Value(), 50);
}

TEST(RoundKnob, SquareSides)
{
    Host host;
    auto* k = new TzKnob(&host);
    EXPECT_EQ(k->Width(), 57);
    EXPECT_EQ(k->Height(), 57);
    k->SetWidth(200);
    EXPECT_EQ(k->Width(), 120);
    EXPECT_EQ(k->Height(), 120);
    k->SetHeight(30);
    EXPECT_EQ(k->Width(), 45);
    EXPECT_EQ(k->Height(), 45);
    k->SetBounds(0, 0, 80, 60); // a new width wins
    EXPECT_EQ(k->Height(), 80);
}

TEST(RoundKnob, ClicksGiveValues)
{
    Host host;
    Log log;
    auto* k = makeKnob(host, log);
    host.activate();
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(28, 40)); // straight below
    EXPECT_EQ(k->Value(), 100);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(28, 12)); // straight above
    EXPECT_EQ(k->Value(), 50);
    // 29 % exactly (a floating product would give 28).
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(15, 21));
    EXPECT_EQ(k->Value(), 29);
    k->SetMin(-50);
    k->SetMax(50);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(15, 21));
    EXPECT_EQ(k->Value(), -21);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(28, 12));
    EXPECT_EQ(k->Value(), 0);

    // Outside the face ellipse: no change, but the knob takes the focus.
    auto* other = new TzKnob(&host);
    other->SetBounds(100, 10, 57, 57);
    other->SetFocus();
    log.clear();
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(k->Value(), 0);
    EXPECT_EQ(log.joined(), "");
    EXPECT_TRUE(k->Focused());
}

TEST(RoundKnob, DraggingFiresOnEveryMove)
{
    Host host;
    Log log;
    auto* k = makeKnob(host, log);
    host.activate();
    QTest::mousePress(k, Qt::LeftButton, {}, QPoint(28, 12));
    QTest::mouseMove(k, QPoint(28, 13));
    QTest::mouseMove(k, QPoint(28, 14));
    QTest::mouseRelease(k, Qt::LeftButton, {}, QPoint(40, 28));
    EXPECT_EQ(log.joined(), "change change change change");
    EXPECT_GT(k->Value(), 50);
    // After the release, moves do nothing.
    log.clear();
    QTest::mouseMove(k, QPoint(20, 20));
    EXPECT_EQ(log.joined(), "");
    // A right press grabs too, but only a left release ends the drag.
    QTest::mousePress(k, Qt::RightButton, {}, QPoint(28, 12));
    EXPECT_EQ(k->Value(), 50);
}

TEST(RoundKnob, Keys)
{
    Host host;
    Log log;
    auto* k = makeKnob(host, log);
    std::vector<std::uint16_t> keyDowns;
    k->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) { keyDowns.push_back(key); };
    host.activate();
    k->SetFocus();
    k->SetValue(95);
    log.clear();
    QTest::keyClick(k, Qt::Key_PageUp);
    EXPECT_EQ(k->Value(), 100);
    QTest::keyClick(k, Qt::Key_PageUp);
    EXPECT_EQ(log.joined(), "change max change max");
    log.clear();
    QTest::keyClick(k, Qt::Key_Up);
    EXPECT_EQ(log.joined(), "");
    QTest::keyClick(k, Qt::Key_Left);
    EXPECT_EQ(k->Value(), 99);
    QTest::keyClick(k, Qt::Key_Home);
    EXPECT_EQ(k->Value(), 0);
    log.clear();
    QTest::keyClick(k, Qt::Key_Down);
    EXPECT_EQ(log.joined(), "");
    QTest::keyClick(k, Qt::Key_PageDown);
    EXPECT_EQ(k->Value(), 0);
    QTest::keyClick(k, Qt::Key_Right);
    QTest::keyClick(k, Qt::Key_PageUp);
    EXPECT_EQ(k->Value(), 11);
    QTest::keyClick(k, Qt::Key_End);
    EXPECT_EQ(k->Value(), 100);
    EXPECT_TRUE(keyDowns.empty());
}

TEST(RoundKnob, HitRegionFollowsEverySize)
{
    Host host;
    host.activate();
    auto* k = new TzKnob();
    k->SetBounds(0, 0, 100, 100);
    k->SetParent(&host);
    k->show();
    EXPECT_TRUE(k->InHitRegion(50, 15));
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(k->Value(), 50);
    k->SetWidth(50);
    EXPECT_FALSE(k->InHitRegion(50, 15));
    EXPECT_TRUE(k->InHitRegion(25, 10));
}

TEST(RoundKnob, DrawsPointerAndSurvivesDegenerateSettings)
{
    Host host;
    auto* k = new TzKnob(&host);
    k->SetBounds(10, 10, 57, 57);
    k->SetValue(50);
    host.activate();
    host.setFocus();
    QImage img = k->grab().toImage();
    EXPECT_EQ(img.pixelColor(28, 14), QColor(Qt::red)); // pointer straight up
    EXPECT_EQ(img.pixelColor(28, 44), ToQColor(clSilver)); // face below the centre

    // A disabled knob looks exactly like an enabled one.
    k->SetEnabled(false);
    EXPECT_EQ(k->grab().toImage(), img);
    k->SetEnabled(true);

    // An empty range and a zero or negative tick step still draw.
    k->SetMax(0);
    k->SetMin(0);
    k->SetStepPerTick(0);
    EXPECT_EQ(k->Value(), 0);
    EXPECT_FALSE(k->grab().toImage().isNull());
    k->SetStepPerTick(-3);
    EXPECT_FALSE(k->grab().toImage().isNull());
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(28, 12));
    EXPECT_EQ(k->Value(), 0);
}

TEST(RoundKnob, FocusMarkFollowsTheFocus)
{
    Host host;
    auto* k = new TzKnob(&host);
    k->SetBounds(10, 10, 57, 57);
    auto* other = new TzKnob(&host);
    other->SetBounds(100, 10, 57, 57);
    host.activate();
    other->SetFocus();
    const QImage plain = k->grab().toImage();
    k->SetFocus();
    const QImage focused = k->grab().toImage();
    EXPECT_NE(plain.pixelColor(0, 0), focused.pixelColor(0, 0));
    EXPECT_EQ(plain.pixelColor(28, 28), focused.pixelColor(28, 28));
    other->SetFocus();
    EXPECT_EQ(k->grab().toImage(), plain);
}

TEST(RoundKnob, PointerRunsFromTheCentreUpToItsEndPoint)
{
    Host host;
    auto* k = new TzKnob(&host);
    k->SetBounds(10, 10, 57, 57);
    host.activate();
    // r = 28, the pointer L = r - 1 - 8 = 19 long at (p - 50) / 125 of a turn.
    for (int v : {0, 25, 75}) {
        k->SetValue(v);
        const QImage img = k->grab().toImage();
        const double t = (v - 50) / 125.0 * 2 * M_PI;
        const int ex = 28 + int(std::nearbyint(19 * std::sin(t))), ey = 28 - int(std::nearbyint(19 * std::cos(t)));
        for (QPoint p : testutil::referenceLine(28, 28, ex, ey))
            EXPECT_EQ(img.pixelColor(p), QColor(Qt::red)) << v << ": " << p.x() << "," << p.y();
        EXPECT_NE(img.pixelColor(ex, ey), QColor(Qt::red)) << v;
    }
}
