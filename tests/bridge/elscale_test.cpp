#include "bridge/bridgeresources.h"
#include "bridge/elscale.h"
#include "platform/clock.h"
#include "support/testutil.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

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

    // On a frame at ratio 2 the face is drawn at ratio 2, not doubled: the
    // inscriptions' edges fall within 2 x 2 blocks.
    TBitmap frame;
    frame.SetDevicePixelRatio(2);
    frame.SetSize(338, 358);
    s->PaintBuffer(frame.Canvas());
    const QImage& sharp = frame.Image();
    int split = 0;
    for (int y = 0; y + 1 < sharp.height(); y += 2)
        for (int x = 0; x + 1 < sharp.width(); x += 2) {
            const QRgb p = sharp.pixel(x, y);
            split += sharp.pixel(x + 1, y) != p || sharp.pixel(x, y + 1) != p || sharp.pixel(x + 1, y + 1) != p;
        }
    EXPECT_GT(split, 200);
}

namespace {

// Ink of a black-on-white picture, cut into runs along one axis: the rows of
// the lines of text, the columns of words and glyphs within a line.
struct Ink {
    QImage img;
    bool dark(int x, int y) const { return qGray(img.pixel(x, y)) < 128; }
    struct Run {
        int from, to;  // inclusive
    };
    // Runs of rows holding ink, over all columns.
    std::vector<Run> lines() const
    {
        std::vector<Run> out;
        for (int y = 0; y < img.height(); ++y) {
            bool any = false;
            for (int x = 0; x < img.width() && !any; ++x)
                any = dark(x, y);
            if (any && !out.empty() && out.back().to == y - 1)
                out.back().to = y;
            else if (any)
                out.push_back({y, y});
        }
        return out;
    }
    // Runs of columns of the rows `line` holding ink, split where at least
    // `gap` empty columns lie between them.
    std::vector<Run> columns(Run line, int x0, int x1, int gap) const
    {
        std::vector<Run> out;
        int lastInk = -1000000;
        for (int x = x0; x < x1; ++x) {
            bool any = false;
            for (int y = line.from; y <= line.to && !any; ++y)
                any = dark(x, y);
            if (!any)
                continue;
            if (!out.empty() && x - lastInk - 1 < gap)
                out.back().to = x;
            else
                out.push_back({x, x});
            lastInk = x;
        }
        return out;
    }
    // The rows that hold ink within the columns `cols` of the rows `line`.
    Run rows(Run line, Run cols) const
    {
        Run r{line.to + 1, line.from - 1};
        for (int y = line.from; y <= line.to; ++y)
            for (int x = cols.from; x <= cols.to; ++x)
                if (dark(x, y)) {
                    r.from = std::min(r.from, y);
                    r.to = std::max(r.to, y);
                }
        return r;
    }
};

} // namespace

// A student reads the galvanometer's constants off the dial: the power of ten
// must be raised and small, the indices lowered, the gaps kept.
TEST(AnalogScale, DialInscriptionsRaiseTheExponentAndLowerTheIndices)
{
    InitBridgeResources();
    TMetafile dial;
    ASSERT_TRUE(dial.LoadFromResourceName(":/bridge/ELGALVAN_SCALE01.svg"));
    // Four device pixels to a unit of the 415 x 125 picture.
    const int k = 4;
    QImage pic(415 * k, 125 * k, QImage::Format_RGB32);
    pic.fill(Qt::white);
    {
        QPainter p(&pic);
        p.drawImage(0, 0, dial.Rendered(pic.width(), pic.height()));
    }
    const QString out = qEnvironmentVariable("LAB_TEST_OUTPUT");
    if (!out.isEmpty())
        pic.save(out + "/galvanometer_dial.png");
    const Ink ink{pic};

    // The title and two lines of constants.
    const auto lines = ink.lines();
    ASSERT_EQ(lines.size(), 3u);
    const int half = pic.width() / 2;
    const int wordGap = 4 * k;  // narrower than a blank, wider than between glyphs
    auto words = [&](Ink::Run line, bool left) {
        return left ? ink.columns(line, 0, half, wordGap) : ink.columns(line, half, pic.width(), wordGap);
    };
    auto glyphs = [&](Ink::Run word, Ink::Run line) { return ink.columns(line, word.from, word.to + 1, 1); };

    // A base letter and its index: the index's first letter (none of them
    // has a descender) starts and ends lower.
    auto expectIndexLowered = [&](Ink::Run line, Ink::Run word, const char* what) {
        const auto g = glyphs(word, line);
        ASSERT_GE(g.size(), 2u) << what;
        const Ink::Run base = ink.rows(line, g.front());
        const Ink::Run index = ink.rows(line, g[1]);
        EXPECT_GT(index.to, base.to + k) << what << ": the index does not go below the baseline";
        EXPECT_GT(index.from, base.from + k) << what << ": the index is not lowered";
    };

    const auto line1 = words(lines[1], true);
    ASSERT_GE(line1.size(), 2u);
    expectIndexLowered(lines[1], line1[0], "l with i");

    // "1,0·10" then the exponent "−7", before the unit: the exponent is the
    // last stretch of raised ink of the line (ink wholly above the digits'
    // baseline); it follows a digit on the baseline, is smaller than the
    // digits and begins with a minus.
    const auto g = ink.columns(lines[1], line1[1].from, half, 1);
    ASSERT_GE(g.size(), 3u);
    const Ink::Run one = ink.rows(lines[1], g.front());
    const int digitHeight = one.to - one.from;
    auto raised = [&](const Ink::Run& r) { return ink.rows(lines[1], r).to < one.to - 2 * k; };
    size_t last = g.size();
    while (last > 0 && !raised(g[last - 1]))
        --last;
    ASSERT_GT(last, 1u) << "nothing raised after the division value";
    size_t first = last - 1;
    while (first > 0 && raised(g[first - 1]))
        --first;
    ASSERT_GT(first, 0u);
    EXPECT_GE(ink.rows(lines[1], g[first - 1]).to, one.to - 1) << "the exponent does not follow the digits";
    const Ink::Run exp{g[first].from, g[last - 1].to};
    const Ink::Run expRows = ink.rows(lines[1], exp);
    EXPECT_GT(expRows.to - expRows.from, digitHeight / 3) << "the exponent's digit sits on the baseline";
    EXPECT_LT(expRows.to - expRows.from, digitHeight * 3 / 4) << "the exponent is not smaller";
    const Ink::Run minus = ink.rows(lines[1], {exp.from, exp.from + 2 * k});
    EXPECT_LE(minus.to - minus.from, k + 2) << "the exponent has no minus sign";

    expectIndexLowered(lines[1], words(lines[1], false).at(0), "R with кр");
    expectIndexLowered(lines[2], words(lines[2], false).at(0), "R with г");

    // "T   =": the blanks keep the sign well away from the letter.
    const auto t = words(lines[2], true);
    ASSERT_GE(t.size(), 2u);
    EXPECT_GT(t[1].from - t[0].to, 2 * 5 * k);
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
