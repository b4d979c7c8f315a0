// Writes pictures of every control in its states to the screens folder,
// enlarged so that they can be looked at pixel by pixel.

#include "controls/zknob.h"
#include "controls/zonzoff.h"
#include "ctltest.h"

#include <gtest/gtest.h>

namespace {

QImage save(QWidget* w, const QString& name, int zoom = 3)
{
    const QImage img = testutil::screenshot(w, name);
    const QImage big = img.scaled(img.width() * zoom, img.height() * zoom, Qt::IgnoreAspectRatio,
                                  Qt::FastTransformation);
    QString dir = qEnvironmentVariable("LAB_TEST_OUTPUT");
    if (!dir.isEmpty())
        big.save(dir + "/" + name + "_x" + QString::number(zoom) + ".png");
    return img;
}

} // namespace

TEST(Gallery, Switches)
{
    ctltest::Host host(420, 260);
    int x = 4;
    auto place = [&]<class S>(S* s, const QString& cap) {
        s->SetCaption(cap);
        s->SetBounds(x, 4, s->Width() + 10, s->Height() + 12);
        x += s->Width() + 4;
        return s;
    };
    auto* r1 = place(new TzcLightOnOff(&host), "Выкл");
    auto* r2 = place(new TzcLightOnOff(&host), "Вкл");
    r2->SetSwitchOn(true);
    auto* r3 = place(new TzcLightOnOff(&host), "Откл");
    r3->SetEnabled(false);
    auto* r4 = new TzcLightOnOff(&host);
    r4->SetSize(3);
    r4->SetSwitchOn(true);
    place(r4, "Size 3");
    auto* p1 = place(new TzcSingleOnOff(&host), "Сеть");
    auto* p2 = place(new TzcSingleOnOff(&host), "Вкл");
    p2->SetSwitchOn(true);
    p2->SetKnobColor(kcRed);
    auto* p3 = place(new TzcSingleOnOff(&host), "Откл");
    p3->SetEnabled(false);
    x = 4;
    auto* p4 = new TzcSingleOnOff(&host);
    p4->SetSize(5);
    p4->SetKnobColor(kcGreen);
    p4->SetCaption("&Фокус");
    p4->SetUseFocusFrame(true);
    p4->SetBounds(4, 110, 110, 110);
    auto* p5 = new TzcSingleOnOff(&host);
    p5->SetSize(5);
    p5->SetKnobColor(kcYellow);
    p5->SetSwitchOn(true);
    p5->SetSteelLook(true);
    p5->SetGlyphAlign(zcgp_Right);
    p5->SetCaption("Steel");
    p5->SetBounds(120, 110, 130, 80);
    auto* r5 = new TzcLightOnOff(&host);
    r5->SetGlyphAlign(zcgp_Left);
    r5->SetCaption("Left");
    r5->SetSteelLook(true);
    r5->SetBounds(260, 110, 80, 60);
    host.activate();
    p4->SetFocus();
    // One pressed push button, held by the mouse.
    QTest::mousePress(p1, Qt::LeftButton, {}, QPoint(p1->Width() / 2 - 2, 14));
    EXPECT_TRUE(p1->Pressed());
    save(&host, "gallery_switches");
    QTest::mouseRelease(p1, Qt::LeftButton, {}, QPoint(p1->Width() / 2 - 2, 14));
    (void)r1;
}

TEST(Gallery, RoundKnobs)
{
    ctltest::Host host(540, 150);
    int x = 4;
    auto add = [&](int side, int value) {
        auto* k = new TzKnob(&host);
        k->SetBounds(x, 4, side, side);
        k->SetValue(value);
        x += k->Width() + 6;
        return k;
    };
    add(57, 0);
    add(57, 50);
    add(57, 51)->SetKnobColor(kcRed);
    auto* neg = add(57, 0);
    neg->SetMin(-50);
    neg->SetMax(50);
    neg->SetValue(-21);
    neg->SetKnobColor(kcBlue);
    auto* steel = add(120, 100);
    steel->SetSteelLook(true);
    steel->SetPointWidth(3);
    auto* yellow = add(80, 33);
    yellow->SetKnobColor(kcYellow);
    yellow->SetHideReflex(true);
    auto* focused = add(45, 70);
    focused->SetKnobColor(kcGreen);
    auto* off = add(57, 20);
    off->SetEnabled(false);
    host.activate();
    focused->SetFocus();
    save(&host, "gallery_knobs");
}
