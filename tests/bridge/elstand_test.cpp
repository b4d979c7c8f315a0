#include "bridge/bridgetext.h"
#include "bridge/elstand.h"
#include "support/testutil.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Counts the ticks a device receives, in order across devices.
struct ProbeDevice : TElAbstDevice {
    ProbeDevice(TElectricStand* s, std::vector<int>* log, int id) : TElAbstDevice(s), log(log), id(id) {}
    void Tick() override { log->push_back(id); }
    std::vector<int>* log;
    int id;
};

} // namespace

TEST(ElectricStand, FactorWorkAreaAndDeviceBounds)
{
    QWidget host;
    host.resize(1200, 800);
    host.show();
    TElectricStand stand(&host);
    stand.show();
    EXPECT_EQ(stand.UnitScaleX(), 0.0);
    stand.SetBounds(0, 0, 104, 104);
    EXPECT_DOUBLE_EQ(stand.UnitScaleX(), 1.0);
    EXPECT_EQ(stand.WorkArea(), TRect(2, 2, 102, 102));

    stand.SetUnitsWidth(230);
    stand.SetUnitsHeight(150);
    stand.SetBounds(0, 0, 500, 304);
    EXPECT_DOUBLE_EQ(stand.UnitScaleX(), 2.0);
    EXPECT_DOUBLE_EQ(stand.UnitScaleY(), 2.0);
    EXPECT_EQ(stand.WorkArea(), TRect(20, 2, 480, 302));
    EXPECT_EQ(stand.UnitsToX(0), 20);

    auto* d = new TElAbstDevice(&stand);
    d->SetUnitsLeft(50);
    d->SetUnitsTop(10);
    d->SetUnitsWidth(50);
    d->SetUnitsHeight(80);
    EXPECT_EQ(d->BoundsRect(), Bounds(120, 22, 100, 160));
    EXPECT_EQ(d->UnitsToClientX(d->UnitsLeft()), 0);
    EXPECT_EQ(d->UnitsToClientY(d->UnitsTop()), 0);
    EXPECT_EQ(d->Hint(), "Неизвестное устройство");

    // A resize through the window system (alignment) lays out again.
    stand.resize(1000, 604);
    EXPECT_DOUBLE_EQ(stand.UnitScaleX(), 4.0);
    EXPECT_EQ(d->BoundsRect(), Bounds(40 + 200, 2 + 40, 200, 320));

    // Tiny or empty sizes give a zero factor and zero-size devices.
    stand.resize(0, 0);
    EXPECT_EQ(stand.UnitScaleX(), 0.0);
    EXPECT_EQ(d->Width(), 0);
    stand.resize(3, 3);
    EXPECT_EQ(stand.UnitScaleX(), 0.0);
}

TEST(ElectricStand, LabelsTicksAndChangeChain)
{
    TElectricStand stand(nullptr);
    stand.SetBounds(0, 0, 500, 304);
    TElLabel* l = stand.AddLabel(15, 5, "Rx");
    EXPECT_EQ(l->UnitsLeft(), 10);
    EXPECT_EQ(l->UnitsTop(), 0);
    EXPECT_EQ(l->UnitsWidth(), 10);
    EXPECT_EQ(l->Caption(), "Rx");
    EXPECT_EQ(stand.DeviceCount(), 1);

    std::vector<int> log;
    stand.TickDevices();
    new ProbeDevice(&stand, &log, 1);
    new ProbeDevice(&stand, &log, 2);
    stand.TickDevices();
    EXPECT_EQ(log, (std::vector<int>{1, 2}));

    std::vector<QString> events;
    stand.OnChange = [&](TObject* s) { events.push_back(s == &stand ? "change" : "?"); };
    stand.OnInitValues = [&](TObject* s) { events.push_back(s == &stand ? "init" : "?"); };
    auto* d = stand.GetDevice(1);
    d->Change();  // no OnChange of its own: the bench still fires both
    EXPECT_EQ(events, (std::vector<QString>{"change", "init"}));
    events.clear();
    d->OnChange = [&](TObject* s) { events.push_back(s == d ? "device" : "?"); };
    d->Change();
    EXPECT_EQ(events, (std::vector<QString>{"device", "change", "init"}));
}

TEST(ElectricStand, PaintsGreyMarginSilverWorkAreaAndGrid)
{
    TElectricStand stand(nullptr);
    stand.SetUnitsWidth(230);
    stand.SetUnitsHeight(150);
    stand.SetBounds(0, 0, 500, 304);
    stand.SetShowGrid(true);
    auto* d = new TElAbstDevice(&stand);
    d->SetUnitsLeft(50);
    d->SetUnitsTop(10);
    d->SetUnitsWidth(50);
    d->SetUnitsHeight(80);
    stand.show();
    QImage img = testutil::screenshot(&stand, "bridge_stand_grid");
    EXPECT_EQ(img.pixelColor(5, 150), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixelColor(25, 150), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(img.pixelColor(20, 150), QColor(0xFF, 0xFF, 0x00));   // grid line at u = 0
    EXPECT_EQ(img.pixelColor(480, 150), QColor(0xFF, 0xFF, 0x00));  // u = 230 (24th line)
    // The device face: a raised frame (white top-left) round silver.
    EXPECT_EQ(img.pixelColor(121, 100), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(img.pixelColor(218, 100), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixelColor(170, 100), QColor(0xC0, 0xC0, 0xC0));
}

TEST(BridgeText, StatusLineWithTheSourceOnAndOff)
{
    EXPECT_EQ(bridge::StatusText(10, 100, 1234.5, false, 9), "R1=10 Ом.   R2=100 Ом.   R0=1234.5 Ом.   ");
    EXPECT_EQ(bridge::StatusText(10, 100, 1234.5, true, 9), "R1=10 Ом.   R2=100 Ом.   R0=1234.5 Ом.   U=9 В.   ");
    // The box's sum of decades prints without binary noise.
    EXPECT_EQ(bridge::StatusText(1, 1, 0.1 * 3 + 0.0, false, 9), "R1=1 Ом.   R2=1 Ом.   R0=0.3 Ом.   ");
}

TEST(BridgeText, TeacherTableHasEveryVariant)
{
    const QStringList lines = bridge::VariantTableText().split("\n");
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines[0], "Вариант     Rx, Ом");
    EXPECT_EQ(lines[55], "55\t      97.8");
    EXPECT_EQ(lines[79], "79\t   10138.8");
    EXPECT_EQ(lines[1], "1\t     265.9");
    EXPECT_EQ(lines[100], "100\t     173.5");
}

TEST(BridgeText, TeacherTableUsesTheUsersDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QStringList lines = bridge::VariantTableText().split("\n");
    const QString status = bridge::StatusText(10, 100, 1234.5, true, 9);
    EXPECT_EQ(lines[55], "55\t      97,8");
    EXPECT_EQ(status, "R1=10 Ом.   R2=100 Ом.   R0=1234,5 Ом.   U=9 В.   ");
}

namespace {
// Covers the whole bench but answers the hit test only in its left half.
struct HalfHit : TElAbstDevice {
    explicit HalfHit(TElectricStand* s) : TElAbstDevice(s) {}
    int HitTest(TPoint p) override { return p.X < Width() / 2 ? 1 : 0; }
};
} // namespace

TEST(ElectricStand, ControlSearchLooksPastWhatDoesNotAnswer)
{
    TElectricStand stand(nullptr);
    stand.SetBounds(0, 0, 104, 104);
    auto* below = new TElAbstDevice(&stand);
    below->SetUnitsLeft(60);
    below->SetUnitsWidth(20);
    below->SetUnitsTop(40);
    auto* cover = new HalfHit(&stand);
    cover->SetUnitsWidth(100);
    cover->SetUnitsHeight(100);
    EXPECT_EQ(stand.ControlAtPos(TPoint(70, 45)), below);
    EXPECT_EQ(stand.ControlAtPos(TPoint(20, 45)), cover);
    EXPECT_EQ(stand.ControlAtPos(TPoint(90, 90)), nullptr);
}
