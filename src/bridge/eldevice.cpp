#include "bridge/eldevice.h"

#include "bridge/benchgeometry.h"
#include "models/bridgemodel.h"
#include "controls/mekknob.h"
#include "controls/zonzoff.h"
#include "controls/zled.h"
#include "platform/numtext.h"

#include <QRegion>

namespace {

const char* const RangeError = "Сопротивление должно быть в диапазоне от 0.01 Ом до 10 МОм";

// Draws in the "Symbol" face, whose "W" shows as the ohm sign, and gives
// the canvas its previous face back.
void SymbolTextOut(TCanvas& c, int x, int y, const QString& s)
{
    const QString saved = c.Font.Name;
    c.Font.Name = "Symbol";
    c.TextOut(x, y, s);
    c.Font.Name = saved;
}

} // namespace

// ---------------------------------------------------------------- Rx

TElSampleResistor::TElSampleResistor(TElectricStand* stand) : TElAbstDevice(stand)
{
    SetUnitsWidth(30);
    SetUnitsHeight(20);
    SetHint("Резистор");
    m_resistance = 1.0;
}

void TElSampleResistor::SetResistance(double x)
{
    // The negated test also refuses NaN.
    if (!(x >= bridge::MinSampleResistance && x <= bridge::MaxSampleResistance))
        throw Exception(RangeError);
    m_resistance = x;
}

void TElSampleResistor::Paint()
{
    TElAbstDevice::Paint();
    TCanvas& c = *Canvas();
    const int H = ClientHeight();
    const int yc = H * 5 / 16, h1 = H / 6, h2 = h1 * 4 / 5;
    const int xl = UnitsToClientX(LeftTerminal().X), xr = UnitsToClientX(RightTerminal().X);
    const int yt = UnitsToClientY(LeftTerminal().Y);
    const int e = (xr - xl) / 12, m = ((xr - xl) - 2 * e) / 4;
    c.Pen = TPen();
    c.Pen.Width = 2;
    c.MoveTo(xl, yt);
    c.LineTo(xl, yc);
    c.LineTo(xr, yc);
    c.LineTo(xr, yt);
    c.Pen.Width = 1;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = 0x0000FF;
    c.Rectangle(xl + e + m, yc - h2, xr - e - m, yc + h2);
    c.Rectangle(xl + e, yc - h1, xl + e + m, yc + h1);
    c.Rectangle(xr - e - m, yc - h1, xr - e, yc + h1);
}

// ---------------------------------------------------------------- R0

TElResistorBattery6::TElResistorBattery6(TElectricStand* stand) : TElAbstDevice(stand)
{
    SetUnitsWidth(110);
    SetUnitsHeight(90);
    for (int i = 0; i < 6; ++i)
        CreateKnob();
    SetDeviceHint("Батарея сопротивлений");
    UpdateBounds();
}

void TElResistorBattery6::CreateKnob()
{
    auto* k = new TMekTransparentKnob(Stand());
    k->SetAngle1(90);
    k->SetAngle2(-90);
    k->SetNumPositions(10);
    for (int d = 9; d >= 0; --d)
        k->Labels().append(QString::number(d));
    k->SetPosition(9);
    // Bound only now, so that building the box fires no change.
    k->OnChange = [this](TObject*) { Change(); };
    k->show();
    m_knobs.push_back(k);
}

int TElResistorBattery6::KnobDigit(const TMekTransparentKnob* k)
{
    return 9 - k->Position();
}

double TElResistorBattery6::GetResistance() const
{
    int d[6];
    for (int i = 0; i < 6; ++i)
        d[i] = KnobDigit(m_knobs[size_t(i)]);
    return bridge::ResistanceBoxValue(d);
}

void TElResistorBattery6::SetDeviceHint(const QString& h)
{
    SetHint(h);
    for (auto* k : m_knobs)
        k->SetHint(h);
}

void TElResistorBattery6::SetDeviceHelpContext(int c)
{
    TElAbstDevice::SetDeviceHelpContext(c);
    for (auto* k : m_knobs)
        k->SetHelpContext(c);
}

void TElResistorBattery6::SetBounds(int left, int top, int width, int height)
{
    TElAbstDevice::SetBounds(left, top, width, height);
    const int cw = width * 4 / 13, ch = height * 2 / 5;
    const int cell = std::min(cw, ch);
    m_cellWidth = m_cellHeight = cell;
    m_gridLeft = left + (width - 3 * cell) / 2;
    m_gridTop = top + (height - 2 * cell) / 2;
    const int mx = cell / 20, my = cell / 20;
    for (size_t i = 0; i < m_knobs.size(); ++i) {
        const int col = int(i) % 3, row = int(i) / 3;
        m_knobs[i]->SetBounds(m_gridLeft + col * cell + mx, m_gridTop + row * cell + my, cell - 2 * mx, cell - 2 * my);
        m_knobs[i]->SetRadius(cell / 4);
    }
}

void TElResistorBattery6::Paint()
{
    TElAbstDevice::Paint();
    TCanvas& c = *Canvas();
    const double k = K();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font = Font();
    const QString title = "Магазин сопротивлений";
    c.TextOut((ClientWidth() - c.TextWidth(title)) / 2, ClientHeight() - 24, title);
    static const char* const decades[6] = {"x 10000", "x 1000", "x 100", "x 10", "x 1", "x 0.1"};
    const int cell = m_cellWidth;
    for (int i = 0; i < 6; ++i) {
        const int col = i % 3, row = i / 3;
        const QString s = decades[i];
        c.TextOut((cell - c.TextWidth(s)) / 2 + (m_gridLeft - Left()) + col * cell,
                  (m_gridTop - Top()) + (row + 1) * cell - 8, s);
    }
    c.Font.Style = fsBold;
    c.TextOut(ClientWidth() - Round(8 * k) - c.TextWidth("Р 33"), Round(3 * k), "Р 33");
    c.Font.Style = 0;
    c.TextOut(ClientWidth() - Round(8 * k) - c.TextWidth("Класс 0,2"), Round(3 * k) + 10, "Класс 0,2");
    const int uw = UnitsWidth();
    SymbolTextOut(c, Round(8 * k), Round(5 * k) - 6, "99999.9 W");
    SymbolTextOut(c, Round(((uw - 10) / 3.0 + 8) * k), Round(5 * k) - 6, "9.9 W");
    SymbolTextOut(c, Round(((2 * uw - 20) / 3.0 + 8) * k), Round(5 * k) - 6, "0.9 W");
    for (TPoint t : {Terminal1(), Terminal2(), Terminal3(), Terminal4()})
        DrawTerminal(t.X - UnitsLeft(), t.Y - UnitsTop());
}

// ---------------------------------------------------------------- R1, R2

TElResistor4Pos::TElResistor4Pos(TElectricStand* stand) : TElAbstDevice(stand)
{
    SetUnitsWidth(30);
    SetUnitsHeight(30);
    m_knob = new TMekTransparentKnob(stand);
    m_knob->SetAngle1(90);
    m_knob->SetAngle2(-45);
    m_knob->SetNumPositions(4);
    m_knob->Labels() << "1" << "10" << "100" << "1000";
    m_knob->SetPosition(0);
    m_knob->OnChange = [this](TObject*) { Change(); };
    m_knob->show();
    SetDeviceHint("Резистор на 4 положения");
    UpdateBounds();
}

double TElResistor4Pos::GetResistance() const
{
    return bridge::Resistor4PosValue(m_knob->Position());
}

void TElResistor4Pos::SetDeviceHint(const QString& h)
{
    SetHint(h);
    m_knob->SetHint(h);
}

void TElResistor4Pos::SetDeviceHelpContext(int c)
{
    TElAbstDevice::SetDeviceHelpContext(c);
    m_knob->SetHelpContext(c);
}

void TElResistor4Pos::SetBounds(int left, int top, int width, int height)
{
    TElAbstDevice::SetBounds(left, top, width, height);
    if (!m_knob)
        return;
    const int mx = Round(2 * Stand()->UnitScaleX()), my = Round(2 * Stand()->UnitScaleY());
    m_knob->SetBounds(left + mx, top + my, width - 2 * mx, height - 2 * my);
    m_knob->SetRadius(height / 5);
}

void TElResistor4Pos::Paint()
{
    TElAbstDevice::Paint();
    TCanvas& c = *Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font = Font();
    const QString saved = c.Font.Name;
    c.Font.Name = "Symbol";
    const int w = c.TextWidth("W");
    c.Font.Name = saved;
    SymbolTextOut(c, (ClientWidth() - w) / 2, ClientHeight() - Round(2 * K()) - 12, "W");
}

// ---------------------------------------------------------------- source

TElDCSource1::TElDCSource1(TElectricStand* stand) : TElAbstDevice(stand)
{
    SetUnitsWidth(50);
    SetUnitsHeight(30);
    SetHint("Источник постоянного тока");
    m_switch = new TzcLightOnOff(stand);
    m_switch->SetCaption("Вкл.");
    m_switch->SetHint("Выключатель источника питания");
    m_switch->OnClick = [this](TObject*) { SwitchClick(); };
    m_switch->SetTabStop(true);
    m_switch->show();
    m_lamp = new TzLed(stand);
    m_lamp->SetHint("Лампочка источника питания");
    m_lamp->show();
    m_voltage = 12.0;
    UpdateBounds();
}

void TElDCSource1::SwitchClick()
{
    m_isOn = m_switch->SwitchOn();
    m_lamp->SetEnabled(m_isOn);
    Change();
    Invalidate();
}

void TElDCSource1::SetIsOn(bool v)
{
    m_isOn = v;
    m_switch->SetSwitchOn(v);
    m_lamp->SetEnabled(v);
}

void TElDCSource1::SetVoltage(double v)
{
    m_voltage = v;
    Invalidate();
}

void TElDCSource1::SetDeviceHelpContext(int c)
{
    TElAbstDevice::SetDeviceHelpContext(c);
    m_switch->SetHelpContext(c);
}

void TElDCSource1::SetBounds(int left, int top, int width, int height)
{
    TElAbstDevice::SetBounds(left, top, width, height);
    if (m_switch) {
        const int k3 = Round(3 * Stand()->UnitScaleX());
        int sl = Stand()->UnitsToX(UnitsLeft() + 35), st = Stand()->UnitsToY(UnitsTop() + 10);
        const int sw = 28, sh = 56;
        if (st + sh > top + height - k3)
            st = top + height - k3 - sh;
        m_switch->SetBounds(sl, st, sw, sh);
    }
    if (m_lamp && m_switch) {
        const int lw = m_lamp->Width(), lh = m_lamp->Height();
        m_lamp->SetBounds(m_switch->Left() - lw * 3 / 2, m_switch->Top() + (m_switch->Height() - lh) / 2, lw, lh);
    }
}

void TElDCSource1::Paint()
{
    TElAbstDevice::Paint();
    TCanvas& c = *Canvas();
    const double k = K();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font = Font();
    c.TextOut(8, ClientHeight() - Round(2 * k) - 12, "Блок питания");
    if (m_isOn) {
        c.Font.Style = fsBold;
        c.TextOut(Round(8 * k) + 4, 10, "+");
        c.TextOut(Round((UnitsWidth() - 8) * k) - 4, 10, "—");
        const QString v = FloatToStr(m_voltage) + " В";
        c.TextOut((ClientWidth() - c.TextWidth(v)) / 2, 10, v);
        c.Font.Style = 0;
    }
}

// ---------------------------------------------------------------- wire

TElWire::TElWire(TElectricStand* stand) : TElAbstDevice(stand)
{
    SetUnitsLeft(0);
    SetUnitsTop(0);
    SetUnitsWidth(stand->UnitsWidth());
    SetUnitsHeight(stand->UnitsHeight());
    SetHint("Провод");
}

const TWirePoint& TElWire::Point(int i) const
{
    if (i < 0 || i >= PointCount())
        throw Exception(QString("List index out of bounds (%1)").arg(i));
    return m_points[size_t(i)];
}

TWirePoint& TElWire::Point(int i)
{
    return const_cast<TWirePoint&>(std::as_const(*this).Point(i));
}

void TElWire::AddPoint(int x, int y)
{
    m_points.push_back({x, y, false});
    UpdateMask();
}

void TElWire::HorzTo(int x)
{
    AddPoint(x, Point(PointCount() - 1).Y);
}

void TElWire::VertTo(int y)
{
    AddPoint(Point(PointCount() - 1).X, y);
}

void TElWire::MarkJoint()
{
    Point(PointCount() - 1).Joint = true;
    UpdateMask();
}

int TElWire::HitTest(TPoint p)
{
    std::vector<bridge::PixelPoint> px;
    px.reserve(m_points.size());
    for (const TWirePoint& w : m_points)
        px.push_back({UnitsToClientX(w.X), UnitsToClientY(w.Y)});
    return bridge::WireHit(px, PenWidth, p.X, p.Y) ? 1 : 0;
}

void TElWire::SetBounds(int left, int top, int width, int height)
{
    TElAbstDevice::SetBounds(left, top, width, height);
    UpdateMask();
}

// The wire spans the whole bench; the window system routes the mouse past
// it everywhere except near its lines (and dots, which it must paint).
void TElWire::UpdateMask()
{
    QRegion r;
    const int pw = PenWidth;
    for (int i = 0; i < PointCount(); ++i) {
        const int x = UnitsToClientX(m_points[size_t(i)].X), y = UnitsToClientY(m_points[size_t(i)].Y);
        if (i > 0) {
            const int px = UnitsToClientX(m_points[size_t(i) - 1].X), py = UnitsToClientY(m_points[size_t(i) - 1].Y);
            const int l = std::min(px, x) - pw, t = std::min(py, y) - pw;
            r += QRect(l, t, std::max(px, x) + pw - l, std::max(py, y) + pw - t);
        }
        // The ends may carry terminal dots, set after the points.
        const bool dot = i == 0 || i == PointCount() - 1;
        const int rad = dot ? 3 * pw + 1 : (m_points[size_t(i)].Joint ? pw + 1 : 0);
        if (rad > 0)
            r += QRect(x - rad, y - rad, 2 * rad + 1, 2 * rad + 1);
    }
    if (r.isEmpty())
        r = QRect(0, 0, 1, 1);
    setMask(r);
}

void TElWire::Paint()
{
    TCanvas& c = *Canvas();
    c.Pen = TPen();
    c.Pen.Color = WireColor;
    c.Pen.Width = PenWidth;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = 0xFFFFFF;
    const int pw = PenWidth;
    for (int i = 0; i < PointCount(); ++i) {
        const int x = UnitsToClientX(m_points[size_t(i)].X), y = UnitsToClientY(m_points[size_t(i)].Y);
        if (m_points[size_t(i)].Joint)
            c.Ellipse(x - pw, y - pw, x + pw, y + pw);
        if (i == 0)
            c.MoveTo(x, y);
        else
            c.LineTo(x, y);
    }
    if (PointCount() == 0)
        return;
    auto dot = [&](const TWirePoint& p) {
        const int x = UnitsToClientX(p.X), y = UnitsToClientY(p.Y), r = 3 * pw;
        c.Ellipse(x - r, y - r, x + r, y + r);
    };
    if (StartDot)
        dot(m_points.front());
    if (EndDot)
        dot(m_points.back());
}
