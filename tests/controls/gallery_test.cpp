// Writes pictures of every control in its states to the screens folder,
// enlarged so that they can be looked at pixel by pixel.

#include "controls/mekknob.h"
#include "controls/oscknob.h"
#include "controls/zknob.h"
#include "controls/zled.h"
#include "controls/zonzoff.h"
#include "ctltest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace {

QImage save(QWidget* w, const QString& name, int zoom = 3)
{
    const QImage img = testutil::screenshot(w, name);
    const QImage big = img.scaled(img.width() * zoom, img.height() * zoom, Qt::IgnoreAspectRatio,
                                  Qt::FastTransformation);
    big.save(testutil::outputDir() + "/" + name + "_x" + QString::number(zoom) + ".png");
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
    // The focused button held down by Space: focus frame, bold caption
    // moved by the press.
    p4->SetShowTextPress(true);
    p4->SetFocus();
    ctltest::sendKey(p4, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(p4->Pressed());
    save(&host, "gallery_switches");
    ctltest::sendKey(p4, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(p4->SwitchOn());
    (void)r1;
    (void)p1;
}

TEST(Gallery, RoundKnobs)
{
    ctltest::Host host(640, 150);
    int x = 4;
    auto add = [&](int side, int value) {
        auto* k = new TzKnob(&host);
        k->SetBounds(x, 4, side, side);
        k->SetValue(value);
        x += k->Width() + 6;
        return k;
    };
    auto* grey = add(57, 0);
    add(57, 50);
    auto* red = add(57, 51);
    red->SetKnobColor(kcRed);
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
    // Each face in its own colour, shaded unless the reflexes are hidden; on
    // a grey face only the pointer is red.
    const QImage img = save(&host, "gallery_knobs");
    for (auto [k, hue, shaded] : {std::tuple(grey, -1, true), std::tuple(red, 0, true), std::tuple(neg, 240, true),
                                  std::tuple(yellow, 60, false), std::tuple(focused, 120, true)}) {
        std::set<QRgb> shades;
        const int r = k->Width() / 5;
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                const QColor p = img.pixelColor(k->geometry().center() + QPoint(x, y));
                if (x * x + y * y <= r * r && p != Qt::red) {
                    EXPECT_EQ(p.hsvHue(), hue) << k->Width();
                    shades.insert(p.rgb());
                }
            }
        EXPECT_EQ(shades.size() > 1, shaded) << hue;
    }
}

namespace {
// A stand-in scale: numbered marks on a light card.
QByteArray scaleSvg(int steps)
{
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='200' viewBox='0 0 200 200'>"
                     "<rect width='200' height='200' fill='#e8e4d8'/>";
    for (int i = 0; i <= steps; ++i) {
        const double t = ((i * 100 / steps) - 50) / 125.0 * 2 * 3.14159265358979;
        const double x = 100 + std::sin(t) * 88, y = 100 - std::cos(t) * 88;
        svg += QByteArray("<text x='") + QByteArray::number(x) + "' y='" + QByteArray::number(y + 4)
               + "' font-size='11' text-anchor='middle' fill='black'>" + QByteArray::number(i) + "</text>";
    }
    return svg + "</svg>";
}
} // namespace

TEST(Gallery, StepSwitchesLampsAndTransparentKnobs)
{
    ctltest::Host host(700, 360);
    auto* s1 = new TVorlinKnob(&host);
    s1->SetBounds(4, 4, 200, 200);
    s1->SetKnobRadius(60);
    s1->SetMax(11);
    ASSERT_TRUE(s1->BackgroundPicture().LoadFromData(scaleSvg(11)));
    s1->SetValue(3);
    auto* s2 = new TVorlinKnob(&host);
    s2->SetBounds(210, 4, 160, 160);
    s2->SetKnobRadius(45);
    s2->SetMax(17);
    ASSERT_TRUE(s2->BackgroundPicture().LoadFromData(scaleSvg(17)));
    s2->SetValue(17);

    int x = 380;
    for (LedStyleType st : {lstRound, lstSimpleRound, lstSquare}) {
        int y = 4;
        for (LedColorType c : {lctRed, lctGreen, lctyellow, lctGrey}) {
            for (bool lit : {true, false}) {
                auto* l = new TzLed(&host);
                l->SetLedStyle(st);
                l->SetLEDColor(c);
                l->SetEnabled(lit);
                l->SetBounds(x + (lit ? 0 : 22), y, 17, 17);
                y += 0;
            }
            y += 22;
        }
        x += 50;
    }
    auto* bigRound = new TzLed(&host);
    bigRound->SetBounds(380, 100, 68, 68);
    bigRound->SetEnabled(true);
    auto* bigSquare = new TzLed(&host);
    bigSquare->SetBounds(460, 100, 68, 68);
    bigSquare->SetLedStyle(lstSquare);
    bigSquare->SetLEDColor(lctBlue);
    bigSquare->SetEnabled(true);
    auto* steelLed = new TzLed(&host);
    steelLed->SetBounds(540, 100, 34, 34);
    steelLed->SetSteelLook(true);
    steelLed->SetLEDColor(lctCyan);

    auto* t1 = new TMekTransparentKnob(&host);
    t1->SetBounds(4, 210, 140, 140);
    t1->SetRadius(35);
    t1->SetNumPositions(101);
    t1->SetStepPerTick(10);
    for (int i = 0; i <= 100; i += 10)
        t1->Labels().append(QString::number(i));
    t1->SetPosition(30);
    t1->SetTransparent(false);
    t1->SetColor(clWhite);
    auto* t2 = new TMekTransparentKnob(&host);
    t2->SetBounds(150, 210, 120, 120);
    t2->SetRadius(28);
    for (int i = 0; i < 10; ++i)
        t2->Labels().append(QString::number(i));
    t2->SetPosition(7);
    auto* t3 = new TMekTransparentKnob(&host);
    t3->SetBounds(280, 230, 60, 60);
    t3->SetPosition(2);
    host.activate();
    s2->SetFocus();
    save(&host, "gallery_steps_lamps", 2);
}
