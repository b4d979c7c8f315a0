#include "scope/arrangeingrid.h"
#include "scope/osctube.h"

#include "platform/registry.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

class MemStore : public tube::ShotSecsStore {
public:
    explicit MemStore(QVariant v = {}, int* writes = nullptr, double* written = nullptr)
        : m_v(std::move(v)), m_writes(writes), m_written(written) {}
    QVariant Read() override { return m_v; }
    void Write(double s) override
    {
        m_v = s;
        if (m_writes)
            ++*m_writes;
        if (m_written)
            *m_written = s;
    }

private:
    QVariant m_v;
    int* m_writes;
    double* m_written;
};

// A tube on a hand-driven clock.
struct Rig {
    double mono = 100.0;
    double tod = 5000.0;
    TVorlinoTube tube{std::make_unique<MemStore>()};
    QImage img{800, 400, QImage::Format_RGB32};
    QImage last;
    Rig()
    {
        tube.Monotonic = [this] { return mono; };
        tube.TimeOfDay = [this] { return tod; };
        tube.SetSize(800, 400);
        tube.Reset();
    }
    // A clipped painter takes the painter path.
    void Paint(bool clipped = false)
    {
        QPainter p(&img);
        if (clipped)
            p.setClipRect(QRect(0, 0, 800, 400));
        tube.Paint(p);
    }
    // As the window's timer does: the flight moves on, then is painted.
    void Advance(double s, bool clipped = false)
    {
        mono += s;
        tod += s;
        tube.Tick();
        Paint(clipped);
    }
};

} // namespace

TEST(ArrangeInGrid, WorkedExamples)
{
    int A = 0, B = 0, major[36], minor[36];
    ArrangeInGrid(0, A, B, major, minor);
    EXPECT_EQ(A, 1);
    EXPECT_EQ(B, 1);
    ArrangeInGrid(1, A, B, major, minor);
    EXPECT_EQ(A, 1);
    EXPECT_EQ(B, 1);
    ArrangeInGrid(2, A, B, major, minor);
    EXPECT_EQ(A, 2);
    EXPECT_EQ(B, 1);
    EXPECT_EQ(major[1], 1);
    EXPECT_EQ(minor[1], 0);
    ArrangeInGrid(3, A, B, major, minor);
    EXPECT_EQ(A, 2);
    EXPECT_EQ(B, 2);
    EXPECT_EQ(major[2], 1);
    EXPECT_EQ(minor[2], 0);
    ArrangeInGrid(36, A, B, major, minor);
    EXPECT_EQ(A, 6);
    EXPECT_EQ(B, 6);
    EXPECT_EQ(major[35], 5);
    EXPECT_EQ(minor[35], 5);
}

TEST(VorlinoTube, ScreenMappingAndRegions)
{
    TVorlinoTube tube(std::make_unique<MemStore>());
    tube.SetSize(800, 400);
    // W 800, H 400: B1 560, S 680, hw 90, k0 100, k1 133, m 116.5, q -16.5.
    EXPECT_EQ(tube.ScreenPoint(0, 0), QPoint(680, 200));
    EXPECT_EQ(tube.ScreenPoint(1, 1), QPoint(590, 100));   // left edge, half-height k0
    EXPECT_EQ(tube.ScreenPoint(-1, 1), QPoint(770, 67));   // right edge, half-height k1
    EXPECT_EQ(tube.ScreenPoint(-1, -1), QPoint(770, 333));

    EXPECT_EQ(tube.RegionAt(QPoint(680, 200)), 12);  // screen
    EXPECT_EQ(tube.RegionAt(QPoint(5, 5)), 0);       // outside the tube
    EXPECT_EQ(tube.RegionAt(QPoint(500, 200)), 1);   // inside the bulb, no part
    // L0 20, K 80, U 30, n 50: heater (20,188)-(50,212), cathode (50,184)-(80,216).
    EXPECT_EQ(tube.RegionAt(QPoint(30, 200)), 2);
    EXPECT_EQ(tube.RegionAt(QPoint(60, 200)), 3);
    // p = 20, XV 280, r 66, s 33, g = (280-33-16-80) div 10 = 15: modulator x 88..102.
    EXPECT_EQ(tube.RegionAt(QPoint(90, 200 - 30)), 4);
    EXPECT_EQ(tube.RegionAt(QPoint(80 + 60, 200 - 30)), 5);
    EXPECT_EQ(tube.RegionAt(QPoint(80 + 120, 200 - 30)), 6);
    // Plates (d = s = 33): lower vertical at rows 200..232 by XV, upper 33 above.
    EXPECT_EQ(tube.RegionAt(QPoint(280, 221)), 8);
    EXPECT_EQ(tube.RegionAt(QPoint(280, 180)), 9);
    // XH 400: rear horizontal plate up and right of the front one.
    EXPECT_EQ(tube.RegionAt(QPoint(360, 230)), 11);
    EXPECT_EQ(tube.RegionAt(QPoint(420, 160)), 10);
    EXPECT_EQ(tube.RegionAt(QPoint(500, 90)), 7);
    EXPECT_EQ(tube.RegionAt(QPoint(680, 300)), 12);
    // The regions follow a resize.
    tube.SetSize(400, 200);
    EXPECT_EQ(tube.RegionAt(QPoint(680, 200)), 0);
    EXPECT_EQ(tube.RegionAt(tube.ScreenPoint(0, 0)), 12);
    tube.FreeRegions();
    EXPECT_EQ(tube.RegionAt(tube.ScreenPoint(0, 0)), 0);
}

TEST(VorlinoTube, ShotSecsFromTheStore)
{
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant()), 0.4);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(QString("abc"))), 0.4);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(QString("inf"))), 0.4);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(std::numeric_limits<double>::quiet_NaN())), 0.4);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(0.01)), 0.05);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(-3.0)), 0.05);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(QString("0.25"))), 0.25);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(1.5)), 1.5);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(QString("10"))), 10.0);
    EXPECT_DOUBLE_EQ(ShotSecsFromStored(QVariant(QString("1e308"))), 0.4);

    TVorlinoTube bad(std::make_unique<MemStore>(QVariant(QString("garbage"))));
    EXPECT_DOUBLE_EQ(bad.GetShotSecs(), 0.4);

    int writes = 0;
    double written = 0;
    TVorlinoTube tube(std::make_unique<MemStore>(QVariant(0.2), &writes, &written));
    EXPECT_DOUBLE_EQ(tube.GetShotSecs(), 0.2);
    tube.SetShotSecs(0.0);
    EXPECT_DOUBLE_EQ(tube.GetShotSecs(), 0.05);
    EXPECT_EQ(writes, 1);
    EXPECT_DOUBLE_EQ(written, 0.05);
    tube.SetShotSecs(std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(tube.GetShotSecs(), 0.05);
    EXPECT_EQ(writes, 1);
}

TEST(VorlinoTube, SettingsStoreRoundTrip)
{
    {
        TVorlinoTube tube;
        tube.SetShotSecs(0.7);
    }
    TVorlinoTube again;
    EXPECT_DOUBLE_EQ(again.GetShotSecs(), 0.7);

    // A value that is not a number gives the default, not a failed view.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\A51370\\Vexorin\\Vorlinograph", true));
    EXPECT_EQ(reg.ReadString("ShotSecs"), "0.7");
    reg.WriteString("ShotSecs", "quick");
    TVorlinoTube garbled;
    EXPECT_DOUBLE_EQ(garbled.GetShotSecs(), 0.4);
    reg.WriteString("ShotSecs", "0.001");
    TVorlinoTube tiny;
    EXPECT_DOUBLE_EQ(tiny.GetShotSecs(), 0.05);
    tiny.SetShotSecs(0.4);
}

TEST(VorlinoTube, FlightOfElectrons)
{
    Rig r;
    r.Paint();
    EXPECT_EQ(r.tube.Steps(), 0);
    for (int i = 0; i < TVorlinoTube::SlotCount; ++i)
        EXPECT_FALSE(r.tube.Alive(i));

    // Manual source of zero deflection: the beam runs along the axis.
    r.tube.OnDeflection = [](double& X, double& Y, double, bool& vis) { X = 0; Y = 0; vis = true; };
    r.Advance(0.4 * 5 + 0.01); // a pause of five intervals is caught up at once
    EXPECT_EQ(r.tube.Steps(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(r.tube.Alive(i)) << i;
    EXPECT_FALSE(r.tube.Alive(5));
    for (int k = 0; k < 30; ++k)
        r.Advance(0.4);
    EXPECT_TRUE(r.tube.TrailHit(0));
    EXPECT_EQ(r.tube.TrailPoint(0), r.tube.ScreenPoint(0, 0));
    EXPECT_EQ(r.tube.GetElapsed(), r.mono - 100.0);
    // The afterglow lies in the background, newest spot brightest.
    const QPoint spot = r.tube.ScreenPoint(0, 0);
    EXPECT_EQ(r.tube.Background().pixel(spot) & 0xFFFFFF, 0x00FF00u);
}

TEST(VorlinoTube, PaintingMovesNothing)
{
    // An expose or a second window's paint between two ticks shows the same
    // frame again: only the timer moves the electrons on.
    Rig r;
    r.tube.OnDeflection = [](double& x, double& y, double t, bool&) { x = std::sin(t) * 0.7; y = 0.5; };
    r.Advance(0.4 * 35 + 0.1);
    const QImage frame = r.img.copy();
    const auto steps = r.tube.Steps();
    r.mono += 3.0;
    r.tod += 3.0;
    r.Paint();
    r.Paint();
    EXPECT_EQ(r.tube.Steps(), steps);
    EXPECT_EQ(r.tube.FrameCount(), 1);
    EXPECT_EQ(r.img, frame);
}

TEST(VorlinoTube, LongPauseCatchUpIsBoundedAndGivesTheSamePicture)
{
    auto run = [](double pause) {
        auto r = std::make_unique<Rig>();
        r->tube.OnDeflection = [](double& x, double& y, double t, bool&) {
            x = std::sin(t) * 0.5;
            y = std::cos(t) * 0.5;
        };
        r->Advance(3.0);
        r->mono += pause;
        r->tod = 5003.0; // the same time of day passed to the source
        r->tube.Tick();
        r->Paint();
        return r;
    };
    auto shortPause = run(0.4 * 300);
    auto longPause = run(0.4 * 3e6);
    EXPECT_EQ(longPause->tube.Steps() - shortPause->tube.Steps(), 3e6 - 300);
    EXPECT_EQ(shortPause->img, longPause->img);
}

TEST(VorlinoTube, ChargesAreCappedAt36AndPlacedMultiplyingFirst)
{
    TVorlinoTube tube(std::make_unique<MemStore>());
    QImage img(1000, 600, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const QPoint quad[4] = {QPoint(10, 190), QPoint(10, 10), QPoint(190, 10), QPoint(190, 190)};
    tube.DrawCharges(p, quad, 40, true);
    // The lower vertical plate at 1000 x 600, full of negative charges: the
    // last disc's centre is 284 + Trunc(5.5 · 82 / 6 + 5.5 · 50 / 6) = 405.
    const QPoint plate[4] = {QPoint(284, 350), QPoint(334, 300), QPoint(416, 300), QPoint(366, 350)};
    tube.DrawCharges(p, plate, 36, true);
    p.end();
    // Six by six discs: centres at 10 + (k + 0.5) * 30.
    int blue = 0;
    for (int a = 0; a < 6; ++a)
        for (int b = 0; b < 6; ++b) {
            const QRgb c = img.pixel(10 + int((a + 0.5) * 30), 190 - int((b + 0.5) * 30) - 3) & 0xFFFFFF;
            blue += c == 0x0000FFu;
        }
    EXPECT_EQ(blue, 36);
    // The last disc's minus sign runs from x - 2 to x + 1 on its row, 350 - 45.
    auto white = [&](int x) { return (img.pixel(x, 305) & 0xFFFFFF) == 0xFFFFFFu; };
    EXPECT_EQ(img.pixel(402, 305) & 0xFFFFFF, 0x0000FFu);
    for (int x = 403; x <= 406; ++x)
        EXPECT_TRUE(white(x)) << x;
    EXPECT_EQ(img.pixel(407, 305) & 0xFFFFFF, 0x0000FFu);
}

TEST(VorlinoTube, FramesDrawnOverTheLastOneEqualFreshFrames)
{
    // One tube paints every frame over its previous one, the other into a
    // new image each time through the painter: the pictures must not
    // differ, at ratio 2 either, where the background is put back in blocks.
    for (int ratio : {1, 2}) {
        Rig kept, fresh;
        auto source = [](double& x, double& y, double t, bool&) {
            x = std::sin(t * 3) * 0.9;
            y = std::cos(t * 2) * 1.2;
        };
        kept.tube.OnDeflection = source;
        fresh.tube.OnDeflection = source;
        kept.img = QImage(800 * ratio, 400 * ratio, QImage::Format_RGB32);
        kept.img.setDevicePixelRatio(ratio);
        for (int frame = 0; frame < 300; ++frame) {
            kept.Advance(0.13);
            fresh.img = QImage(kept.img.size(), QImage::Format_RGB32);
            fresh.img.setDevicePixelRatio(ratio);
            fresh.img.fill(Qt::red);
            fresh.Advance(0.13, true);
            if (frame % 37 == 0 || frame == 299) {
                ASSERT_EQ(kept.img, fresh.img) << frame << " at ratio " << ratio;
            }
            // Outside what the tube says changed, the frame is the one before.
            const auto changed = kept.tube.TakeChange();
            ASSERT_TRUE(frame == 0 || changed);
            if (frame % 7 == 3) {
                int area = 0;
                for (const QRect& r : *changed)
                    area += r.width() * r.height();
                EXPECT_LT(area, 800 * 400 / 2) << frame;
                for (int y = 0; y < 400; y += 2)
                    for (int x = 0; x < 800; x += 2)
                        if (!changed->contains(QPoint(x, y))) {
                            ASSERT_EQ(kept.img.pixel(x * ratio, y * ratio), kept.last.pixel(x * ratio, y * ratio));
                        }
            }
            kept.last = kept.img.copy();
        }
        if (ratio == 1) {
            kept.tube.SetSize(600, 300);
            fresh.tube.SetSize(600, 300);
            kept.img = kept.img.copy(0, 0, 600, 300);
            fresh.img = QImage(600, 300, QImage::Format_RGB32);
            kept.Advance(0.13);
            fresh.Advance(0.13);
            EXPECT_EQ(kept.img, fresh.img);
        }
    }
}

TEST(VorlinoTube, ZeroSizeDrawsNothingAndFailsNothing)
{
    Rig r;
    r.tube.OnDeflection = [](double& x, double& y, double, bool&) { x = 0.5; y = -0.5; };
    r.tube.SetSize(0, 0);
    r.Advance(0.4 * 40);
    r.tube.SetSize(3, 2);
    r.Advance(0.4 * 40);
    r.tube.SetSize(800, 400);
    r.Advance(0.4 * 40);
    EXPECT_TRUE(r.tube.TrailHit(0));
}
