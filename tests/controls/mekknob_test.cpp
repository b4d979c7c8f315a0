#include "controls/mekknob.h"
#include "ctltest.h"

#include <gtest/gtest.h>

using ctltest::Host;
using ctltest::Log;

namespace {
bool hasColor(const QImage& img, QColor c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c)
                return true;
    return false;
}
} // namespace

TEST(TransparentKnob, Defaults)
{
    Host host;
    auto* k = new TMekTransparentKnob(&host);
    EXPECT_EQ(k->Width(), 60);
    EXPECT_EQ(k->Radius(), 25);
    EXPECT_EQ(k->NumPositions(), 10);
    EXPECT_EQ(k->AngleOfPosition(1), 204);
    EXPECT_EQ(k->AngleOfPosition(9), -45);
    EXPECT_TRUE(k->Transparent());
    EXPECT_TRUE(k->Labels().isEmpty());
}

TEST(TransparentKnob, ClicksPickPositions)
{
    Host host;
    auto* k = new TMekTransparentKnob(&host);
    k->SetBounds(10, 10, 60, 60);
    Log log;
    k->OnChange = log.note("change");
    host.activate();
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(30, 5)); // straight above
    EXPECT_EQ(k->Position(), 5);
    EXPECT_EQ(log.joined(), "change");
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(log.joined(), "change"); // no change, no event
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(31, 31)); // near the centre
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(30, 58)); // beyond the arc
    EXPECT_EQ(k->Position(), 5);
    EXPECT_TRUE(k->Focused());

    // Ties go to even: 11 positions over 0..100 degrees, a click at 45
    // degrees lies 4.5 steps from position 0.
    k->SetNumPositions(11);
    k->SetAngle1(0);
    k->SetAngle2(100);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(k->Position(), 4);

    // Dragging follows; a right press picks too.
    QTest::mousePress(k, Qt::LeftButton, {}, QPoint(55, 30));
    EXPECT_EQ(k->Position(), 0);
    QTest::mouseMove(k, QPoint(30, 5));
    EXPECT_EQ(k->Position(), 9);
    QTest::mouseRelease(k, Qt::LeftButton, {}, QPoint(30, 5));
    QTest::mouseClick(k, Qt::RightButton, {}, QPoint(55, 30));
    EXPECT_EQ(k->Position(), 0);

    // A decade of the resistance box: position 0 straight up, where the
    // angle wraps; half a step (10 degrees) left of it still gives 0.
    k->SetNumPositions(10);
    k->SetAngle1(90);
    k->SetAngle2(-90);
    k->SetPosition(4);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(28, 10)); // 96 degrees
    EXPECT_EQ(k->Position(), 0);

    // One position, or equal angles: the mouse never changes the position.
    k->SetAngle1(90);
    k->SetAngle2(90);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(k->Position(), 0);
    k->SetNumPositions(1);
    k->SetAngle2(0);
    QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(k->Position(), 0);
    EXPECT_EQ(k->AngleOfPosition(0), 45);

    // The sine generator's dial: a click on any pixel of a printed number
    // (the current one is blue) selects that number, and no tick or
    // rim pixel lies within two pixels of it.
    auto* dial = new TMekTransparentKnob(&host);
    dial->SetBounds(100, 10, 150, 150);
    dial->SetRadius(51);
    dial->SetAngle1(225);
    dial->SetNumPositions(101);
    dial->SetStepPerTick(10);
    dial->SetTransparent(false);
    for (int i = 0; i <= 100; i += 10)
        dial->Labels().append(QString::number(i));
    for (int p = 0; p <= 100; p += 10) {
        dial->SetPosition(p);
        const QImage shot = host.grab(dial->geometry()).toImage();
        dial->SetPosition(p == 50 ? 0 : 50);
        int inked = 0, wrong = 0, touching = 0;
        for (int y = 2; y < shot.height() - 2; ++y)
            for (int x = 2; x < shot.width() - 2; ++x)
                if (const QColor c = shot.pixelColor(x, y); c.blue() - c.red() > 128) {
                    ++inked;
                    QTest::mouseClick(dial, Qt::LeftButton, {}, QPoint(x, y));
                    wrong += dial->Position() != p;
                    for (int v = -2; v <= 2; ++v)
                        for (int u = -2; u <= 2; ++u)
                            touching += shot.pixelColor(x + u, y + v) == QColor(Qt::black);
                }
        EXPECT_GT(inked, 10) << p;
        EXPECT_EQ(wrong, 0) << p;
        EXPECT_EQ(touching, 0) << p;
    }
}

TEST(TransparentKnob, Keys)
{
    Host host;
    auto* k = new TMekTransparentKnob(&host);
    k->SetNumPositions(101);
    Log log;
    k->OnChange = log.note("change");
    host.activate();
    k->SetFocus();
    k->SetPosition(3);
    QTest::keyClick(k, Qt::Key_PageDown);
    EXPECT_EQ(k->Position(), 0);
    k->SetPosition(95);
    QTest::keyClick(k, Qt::Key_PageUp);
    EXPECT_EQ(k->Position(), 100);
    log.clear();
    QTest::keyClick(k, Qt::Key_Up);
    QTest::keyClick(k, Qt::Key_End);
    EXPECT_EQ(log.joined(), "");
    QTest::keyClick(k, Qt::Key_Left);
    EXPECT_EQ(k->Position(), 99);
    QTest::keyClick(k, Qt::Key_Home);
    QTest::keyClick(k, Qt::Key_Down);
    EXPECT_EQ(k->Position(), 0);
    QTest::keyClick(k, Qt::Key_Right);
    EXPECT_EQ(k->Position(), 1);

    // No positions at all: the keys stay at 0.
    k->SetNumPositions(0);
    QTest::keyClick(k, Qt::Key_End);
    EXPECT_EQ(k->Position(), 0);
}

TEST(TransparentKnob, LabelsTicksAndBackground)
{
    Host host(200, 200);
    host.SetColor(clLime);
    auto* k = new TMekTransparentKnob(&host);
    k->SetBounds(20, 20, 120, 120);
    k->SetRadius(30);
    k->SetNumPositions(101);
    k->SetStepPerTick(10);
    for (int i = 0; i <= 100; i += 10)
        k->Labels().append(QString::number(i));
    k->SetPosition(50);
    host.activate();
    host.setFocus();

    // Transparent: the parent's colour shows in the corners.
    QImage shot = host.grab().toImage();
    EXPECT_EQ(shot.pixelColor(21, 21), QColor(0, 255, 0));
    // The label at the current position is blue.
    EXPECT_TRUE(hasColor(shot, QColor(0, 0, 255)));
    k->SetPosition(51); // between ticks: no label is current
    EXPECT_FALSE(hasColor(host.grab().toImage(), QColor(0, 0, 255)));

    k->SetTransparent(false);
    k->SetColor(clWhite);
    shot = host.grab().toImage();
    EXPECT_EQ(shot.pixelColor(21, 21), QColor(Qt::white));

    // Degenerate settings still draw.
    k->SetStepPerTick(0);
    k->SetAngle1(10);
    k->SetAngle2(10);
    EXPECT_FALSE(host.grab().toImage().isNull());
}
