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
#include <functional>
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

namespace {
template <class T> std::function<void(TControl*)> on(std::function<void(T*)> f)
{
    return [f](TControl* c) { f(static_cast<T*>(c)); };
}
} // namespace

// The controls keep the parts of their pictures that do not move between
// frames. A control changed after it has been painted must look exactly as
// one given the same change before its first paint, and where counted,
// repaint no more often than its picture changes.
TEST(Gallery, ChangesAfterAPaintShowAtOnce)
{
    using Make = std::function<TControl*(QWidget*)>;
    const Make knob = [](QWidget* p) { auto* k = new TzKnob(p); k->SetBounds(0, 0, 80, 80); k->SetValue(37); return k; };
    const Make step = [](QWidget* p) {
        auto* k = new TVorlinKnob(p);
        k->SetBounds(0, 0, 160, 160);
        k->SetKnobRadius(45);
        k->SetMax(11);
        k->BackgroundPicture().LoadFromData(scaleSvg(11));
        return k;
    };
    const Make lamp = [](QWidget* p) { auto* l = new TzLed(p); l->SetBounds(0, 0, 34, 34); return l; };
    const Make button = [](QWidget* p) { auto* b = new TzcSingleOnOff(p); b->SetCaption("Сеть"); return b; };
    const Make rocker = [](QWidget* p) { auto* r = new TzcLightOnOff(p); r->SetSwitchOn(true); return r; };
    const Make dial = [](QWidget* p) {
        auto* k = new TMekTransparentKnob(p);
        k->SetBounds(0, 0, 120, 120);
        k->Labels() = QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        return k;
    };
    const struct {
        const char* name;
        const Make& make;
        std::function<void(TControl*)> change;
        int repaints = -1;
    } cases[] = {
        {"knob colour", knob, on<TzKnob>([](TzKnob* k) { k->SetKnobColor(kcRed); })},
        {"steel knob", knob, on<TzKnob>([](TzKnob* k) { k->SetSteelLook(true); })},
        {"knob ticks", knob, on<TzKnob>([](TzKnob* k) { k->SetStepPerTick(25); k->SetTickColor(clRed); })},
        {"knob range", knob, on<TzKnob>([](TzKnob* k) { k->SetMax(40); })},
        {"knob reflex", knob, on<TzKnob>([](TzKnob* k) { k->SetHideReflex(true); })},
        {"knob size", knob, on<TzKnob>([](TzKnob* k) { k->SetWidth(100); })},
        {"knob back", knob, on<TzKnob>([](TzKnob* k) { k->SetColor(clWhite); })},
        {"knob step", knob, on<TzKnob>([](TzKnob* k) { k->SetValue(38); })},
        {"switch radius", step, on<TVorlinKnob>([](TVorlinKnob* k) { k->SetKnobRadius(30); })},
        {"switch steps", step, on<TVorlinKnob>([](TVorlinKnob* k) { k->SetMax(5); k->SetValue(4); })},
        {"switch scale", step, on<TVorlinKnob>([](TVorlinKnob* k) { k->BackgroundPicture().LoadFromData(scaleSvg(5)); })},
        // Straight up is step 6 of 11; the moves after it stay on step 6.
        {"switch dragged", step, [](TControl* k) {
             QTest::mousePress(k, Qt::LeftButton, {}, QPoint(80, 10));
             QTest::mouseMove(k, QPoint(81, 10));
             QTest::mouseRelease(k, Qt::LeftButton, {}, QPoint(80, 12));
         }, 1},
        {"lamp lit", lamp, on<TzLed>([](TzLed* l) { l->SetEnabled(true); })},
        {"lamp colour", lamp, on<TzLed>([](TzLed* l) { l->SetLEDColor(lctBlue); })},
        {"lamp style", lamp, on<TzLed>([](TzLed* l) { l->SetLedStyle(lstSquare); })},
        {"button colour", button, on<TzcSingleOnOff>([](TzcSingleOnOff* b) { b->SetKnobColor(kcGreen); })},
        {"button caption", button, on<TzcSingleOnOff>([](TzcSingleOnOff* b) { b->SetCaption("Пуск"); })},
        {"button font", button, on<TzcSingleOnOff>([](TzcSingleOnOff* b) { b->SetFont(TFont("Arial", 14)); })},
        {"button off", button, on<TzcSingleOnOff>([](TzcSingleOnOff* b) { b->SetEnabled(false); })},
        {"rocker lamp", rocker, on<TzcLightOnOff>([](TzcLightOnOff* r) { r->SetOnColor(clRed); })},
        {"rocker size", rocker, on<TzcLightOnOff>([](TzcLightOnOff* r) { r->SetSize(2); })},
        {"dial radius", dial, on<TMekTransparentKnob>([](TMekTransparentKnob* k) { k->SetRadius(40); })},
        {"dial position", dial, on<TMekTransparentKnob>([](TMekTransparentKnob* k) { k->SetPosition(3); })},
    };
    for (const auto& c : cases) {
        ctltest::Host host;
        TControl* painted = c.make(&host);
        host.show();
        // Repaints reach only a window on the screen; its one control takes
        // the focus there, before the change.
        if (c.repaints >= 0)
            host.activate();
        (void)painted->grab();
        struct : QObject {
            int n = 0;
            bool eventFilter(QObject*, QEvent* e) override { n += e->type() == QEvent::Paint; return false; }
        } repaints;
        painted->installEventFilter(&repaints);
        c.change(painted);
        painted->removeEventFilter(&repaints);
        if (c.repaints >= 0) {
            EXPECT_EQ(repaints.n, c.repaints) << c.name;
        }
        TControl* fresh = c.make(&host);
        c.change(fresh);
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        EXPECT_TRUE(painted->grab().toImage() == fresh->grab().toImage()) << c.name;
    }
}
