#include "controls/zonzoff.h"
#include "ctltest.h"

#include <gtest/gtest.h>

using ctltest::Host;
using ctltest::Log;
using ctltest::sendKey;

namespace {

void bindAll(TzcCustomOnOff* s, Log& log)
{
    s->OnOn = log.note("on");
    s->OnOff = log.note("off");
    s->OnClick = log.note("click");
    s->OnMouseDown = [&log](TObject*, TMouseButton, TShiftState, int, int) { log.items.push_back("down"); };
    s->OnMouseUp = [&log](TObject*, TMouseButton, TShiftState, int, int) { log.items.push_back("up"); };
}

bool hasColor(const QImage& img, const QRect& area, QColor c)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixelColor(x, y) == c)
                return true;
    return false;
}

// Points of a default 40 x 55 push button (box at (2, 0)).
const QPoint onlyRaised(8, 14);
const QPoint onlyFlat(28, 17);
const QPoint bothCaps(18, 16);
// Points of a default 45 x 60 rocker (box at (10, 0)).
const QPoint lowerFaceOnly(22, 27);
const QPoint upperFaceOnly(22, 12);
const QPoint bothFaces(22, 20);

} // namespace

TEST(OnOffSwitch, ColoursAndSwitchOnEvents)
{
    TColor l, m, d;
    KnobColorToColors(kcYellow, l, m, d);
    EXPECT_EQ(d, 0x00C0C0);
    EXPECT_EQ(m, 0x008080);
    KnobColorToColors(kcSilver, l, m, d);
    EXPECT_EQ(l, 0xFFFFFF);
    EXPECT_EQ(m, 0xC0C0C0);
    EXPECT_EQ(d, 0x808080);

    Host host;
    auto* b = new TzcSingleOnOff(&host);
    Log log;
    bindAll(b, log);
    b->SetSwitchOn(false);
    EXPECT_EQ(log.joined(), "");
    b->SetSwitchOn(true);
    b->SetSwitchOn(true);
    b->SetSwitchOn(false);
    EXPECT_EQ(log.joined(), "on off");
}

TEST(OnOffSwitch, SizesAndPlacement)
{
    Host host;
    auto* r = new TzcLightOnOff(&host);
    EXPECT_EQ(r->Width(), 45);
    EXPECT_EQ(r->Height(), 60);
    r->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(r->Width(), 28);
    EXPECT_EQ(r->Height(), 43);
    r->SetSize(3);
    EXPECT_EQ(r->Width(), 48);
    EXPECT_EQ(r->Height(), 63);

    auto* b = new TzcSingleOnOff(&host);
    EXPECT_EQ(b->Width(), 40);
    EXPECT_EQ(b->Height(), 55);
    b->SetBounds(0, 0, 20, 20);
    EXPECT_EQ(b->Width(), 36);
    EXPECT_EQ(b->Height(), 36);
    b->SetSize(9);
    EXPECT_GE(b->Width(), 84);
    EXPECT_GE(b->Height(), 84);
}

TEST(OnOffSwitch, PushButtonAcceptsPressesWhereTheCapIs)
{
    Host host;
    auto* b = new TzcSingleOnOff(&host);
    b->SetBounds(10, 10, 40, 55);
    Log log;
    bindAll(b, log);
    host.activate();

    // Off: only the raised cap counts.
    QTest::mouseClick(b, Qt::LeftButton, {}, onlyFlat);
    EXPECT_FALSE(b->SwitchOn());
    EXPECT_EQ(log.joined(), "down up");
    log.clear();
    QTest::mouseClick(b, Qt::LeftButton, {}, onlyRaised);
    EXPECT_TRUE(b->SwitchOn());
    EXPECT_EQ(log.joined(), "down on click up");
    EXPECT_TRUE(b->Focused());

    // On: only the flat cap counts; the press still reaches OnMouseDown.
    log.clear();
    QTest::mouseClick(b, Qt::LeftButton, {}, onlyRaised);
    EXPECT_TRUE(b->SwitchOn());
    EXPECT_EQ(log.joined(), "down up");
    QTest::mouseClick(b, Qt::LeftButton, {}, bothCaps);
    EXPECT_FALSE(b->SwitchOn());

    // A right button never clicks.
    log.clear();
    QTest::mouseClick(b, Qt::RightButton, {}, bothCaps);
    EXPECT_FALSE(b->SwitchOn());
    EXPECT_EQ(log.joined(), "down up");
}

TEST(OnOffSwitch, DraggingOutCancelsAndBackInClicks)
{
    Host host;
    auto* b = new TzcSingleOnOff(&host);
    b->SetBounds(10, 10, 40, 55);
    Log log;
    bindAll(b, log);
    host.activate();

    QTest::mousePress(b, Qt::LeftButton, {}, bothCaps);
    EXPECT_TRUE(b->Pressed());
    QTest::mouseMove(b, QPoint(60, 70));
    EXPECT_FALSE(b->Pressed());
    EXPECT_TRUE(b->Tracking());
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(60, 70));
    EXPECT_FALSE(b->SwitchOn());
    EXPECT_FALSE(b->Tracking());
    EXPECT_EQ(log.joined(), "down up");

    log.clear();
    QTest::mousePress(b, Qt::LeftButton, {}, bothCaps);
    QTest::mouseMove(b, QPoint(60, 70));
    QTest::mouseMove(b, QPoint(20, 30)); // back inside, not on the cap
    EXPECT_TRUE(b->Pressed());
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_TRUE(b->SwitchOn());
    EXPECT_EQ(log.joined(), "down on click up");
}

TEST(OnOffSwitch, RockerFacesInBothStates)
{
    Host host;
    auto* r = new TzcLightOnOff(&host);
    r->SetBounds(10, 10, 45, 60);
    host.activate();
    QTest::mouseClick(r, Qt::LeftButton, {}, upperFaceOnly);
    EXPECT_FALSE(r->SwitchOn());
    QTest::mouseClick(r, Qt::LeftButton, {}, lowerFaceOnly);
    EXPECT_TRUE(r->SwitchOn());
    QTest::mouseClick(r, Qt::LeftButton, {}, lowerFaceOnly);
    EXPECT_TRUE(r->SwitchOn());
    QTest::mouseClick(r, Qt::LeftButton, {}, bothFaces);
    EXPECT_FALSE(r->SwitchOn());
    QTest::mouseClick(r, Qt::LeftButton, {}, bothFaces);
    EXPECT_TRUE(r->SwitchOn());
    QTest::mouseClick(r, Qt::LeftButton, {}, upperFaceOnly);
    EXPECT_FALSE(r->SwitchOn());

    // The regions move with the box: at the bottom the box starts at y 20.
    r->SetGlyphAlign(zcgp_Bottom);
    QTest::mouseClick(r, Qt::LeftButton, {}, lowerFaceOnly);
    EXPECT_FALSE(r->SwitchOn());
    QTest::mouseClick(r, Qt::LeftButton, {}, lowerFaceOnly + QPoint(0, 20));
    EXPECT_TRUE(r->SwitchOn());
}

TEST(OnOffSwitch, SpaceEnterAndFocusLoss)
{
    Host host;
    auto* a = new TzcSingleOnOff(&host);
    a->SetBounds(10, 10, 40, 55);
    auto* other = new TzcSingleOnOff(&host);
    other->SetBounds(100, 10, 40, 55);
    Log log;
    bindAll(a, log);
    std::vector<std::uint16_t> keysSeen;
    a->OnKeyDown = [&](TObject*, std::uint16_t& k, TShiftState) { keysSeen.push_back(k); };
    host.activate();
    a->SetFocus();
    ASSERT_TRUE(a->Focused());

    // Held Space: the system repeats key-downs and, on X11, key-ups.
    sendKey(a, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(a->Pressed());
    for (int i = 0; i < 5; ++i) {
        sendKey(a, QEvent::KeyRelease, Qt::Key_Space, true);
        sendKey(a, QEvent::KeyPress, Qt::Key_Space, true);
    }
    EXPECT_EQ(log.joined(), "");
    sendKey(a, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(log.joined(), "on click");
    EXPECT_TRUE(keysSeen.empty());

    // Space pressed, focus moved away, Space released: nothing.
    log.clear();
    sendKey(a, QEvent::KeyPress, Qt::Key_Space);
    other->SetFocus();
    EXPECT_FALSE(a->Pressed());
    sendKey(a, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(log.joined(), "");
    EXPECT_TRUE(a->SwitchOn());

    // Enter clicks once per key-down.
    a->SetFocus();
    QTest::keyClick(a, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "off click");
    QTest::keyClick(a, Qt::Key_Enter);
    EXPECT_EQ(log.joined(), "off click on click");
    EXPECT_TRUE(keysSeen.empty());
    // Other keys reach OnKeyDown.
    QTest::keyClick(a, Qt::Key_A);
    EXPECT_EQ(keysSeen.size(), 1u);
}

TEST(OnOffSwitch, MouseFocusLossCancelsThePress)
{
    Host host;
    auto* a = new TzcSingleOnOff(&host);
    a->SetBounds(10, 10, 40, 55);
    auto* other = new TzcSingleOnOff(&host);
    other->SetBounds(100, 10, 40, 55);
    host.activate();
    QTest::mousePress(a, Qt::LeftButton, {}, bothCaps);
    ASSERT_TRUE(a->Pressed());
    other->SetFocus();
    QTest::mouseRelease(a, Qt::LeftButton, {}, bothCaps);
    EXPECT_FALSE(a->SwitchOn());
}

TEST(OnOffSwitch, AcceleratorClicksWithoutTakingTheFocus)
{
    Host host;
    auto* a = new TzcSingleOnOff(&host);
    a->SetBounds(10, 10, 80, 70);
    a->SetCaption("&Power");
    auto* other = new TzcSingleOnOff(&host);
    other->SetBounds(100, 10, 40, 55);
    Log log;
    bindAll(a, log);
    host.activate();
    other->SetFocus();
    QTest::keyClick(&host, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(log.joined(), "on click");
    EXPECT_TRUE(other->Focused());

    // The letter is underlined: a row of text-coloured pixels under "P".
    const QImage img = testutil::screenshot(a, "switch_accelerator");
    EXPECT_FALSE(img.isNull());
}

TEST(OnOffSwitch, DisabledIgnoresPressesAndEngravesItsCaption)
{
    Host host;
    auto* a = new TzcSingleOnOff(&host);
    a->SetBounds(10, 10, 100, 70);
    a->SetCaption("Сеть");
    TFont f = a->Font();
    f.PixelSize = 16;
    a->SetFont(f);
    Log log;
    bindAll(a, log);
    a->SetEnabled(false);
    host.activate();
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(50, 18));
    EXPECT_FALSE(a->SwitchOn());
    EXPECT_EQ(log.joined(), "");

    const QImage img = testutil::screenshot(a, "switch_disabled");
    const QRect caption(0, 36, 100, 34);
    EXPECT_TRUE(hasColor(img, caption, Qt::white));
    EXPECT_TRUE(hasColor(img, caption, QColor(0x80, 0x80, 0x80)));
    // The cap is drawn flat in the shadow colour.
    EXPECT_EQ(img.pixelColor(50, 17), ToQColor(clBtnShadow));
}

TEST(OnOffSwitch, PushButtonPictures)
{
    Host host;
    auto* b = new TzcSingleOnOff(&host);
    b->SetBounds(10, 10, 40, 55);
    b->SetKnobColor(kcRed);
    b->SetHideReflex(true);
    host.activate();
    // Raised: the cap's centre is up and left; its side shows to the lower right.
    QImage off = b->grab().toImage();
    EXPECT_EQ(off.pixelColor(16, 14), ToQColor(0x000080));
    EXPECT_EQ(off.pixelColor(3, 1), ToQColor(clBtnHighlight)); // bezel
    b->SetSwitchOn(true);
    QImage on = b->grab().toImage();
    EXPECT_EQ(on.pixelColor(19, 17), ToQColor(0x000080));
    EXPECT_EQ(on.pixelColor(9, 8), ToQColor(clBtnFace)); // raised cap's corner is gone

    // Without the bezel only the cap stands on the background.
    b->SetUse3D(false);
    b->SetBackColor(clWhite);
    QImage flat = b->grab().toImage();
    EXPECT_EQ(flat.pixelColor(3, 1), QColor(Qt::white));
    EXPECT_EQ(flat.pixelColor(36, 34), QColor(Qt::white));

    // With the reflex, light wedges show on the cap.
    b->SetHideReflex(false);
    QImage refl = b->grab().toImage();
    EXPECT_TRUE(hasColor(refl, QRect(9, 7, 21, 21), ToQColor(0x0000FF)));
}

TEST(OnOffSwitch, RockerLampLights)
{
    Host host;
    auto* r = new TzcLightOnOff(&host);
    r->SetBounds(10, 10, 45, 60);
    host.activate();
    const QImage off = r->grab().toImage();
    EXPECT_TRUE(hasColor(off, QRect(10, 0, 25, 40), ToQColor(0x008000)));
    EXPECT_FALSE(hasColor(off, QRect(10, 0, 25, 40), ToQColor(0x00FF00)));
    r->SetSwitchOn(true);
    const QImage on = r->grab().toImage();
    EXPECT_TRUE(hasColor(on, QRect(10, 0, 25, 40), ToQColor(0x00FF00)));
    EXPECT_FALSE(hasColor(on, QRect(10, 0, 25, 40), ToQColor(0x008000)));
}

TEST(OnOffSwitch, RockerLampIsABoxRoundedAtAllFourCorners)
{
    Host host;
    auto* r = new TzcLightOnOff(&host);
    r->SetBounds(10, 10, 45, 60);
    host.activate();
    for (bool on : {true, false}) {
        r->SetSwitchOn(on);
        const QImage img = r->grab().toImage();
        const QColor lamp = ToQColor(on ? 0x00FF00 : 0x008000);
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) == lamp)
                    box |= QRect(x, y, 1, 1);
        ASSERT_GE(box.width(), 6) << on;
        ASSERT_GE(box.height(), 3) << on;
        // Mirror images across both middles, the corners left out.
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const bool in = img.pixelColor(x, y) == lamp;
                EXPECT_EQ(in, img.pixelColor(box.left() + box.right() - x, y) == lamp) << on << ": " << x << "," << y;
                EXPECT_EQ(in, img.pixelColor(x, box.top() + box.bottom() - y) == lamp) << on << ": " << x << "," << y;
            }
        EXPECT_NE(img.pixelColor(box.topLeft()), lamp) << on;
        EXPECT_NE(img.pixelColor(box.bottomRight()), lamp) << on;
    }
}
