#include "bridge/dblonoff.h"
#include "bridge/eldevice.h"
#include "bridge/elgalvan.h"
#include "bridge/elscale.h"
#include "controls/mekknob.h"
#include "controls/zonzoff.h"
#include "controls/zled.h"
#include "platform/clock.h"
#include "support/testutil.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// A bench of 230 x 150 units at the factor k, shown in a host window.
struct Bench {
    explicit Bench(int k = 2)
    {
        host.resize(230 * k + 4, 150 * k + 4);
        stand = new TElectricStand(&host);
        stand->SetUnitsWidth(230);
        stand->SetUnitsHeight(150);
        stand->SetBounds(0, 0, 230 * k + 4, 150 * k + 4);
        host.show();
    }
    QWidget host;
    TElectricStand* stand;
};

} // namespace

TEST(DblOnOff, SizesGeometryAndRegions)
{
    QWidget host;
    auto* sw = new TzcDblOnOff(&host);
    EXPECT_EQ(sw->Width(), 45);
    EXPECT_EQ(sw->Height(), 70);
    sw->SetBounds(0, 0, 20, 20);
    EXPECT_EQ(sw->Width(), 38);
    EXPECT_EQ(sw->Height(), 59);
    const TDblOnOffGeometry g = sw->Geometry();
    EXPECT_EQ(g.boxLeft, 0);
    EXPECT_EQ(g.boxTop, 0);
    EXPECT_EQ(g.boxWidth, 37);
    EXPECT_EQ(g.boxHeight, 58);
    EXPECT_EQ(g.upper(), TRect(8, 5, 29, 26));
    EXPECT_EQ(g.lower(), TRect(8, 31, 29, 52));
    sw->SetSize(3);
    EXPECT_EQ(sw->Width(), 74);
    EXPECT_EQ(sw->Height(), 107);
}

TEST(DblOnOff, OnlyTheRaisedButtonSwitches)
{
    QWidget host;
    host.resize(100, 100);
    auto* sw = new TzcDblOnOff(&host);
    sw->SetBounds(0, 0, 38, 59);
    host.show();
    int clicks = 0;
    sw->OnClick = [&](TObject*) { ++clicks; };
    // Off: the upper (ON) button stands out at (5,2)-(26,23).
    testutil::clickAt(&host, QPoint(12, 38));  // the pressed lower one
    EXPECT_FALSE(sw->SwitchOn());
    testutil::clickAt(&host, QPoint(15, 12));
    EXPECT_TRUE(sw->SwitchOn());
    EXPECT_EQ(clicks, 1);
    testutil::clickAt(&host, QPoint(15, 12));  // now pressed in: nothing
    EXPECT_TRUE(sw->SwitchOn());
    testutil::clickAt(&host, QPoint(15, 38));
    EXPECT_FALSE(sw->SwitchOn());
    EXPECT_EQ(clicks, 2);
    testutil::screenshot(sw, "bridge_dblonoff_off");
}

TEST(BridgeDevices, ResistanceBoxKnobsAndLayout)
{
    Bench b(2);
    auto* box = new TElResistorBattery6(b.stand);
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(box->GetResistance(), 0.0);
    EXPECT_EQ(changes, 0);  // building fires nothing
    box->Knob(0)->SetPosition(6);  // label "3" on x10000
    EXPECT_EQ(box->GetResistance(), 30000.0);
    EXPECT_EQ(changes, 1);
    for (int i = 0; i < 6; ++i)
        box->Knob(i)->SetPosition(0);
    EXPECT_NEAR(box->GetResistance(), 99999.9, 1e-9);

    // 110 x 90 units at k = 2: cells of 67, grid 201 x 134 at (+9, +23).
    EXPECT_EQ(box->CellWidth(), 67);
    EXPECT_EQ(box->CellHeight(), 67);
    EXPECT_EQ(box->GridLeft() - box->Left(), 9);
    EXPECT_EQ(box->GridTop() - box->Top(), 23);
    EXPECT_EQ(box->Knob(0)->Width(), 61);
    EXPECT_EQ(box->Knob(0)->Left() - box->GridLeft(), 3);
    EXPECT_EQ(box->Knob(0)->Radius(), 16);
    EXPECT_EQ(box->Knob(4)->Left(), box->GridLeft() + 67 + 3);
    EXPECT_EQ(box->Knob(4)->Top(), box->GridTop() + 67 + 3);
    EXPECT_EQ(box->Terminal2().X, 33 + 5);
    EXPECT_EQ(box->Terminal3().X, 66 + 5);
}

TEST(BridgeDevices, RatioResistorAndSampleResistor)
{
    Bench b(2);
    auto* r = new TElResistor4Pos(b.stand);
    EXPECT_EQ(r->GetResistance(), 1.0);
    r->Knob()->SetPosition(3);
    EXPECT_EQ(r->GetResistance(), 1000.0);

    auto* rx = new TElSampleResistor(b.stand);
    EXPECT_EQ(rx->Resistance(), 1.0);
    rx->SetResistance(0.01);
    rx->SetResistance(1e7);
    EXPECT_EQ(rx->Resistance(), 1e7);
    EXPECT_THROW(rx->SetResistance(0.00999), Exception);
    EXPECT_THROW(rx->SetResistance(10000001), Exception);
    EXPECT_THROW(rx->SetResistance(std::nan("")), Exception);
    EXPECT_EQ(rx->Resistance(), 1e7);
    try {
        rx->SetResistance(0.001);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Сопротивление должно быть в диапазоне от 0.01 Ом до 10 МОм");
    }
}

TEST(BridgeDevices, SourceSwitchLampAndMarks)
{
    Bench b(2);
    auto* src = new TElDCSource1(b.stand);
    src->SetVoltage(9.0);
    int changes = 0;
    src->OnChange = [&](TObject*) { ++changes; };
    src->SetIsOn(true);  // directly: no change event
    EXPECT_TRUE(src->PowerSwitch()->SwitchOn());
    EXPECT_TRUE(src->Lamp()->Enabled());
    EXPECT_EQ(changes, 0);
    src->SetIsOn(false);
    EXPECT_FALSE(src->Lamp()->Enabled());
    // The lamp stands left of the switch, centred on it.
    EXPECT_LT(src->Lamp()->Left() + src->Lamp()->Width(), src->PowerSwitch()->Left() + 1);
}

TEST(BridgeDevices, WireCoversTheBenchAndIsHitNearItsLines)
{
    Bench b(2);
    auto* w = new TElWire(b.stand);
    EXPECT_EQ(w->UnitsWidth(), 230);
    EXPECT_EQ(w->UnitsHeight(), 150);
    w->AddPoint(50, 10);
    EXPECT_EQ(w->HitTest(TPoint(100, 20)), 0);  // one point: never hit
    w->VertTo(100);
    w->MarkJoint();
    w->HorzTo(150);
    EXPECT_EQ(w->PointCount(), 3);
    EXPECT_EQ(w->Point(1).X, 50);
    EXPECT_EQ(w->Point(1).Y, 100);
    EXPECT_TRUE(w->Point(1).Joint);
    EXPECT_THROW(w->Point(3), Exception);
    const int x = b.stand->UnitsToX(50) - w->Left();
    EXPECT_EQ(w->HitTest(TPoint(x, 100)), 1);
    EXPECT_EQ(w->HitTest(TPoint(x + 1, 100)), 1);
    EXPECT_EQ(w->HitTest(TPoint(x + 2, 100)), 0);
    EXPECT_EQ(w->HitTest(TPoint(x - 2, 100)), 1);
    EXPECT_EQ(w->HitTest(TPoint(x - 3, 100)), 0);
    // The bench finds what lies under the wire away from its lines.
    EXPECT_EQ(b.stand->ControlAtPos(TPoint(x + 40, 60)), nullptr);
    EXPECT_EQ(b.stand->ControlAtPos(TPoint(x + w->Left(), 100)), w);
}

TEST(BridgeDevices, GalvanometerRangesAndLayout)
{
    Bench b(4);
    auto* g = new TElGalvanometer(b.stand);
    g->SetUnitsLeft(50);
    g->SetUnitsTop(10);
    EXPECT_EQ(g->Width(), 200);
    EXPECT_EQ(g->Height(), 320);
    EXPECT_EQ(g->Scale()->Left() - g->Left(), 15);
    EXPECT_EQ(g->Scale()->Top() - g->Top(), 35);
    EXPECT_EQ(g->Scale()->Width(), 169);
    EXPECT_EQ(g->Scale()->Height(), 179);
    EXPECT_EQ(g->RangeSwitch()->Left() - g->Left(), 7);
    EXPECT_EQ(g->RangeSwitch()->Top() - g->Top(), 254);
    EXPECT_EQ(g->RangeSwitch()->Width(), 38);
    EXPECT_EQ(g->RangeSwitch()->Height(), 59);
    EXPECT_EQ(g->LeftTerminal(), TPoint(55, 15));
    EXPECT_EQ(g->RightTerminal(), TPoint(95, 15));
    EXPECT_EQ(g->GetResistance(), 4000.0);

    EXPECT_FALSE(g->Roughly());
    EXPECT_DOUBLE_EQ(g->Scale()->Value(), 0.5);
    g->SetCurrent(1e-6);
    EXPECT_DOUBLE_EQ(g->Scale()->Value(), 0.75);
    g->SetRoughly(true);
    g->SetCurrent(0.0002);
    EXPECT_DOUBLE_EQ(g->Scale()->Value(), 1.0);
    g->SetCurrent(-0.0002);
    EXPECT_DOUBLE_EQ(g->Scale()->Value(), 0.0);

    g->SetDeviceHelpContext(13010);
    EXPECT_EQ(g->Scale()->HelpContext(), 13010);
    EXPECT_EQ(g->RangeSwitch()->HelpContext(), 13010);
    EXPECT_EQ(g->Scale()->Hint(), "Гальванометр");
}
