#include "controls/mekwing.h"
#include "support/testutil.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class Host : public TCustomControl {
public:
    Host() { SetBounds(0, 0, 200, 150); }
protected:
    void Paint() override
    {
        Canvas()->Brush.Color = clWhite;
        Canvas()->FillRect(ClientRect());
    }
};

// Draws a frame counter as a colour, so each frame can be told apart.
class Counting : public TMekWinGControl {
public:
    using TMekWinGControl::TMekWinGControl;
    int frames = 0;
    bool throwNext = false;
protected:
    void PaintBuffer(TCanvas& c) override
    {
        ++frames;
        if (throwNext) {
            throwNext = false;
            throw std::runtime_error("broken frame");
        }
        c.Brush.Color = RGB(0, frames * 10 % 256, 255);
        c.FillRect(ClientRect());
    }
};

QColor at(QWidget* w, int x, int y)
{
    return w->grab().toImage().pixelColor(x, y);
}

} // namespace

TEST(MekWinG, BaseShowsRedAndHasNoTabStop)
{
    Host host;
    auto* c = new TMekWinGControl(&host);
    c->SetBounds(10, 10, 60, 40);
    host.show();
    EXPECT_EQ(c->Buffer().Width(), 60);
    EXPECT_EQ(c->Buffer().Height(), 40);
    EXPECT_FALSE(c->TabStop());
    const QImage img = testutil::screenshot(&host, "mekwing_base");
    EXPECT_EQ(img.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(69, 49), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(70, 50), QColor(Qt::white));
}

TEST(MekWinG, RepaintRendersAFreshFrameAndCoversResizes)
{
    Host host;
    auto* c = new Counting(&host);
    c->SetBounds(0, 0, 30, 20);
    host.show();
    testutil::pump();
    const int before = c->frames;
    c->Repaint();
    EXPECT_EQ(c->frames, before + 1); // one frame per Repaint, copied without a second render
    EXPECT_EQ(c->Buffer().Image().pixelColor(5, 5), ToQColor(RGB(0, c->frames * 10 % 256, 255)));

    c->SetBounds(0, 0, 120, 90);
    c->Repaint();
    const QImage img = c->grab().toImage();
    const QColor want = ToQColor(RGB(0, c->frames * 10 % 256, 255));
    EXPECT_EQ(img.pixelColor(119, 89), want);
    EXPECT_EQ(img.pixelColor(0, 0), want);

    // The paint cycle renders anew as well: covering and uncovering the
    // window shows a fresh picture, never a stale one.
    const int n = c->frames;
    c->update();
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->frames > n; }, 30000));
}

TEST(MekWinG, ZeroSizeAndErrorsAreHarmless)
{
    Host host;
    auto* c = new Counting(&host);
    host.show();
    c->SetBounds(0, 0, 0, 0);
    EXPECT_NO_THROW(c->Repaint());
    EXPECT_EQ(c->frames, 0);

    c->SetBounds(0, 0, 20, 20);
    c->throwNext = true;
    EXPECT_THROW(c->Repaint(), std::runtime_error);
    // The next frame renders and shows normally.
    c->Repaint();
    const QColor shown = at(c, 3, 3);
    EXPECT_EQ(shown, ToQColor(RGB(0, c->frames * 10 % 256, 255)));
}
