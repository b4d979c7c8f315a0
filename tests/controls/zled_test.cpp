#include "controls/zled.h"
#include "ctltest.h"

#include <gtest/gtest.h>
#include <cmath>

using ctltest::Host;
using ctltest::Log;

TEST(Lamp, LitStateAndColours)
{
    Host host;
    auto* led = new TzLed(&host);
    EXPECT_EQ(led->Width(), 17);
    EXPECT_EQ(led->Height(), 17);
    Log log;
    led->OnChange = log.note("change");
    int paints = 0;
    led->OnPaint = [&](TObject*) { ++paints; };
    host.activate();
    testutil::pump();
    const int before = paints;
    led->SetEnabled(false);
    EXPECT_EQ(paints, before);
    EXPECT_EQ(log.joined(), "");
    led->SetEnabled(true);
    EXPECT_EQ(log.joined(), "change");
    EXPECT_GT(paints, before);
    EXPECT_TRUE(led->isEnabled()); // the control itself stays enabled

    // The centre of a round lamp shows its colour.
    EXPECT_EQ(led->grab().toImage().pixelColor(8, 8), ToQColor(0x0000FF));
    led->SetEnabled(false);
    EXPECT_EQ(led->grab().toImage().pixelColor(8, 8), ToQColor(0x000080));
    led->SetLEDColor(lctGrey);
    EXPECT_EQ(led->LampColor(), clBlack);
    led->SetEnabled(true);
    EXPECT_EQ(led->LampColor(), clSilver);

    led->SetLEDColor(lctUser);
    EXPECT_EQ(led->LampColor(), 0x0000FF);
    led->SetEnabled(false);
    EXPECT_EQ(led->LampColor(), 0x000080);
    led->OnGetOffColor = [](TObject*, TColor& c) { c = 0x123456; };
    EXPECT_EQ(led->LampColor(), 0x123456);
    EXPECT_EQ(led->grab().toImage().pixelColor(8, 8), ToQColor(0x123456));
    led->SetEnabled(true);
    EXPECT_EQ(led->LampColor(), 0x0000FF); // no OnGetOnColor
}

TEST(Lamp, Blinking)
{
    Host host;
    auto* led = new TzLed(&host);
    Log log;
    led->OnChange = log.note("change");
    host.activate();

    led->SetBlinkInterval(15);
    EXPECT_FALSE(led->Blinking()); // not blinking: the interval is only stored
    led->SetBlink(true);
    EXPECT_TRUE(led->Blinking());
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.items.size() >= 3; }, 30000));

    // Stop: off (with OnChange if it was lit), no more ticks, Blink still on.
    led->SetEnabled(true);
    log.clear();
    led->StopBlink();
    EXPECT_FALSE(led->Enabled());
    EXPECT_EQ(log.joined(), "change");
    EXPECT_TRUE(led->Blink());
    EXPECT_FALSE(led->Blinking());
    testutil::pump();
    EXPECT_EQ(log.joined(), "change");

    // A new interval while Blink is on starts a timer again.
    led->SetBlinkInterval(20);
    EXPECT_TRUE(led->Blinking());
    // An interval of zero or less does not blink at all.
    led->SetBlinkInterval(0);
    EXPECT_FALSE(led->Blinking());
    log.clear();
    testutil::pump();
    EXPECT_EQ(log.joined(), "");
    led->SetBlinkInterval(-5);
    EXPECT_FALSE(led->Blinking());

    // Switching blinking off keeps the lit state.
    led->SetBlinkInterval(10);
    led->SetEnabled(true);
    led->SetBlink(false);
    EXPECT_FALSE(led->Blinking());
    EXPECT_TRUE(led->Enabled());
}

TEST(Lamp, StopBlinkFromItsOwnTick)
{
    Host host;
    auto* led = new TzLed(&host);
    led->SetBlinkInterval(5);
    int ticks = 0;
    led->OnChange = [&](TObject*) {
        if (++ticks == 2)
            led->StopBlink();
    };
    led->SetBlink(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !led->Blinking(); }, 30000));
    testutil::pump();
    EXPECT_EQ(ticks, 2); // on, off; StopBlink finds it off already
}

TEST(Lamp, SquareAndSteel)
{
    Host host;
    auto* led = new TzLed(&host);
    led->SetBounds(10, 10, 34, 34);
    led->SetLedStyle(lstSquare);
    led->SetLEDColor(lctGreen);
    led->SetEnabled(true);
    host.activate();
    const QImage img = led->grab().toImage();
    EXPECT_EQ(img.pixelColor(17, 20), ToQColor(0x00FF00));
    EXPECT_EQ(img.pixelColor(9, 9), QColor(Qt::white)); // highlight fill (4q, 4q)
    EXPECT_EQ(img.pixelColor(1, 1), QColor(Qt::black)); // outer frame, q = 2

    auto* steel = new TzLed(&host);
    steel->SetBounds(60, 10, 17, 17);
    steel->SetSteelLook(true);
    const QImage s = steel->grab().toImage();
    EXPECT_EQ(s.pixelColor(1, 1), QColor(Qt::white)); // steel pattern in the corner
    EXPECT_EQ(s.pixelColor(0, 0), ToQColor(clSilver));
}

TEST(Lamp, BezelRingsOfALargeLampLeaveNoSpecksOfTheLampColour)
{
    Host host;
    auto* led = new TzLed(&host);
    led->SetBounds(10, 10, 68, 68);
    led->SetEnabled(true);
    host.activate();
    const QImage img = led->grab().toImage();
    // q = 4: the black, silver and black rings end at radius 33.5 - 10 from
    // the centre (half a pixel up and left, the pen being even); the lamp
    // colour shows only inside them.
    const double mid = 33.0, inner = (68 - 16 - 1) / 2.0 - 2;
    int lit = 0;
    for (int y = 0; y < 68; ++y)
        for (int x = 0; x < 68; ++x)
            if (img.pixelColor(x, y) == ToQColor(0x0000FF)) {
                ++lit;
                EXPECT_LE(std::hypot(x - mid, y - mid), inner + 1e-9) << x << "," << y;
            }
    EXPECT_GT(lit, 1000);
}
