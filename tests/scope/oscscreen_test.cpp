#include "scope/oscscr.h"

#include "models/circuitsignals.h"
#include "models/s1_73scale.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <limits>

namespace {

QRgb Px(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kGreen = 0x008000;

struct Screen {
    TOscScreen s;
    QImage img, last;
    explicit Screen(int w = 640, int h = 384, int ratio = 1)
    {
        s.Width = w;
        s.Height = h;
        s.HorzDivs = 10;
        s.TimeOfDay = [] { return 1000.0; };
        s.Random = [] { return 0.0; };
        s.DrawGraticule();
        img = QImage(w * ratio, h * ratio, QImage::Format_RGB32);
        img.setDevicePixelRatio(ratio);
        img.fill(Qt::red);
    }
    void Trace(int n, double duration)
    {
        QPainter p(&img);
        s.DrawTrace(p, n, duration);
    }
};

} // namespace

TEST(OscScreen, GraticuleAt640x384)
{
    Screen sc;
    EXPECT_DOUBLE_EQ(sc.s.PixelsPerDiv, 64.0);
    EXPECT_DOUBLE_EQ(sc.s.VertDivs, 6.0);
    EXPECT_EQ(sc.s.CenterY, 192);
    const QImage& g = sc.s.Graticule;
    ASSERT_EQ(g.size(), QSize(640, 384));
    // Rows 192, 192 ± 64, ± 128, ± 192 are lines across; 448 falls outside.
    for (int row : {0, 64, 128, 192, 256, 320})
        for (int x : {10, 100, 639})
            EXPECT_EQ(Px(g, x, row), kBlack) << row << "," << x;
    for (int row : {1, 63, 65, 191, 193, 383})
        EXPECT_EQ(Px(g, 10, row), kGreen) << row;
    // Columns every 64 px; the last (640) lies outside.
    for (int col : {0, 64, 320, 576})
        EXPECT_EQ(Px(g, col, 10), kBlack) << col;
    EXPECT_EQ(Px(g, 639, 10), kGreen);
    // Fifth-division ticks on the centre row: rows CenterY-2 .. CenterY+1.
    EXPECT_EQ(Px(g, 12, 190), kBlack);
    EXPECT_EQ(Px(g, 12, 193), kBlack);
    EXPECT_EQ(Px(g, 12, 194), kGreen);
    EXPECT_EQ(Px(g, 12, 189), kGreen);
    // And on the centre column: columns cx-2 .. cx+1 at rows 192 - 12 etc.
    EXPECT_EQ(Px(g, 318, 180), kBlack);
    EXPECT_EQ(Px(g, 321, 180), kBlack);
    EXPECT_EQ(Px(g, 322, 180), kGreen);
    EXPECT_EQ(Px(g, 318, 204), kBlack);
}

TEST(OscScreen, ZeroSizesAndDivisionsDrawNothingButStaySane)
{
    TOscScreen s;
    s.DrawGraticule(); // everything 0
    EXPECT_EQ(s.PixelsPerDiv, 0.0);
    EXPECT_EQ(s.VertDivs, 0.0);
    s.Width = 100;
    s.Height = 50;
    s.HorzDivs = 0;
    s.DrawGraticule();
    EXPECT_TRUE(std::isfinite(s.VertDivs));
    EXPECT_EQ(s.Graticule.size(), QSize(100, 50));
    s.BeamOn = true;
    QImage img(100, 50, QImage::Format_RGB32);
    QPainter p(&img);
    s.DrawTrace(p, 0, 1.0); // N = 0: one sample, only a move
    s.DrawTrace(p, 10, 1.0);
}

TEST(OscScreen, TracePenFollowsBrightnessFocusAndSpeed)
{
    struct Case { int d; double focus, bright; int width; QRgb color; };
    const Case cases[] = {
        {0, 1.0, 2.0, 2, qRgb(255, 255, 255)}, // still spot, brightest
        {0, 1.0, 1.0, 2, qRgb(0, 255, 0)},
        {64, 1.0, 1.0, 1, qRgb(0, 191, 0)},    // fast spot: I = 0.5
        {64, 1.0, 2.0, 1, qRgb(0, 255, 0)},    // I = 1 exactly
        {32, 1.0, 2.0, 1, qRgb(127, 255, 127)}, // I = 1.5
        {0, 0.0, 1.0, 20, qRgb(0, 191, 0)},    // blurred: width 10 x 2, I halves
        {64, 0.0, 1.0, 10, qRgb(0, 159, 0)},   // I = 0.25
        {0, 1.0, 0.0, 2, qRgb(0, 128, 0)},     // no brightness: darkest green
        {100, 1.0, 1.0, 1, qRgb(0, 191, 0)},   // d is capped at 64
    };
    for (const Case& c : cases) {
        const TTracePen pen = TracePen(c.d, c.focus, c.bright);
        EXPECT_EQ(pen.Width, c.width) << c.d << " " << c.focus << " " << c.bright;
        EXPECT_EQ(pen.Color & 0xFFFFFF, c.color & 0xFFFFFF) << c.d << " " << c.focus << " " << c.bright;
    }
    // Settings beyond the knobs never give an invalid colour or width.
    const TTracePen wild = TracePen(0, 1.0, std::numeric_limits<double>::quiet_NaN());
    EXPECT_GE(wild.Width, 1);
    EXPECT_EQ(TracePen(0, 1.0, 50.0).Color & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);
}

TEST(OscScreen, BeamOffAndInvisibleSourcesLeaveTheGraticule)
{
    Screen sc;
    sc.Trace(1280, 1e-3);
    EXPECT_EQ(sc.img, sc.s.Graticule);

    Screen blank;
    blank.s.BeamOn = true;
    blank.s.OnYValue = [](double&, bool& vis, double) { vis = false; };
    blank.Trace(1280, 1e-3);
    EXPECT_EQ(blank.img, blank.s.Graticule);
}

TEST(OscScreen, NoSourcesGiveAStillDotAtTheCentre)
{
    Screen sc;
    sc.s.BeamOn = true;
    sc.s.Focus = 1.0;
    sc.s.Brightness = 1.0;
    sc.Trace(100, 1e-3);
    EXPECT_EQ(Px(sc.img, 320, 192), qRgb(0, 255, 0) & 0xFFFFFF);
    EXPECT_EQ(Px(sc.img, 321, 192), qRgb(0, 255, 0) & 0xFFFFFF);
    EXPECT_EQ(Px(sc.img, 330, 192), kBlack); // the centre row line beside it
    EXPECT_EQ(Px(sc.img, 310, 200), kGreen);
}

TEST(OscScreen, SamplesFollowTheSourcesAtJitteredTimes)
{
    Screen sc;
    sc.s.BeamOn = true;
    sc.s.Focus = 1.0;
    std::vector<double> xt, yt;
    sc.s.Random = [] { return 0.5; };
    sc.s.OnXValue = [&](double& v, bool&, double t) { xt.push_back(t); v = (t - 1000.0) * 10; };
    sc.s.OnYValue = [&](double& v, bool&, double t) { yt.push_back(t); v = 2; };
    sc.Trace(4, 1.0);
    ASSERT_EQ(xt.size(), 5u);
    EXPECT_EQ(xt, yt);
    for (int i = 0; i <= 4; ++i)
        EXPECT_DOUBLE_EQ(xt[i], 1000.0 + (i + 0.05) * 0.25);
    // A line two divisions above the centre, across the screen.
    EXPECT_NE(Px(sc.img, 300, 192 - 128), kBlack);
    EXPECT_NE(Px(sc.img, 300, 192 - 128) & 0x00FF00, 0x008000u);
}

TEST(OscScreen, HugeAndNonFiniteValuesAreClamped)
{
    Screen sc;
    sc.s.BeamOn = true;
    int calls = 0;
    sc.s.OnYValue = [&](double& v, bool&, double) {
        const double vals[] = {1e300, -1e300, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(), 0.0};
        v = vals[calls++ % 5];
    };
    sc.Trace(50, 1e-3);
    EXPECT_EQ(calls, 51);
}

TEST(OscScreen, TracesDrawnOverTheLastOneEqualFreshTraces)
{
    for (int ratio : {1, 2}) {
        Screen kept(640, 384, ratio), fresh(640, 384, ratio);
        double now = 1000;
        for (Screen* s : {&kept, &fresh}) {
            s->s.BeamOn = true;
            s->s.TimeOfDay = [&now] { return now; };
            s->s.OnYValue = [](double& v, bool& vis, double t) {
                v = 2.5 * std::sin(t * 2000);
                vis = std::fmod(t * 300, 1.0) < 0.9;
            };
            s->s.OnXValue = [](double& v, bool&, double t) { v = 5 + 4 * std::cos(t * 1300); };
        }
        for (int frame = 0; frame < 40; ++frame) {
            now += 0.05;
            const double focus = (frame % 5) / 4.0;
            kept.s.Focus = fresh.s.Focus = focus;
            kept.s.Brightness = fresh.s.Brightness = 0.5 + (frame % 3) * 0.5;
            kept.s.BeamOn = fresh.s.BeamOn = frame % 11 != 5;
            kept.Trace(1280, 0.01);
            fresh.img = QImage(kept.img.size(), QImage::Format_RGB32);
            fresh.img.setDevicePixelRatio(ratio);
            fresh.Trace(1280, 0.01);
            ASSERT_EQ(kept.img, fresh.img) << frame << " at ratio " << ratio;
            // What changed since the frame before lies within the region told.
            const auto changed = kept.s.TakeChange();
            ASSERT_TRUE(frame == 0 || changed);
            if (frame > 0) {
                for (int y = 0; y < 384; y += 3)
                    for (int x = 0; x < 640; x += 3)
                        if (!changed->contains(QPoint(x, y))) {
                            ASSERT_EQ(kept.img.pixel(x * ratio, y * ratio), kept.last.pixel(x * ratio, y * ratio)) << x << "," << y;
                        }
            }
            kept.last = kept.img.copy();
        }
    }
}

TEST(OscScreen, FastAndPainterPathsInkTheSamePixels)
{
    // The fast path writes the frame's pixels; a clipped painter takes the
    // painter path, as a HiDPI or partly covered screen does.
    int ratio = 1;
    auto both = [&ratio](const std::function<void(Screen&)>& setup, int n, double duration) {
        Screen fast(640, 384, ratio), painted(640, 384, ratio);
        for (Screen* s : {&fast, &painted}) {
            s->s.BeamOn = true;
            setup(*s);
        }
        fast.Trace(n, duration);
        QPainter p(&painted.img);
        p.setClipRect(painted.img.rect());
        painted.s.DrawTrace(p, n, duration);
        p.end();
        return std::make_pair(fast.img, painted.img);
    };
    // A still spot of width 2: the pixels within 1 of the segment from the
    // centre to the pixel right of it, taken half a pixel up and left.
    auto [spotFast, spotPainted] = both([](Screen& s) { s.s.Focus = 1.0; }, 100, 1e-3);
    EXPECT_EQ(spotFast, spotPainted);
    const QRgb lit = qRgb(0, 255, 0) & 0xFFFFFF;
    int n = 0;
    for (int y = 186; y <= 198; ++y)
        for (int x = 314; x <= 328; ++x) {
            const bool want = (y == 191 || y == 192) && x >= 319 && x <= 321;
            EXPECT_EQ(Px(spotFast, x, y) == lit, want) << x << "," << y;
            n += Px(spotFast, x, y) == lit;
        }
    EXPECT_EQ(n, 6);
    // Sharp and blurred traces of every speed, and one driven mostly far off
    // the screen; at ratio 2 too, where the fast path writes blocks.
    for (int r : {1, 2}) {
        ratio = r;
        Screen graticule(640, 384, r);
        graticule.Trace(1, 1);
        for (auto [focus, amp] : {std::pair{1.0, 2.7}, {0.6, 2.7}, {0.0, 2.7}, {0.0, 90.0}}) {
            auto [a, b] = both(
                [focus, amp](Screen& s) {
                    s.s.Focus = focus;
                    s.s.OnYValue = [amp](double& v, bool&, double t) { v = amp * std::sin(t * 3000); };
                    s.s.OnXValue = [](double& v, bool&, double t) { v = 5 + 4.3 * std::cos(t * 1900); };
                },
                1280, 0.01);
            ASSERT_EQ(a, b) << focus << " at ratio " << r;
            EXPECT_NE(a, graticule.img);
        }
    }
}

TEST(OscScreen, TracesAtAnyClockReadingShowOnePicture)
{
    // The signals repeat every hundredth of a second: work 3's ring-down at
    // 0.5 V and 0.1 ms a division, and 5 V at 5000 Hz at 2 V and 50 µs. At
    // 36000.455 and .7012 the hundredth's nearest double falls just before it.
    const std::pair<double, double (*)(double)> cases[] = {
        {1e-4, [](double t) { return DampedOscillation(t, 1e-3, 1e-6, 5) / 0.5; }},
        {5e-5, [](double t) { return 5 * std::sin(2 * M_PI * 5000 * t) / 2; }},
    };
    for (auto [secPerDiv, divs] : cases) {
        QImage first;
        for (double now : {36000.0, 36000.0537, 36000.1999, 36000.455, 36000.7012}) {
            Screen sc;
            sc.s.BeamOn = true;
            sc.s.TimeOfDay = [now] { return now; };
            double prev = 0; // the flyback is blanked
            sc.s.OnXValue = [&](double& v, bool& vis, double t) { vis = (v = SweepDivs(t, secPerDiv)) >= prev; prev = v; };
            sc.s.OnYValue = [&](double& v, bool&, double t) { v = divs(t); };
            sc.Trace(1280, 10 * secPerDiv);
            EXPECT_EQ(sc.img, first.isNull() ? (first = sc.img) : first) << "at " << now << " s, " << secPerDiv << " s/div";
        }
        // The ring-down's first maximum: two divisions up at the left edge.
        EXPECT_TRUE(secPerDiv != 1e-4 || Px(first, 1, 192 - 128) != kGreen);
    }
}
