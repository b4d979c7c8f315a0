#include "bridge/elstand.h"

#include "bridge/benchgeometry.h"
#include "platform/stdctrls.h"

#include <algorithm>

// ---------------------------------------------------------------- bench

TElectricStand::TElectricStand(QWidget* owner) : TCustomControl(owner) {}

TElectricStand::~TElectricStand()
{
    // Devices go first, while the bench they report to is still whole;
    // each takes itself off the list.
    const std::vector<TElAbstDevice*> devices = m_devices;
    for (auto it = devices.rbegin(); it != devices.rend(); ++it)
        delete *it;
}

void TElectricStand::SetUnitsWidth(int v)
{
    m_unitsWidth = v;
    UpdateScale();
}

void TElectricStand::SetUnitsHeight(int v)
{
    m_unitsHeight = v;
    UpdateScale();
}

void TElectricStand::SetMmPerUnit(double v)
{
    m_mmPerUnit = v;
    UpdateScale();
}

void TElectricStand::SetShowGrid(bool v)
{
    m_showGrid = v;
    Invalidate();
}

void TElectricStand::SetGridStep(int v)
{
    m_gridStep = v;
    Invalidate();
}

void TElectricStand::SetBounds(int left, int top, int width, int height)
{
    TCustomControl::SetBounds(left, top, width, height);
    UpdateScale();
}

void TElectricStand::Resize()
{
    // Alignment resizes the bench without going through SetBounds.
    TCustomControl::Resize();
    UpdateScale();
}

void TElectricStand::UpdateScale()
{
    const TRect cr = ClientRect();
    const bridge::BenchLayout l = bridge::ComputeBenchLayout(cr.Width(), cr.Height(), m_unitsWidth, m_unitsHeight);
    m_unitScaleX = m_unitScaleY = l.scale;
    m_workArea = TRect(l.left, l.top, l.right, l.bottom);
    for (TElAbstDevice* d : m_devices)
        d->UpdateBounds();
    Invalidate();
}

int TElectricStand::UnitsToX(int u) const
{
    return Round(u * m_unitScaleX) + m_workArea.Left;
}

int TElectricStand::UnitsToY(int u) const
{
    return Round(u * m_unitScaleY) + m_workArea.Top;
}

void TElectricStand::TickDevices()
{
    for (size_t i = 0; i < m_devices.size(); ++i)
        m_devices[i]->Tick();
}

void TElectricStand::DoChange()
{
    if (OnChange)
        OnChange(this);
    if (OnInitValues)
        OnInitValues(this);
}

TElLabel* TElectricStand::AddLabel(int x, int y, const QString& caption)
{
    auto* l = new TElLabel(this);
    l->SetUnitsLeft(x - 5);
    l->SetUnitsTop(y - 5);
    l->SetCaption(caption);
    return l;
}

void TElectricStand::Paint()
{
    TCanvas& c = *Canvas();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = 0x808080;
    c.FillRect(ClientRect());
    c.Brush.Color = 0xC0C0C0;
    c.FillRect(m_workArea);
    // A step below 1 would never end the loops.
    if (m_showGrid && m_gridStep >= 1) {
        c.Pen = TPen();
        c.Pen.Color = 0x00FFFF;
        for (int u = 0; u <= m_unitsWidth; u += m_gridStep) {
            const int x = UnitsToX(u);
            c.MoveTo(x, m_workArea.Top);
            c.LineTo(x, m_workArea.Bottom);
        }
        for (int u = 0; u <= m_unitsHeight; u += m_gridStep) {
            const int y = UnitsToY(u);
            c.MoveTo(m_workArea.Left, y);
            c.LineTo(m_workArea.Right, y);
        }
    }
}

// ---------------------------------------------------------------- device

TElAbstDevice::TElAbstDevice(TElectricStand* stand) : TGraphicControl(stand), m_stand(stand)
{
    if (!stand)
        throw Exception("Invalid class typecast");
    stand->m_devices.push_back(this);
    UpdateBounds();
    SetHint("Неизвестное устройство");
    show();
}

TElAbstDevice::~TElAbstDevice()
{
    auto& list = m_stand->m_devices;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TElAbstDevice::SetUnitsLeft(int v)
{
    m_unitsLeft = v;
    UpdateBounds();
}

void TElAbstDevice::SetUnitsTop(int v)
{
    m_unitsTop = v;
    UpdateBounds();
}

void TElAbstDevice::SetUnitsWidth(int v)
{
    m_unitsWidth = v;
    UpdateBounds();
}

void TElAbstDevice::SetUnitsHeight(int v)
{
    m_unitsHeight = v;
    UpdateBounds();
}

void TElAbstDevice::UpdateBounds()
{
    const double kx = m_stand->UnitScaleX(), ky = m_stand->UnitScaleY();
    const TRect wa = m_stand->WorkArea();
    SetBounds(Round(m_unitsLeft * kx) + wa.Left, Round(m_unitsTop * ky) + wa.Top, Round(m_unitsWidth * kx),
              Round(m_unitsHeight * ky));
    m_stand->Invalidate();
}

int TElAbstDevice::UnitsToClientX(int u) const
{
    return m_stand->UnitsToX(u) - Left();
}

int TElAbstDevice::UnitsToClientY(int u) const
{
    return m_stand->UnitsToY(u) - Top();
}

void TElAbstDevice::Change()
{
    if (OnChange)
        OnChange(this);
    m_stand->DoChange();
}

void TElAbstDevice::Paint()
{
    TCanvas& c = *Canvas();
    const TColor saved = c.Brush.Color;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = 0xC0C0C0;
    c.FillRect(ClientRect());
    c.Brush.Color = saved;
    TRect r = ClientRect();
    Frame3D(c, r, 0xFFFFFF, 0x808080, Round(1.5 * K()));
}

void TElAbstDevice::DrawTerminal(int x, int y)
{
    TCanvas& c = *Canvas();
    const int cx = Round(x * m_stand->UnitScaleX());
    const int cy = Round(y * m_stand->UnitScaleY());
    const int r = Round(2 * m_stand->UnitScaleX());
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = clBlack;
    c.Pen = TPen();
    c.Pen.Color = clWhite;
    c.Ellipse(cx - r, cy - r, cx + r, cy + r);
    c.Brush.Color = clBlack;
    const int r2 = r / 2;
    c.Ellipse(cx - r2, cy - r2, cx + r2, cy + r2);
}

// ---------------------------------------------------------------- label

TElLabel::TElLabel(TElectricStand* stand) : TElAbstDevice(stand)
{
    SetUnitsHeight(10);
    SetUnitsWidth(10);
    SetHint(QString());
}

void TElLabel::SetCaption(const QString& c)
{
    m_caption = c;
    Invalidate();
}

void TElLabel::Paint()
{
    TCanvas& c = *Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Color = 0x008000;
    c.Font.SetSize(12);
    c.Font.Style = fsBold;
    const int w = c.TextWidth(m_caption), h = c.TextHeight(m_caption);
    c.TextOut((ClientWidth() - w) / 2, (ClientHeight() - h) / 2, m_caption);
}
