#include "bridge/elgalvan.h"

#include "models/bridgemodel.h"
#include "bridge/dblonoff.h"
#include "bridge/elscale.h"
#include "platform/stdctrls.h"

#include <memory>

TElGalvanometer::TElGalvanometer(TElectricStand* stand) : TElAbstDevice(stand)
{
    SetUnitsWidth(50);
    SetUnitsHeight(80);

    m_scale = new TElAnalogScale(stand);
    m_scale->SetScaleAngle(55);
    m_scale->SetArrowPercentLen(90);
    m_scale->SetLabels({"20", "10", "0", "10", "20"});
    m_scale->SetValue(0.5);
    m_scale->OnPaintBackground = [this](TElAnalogScale* s, TCanvas& c) { PaintScaleBackground(s, c); };
    m_scale->show();

    m_current = 0;

    m_switch = new TzcDblOnOff(stand);
    m_switch->SetCaption(QString());
    m_switch->OnClick = [this](TObject*) { Change(); };
    m_switch->SetOffKnobColor(kcSilver);
    m_switch->SetOnKnobColor(kcSilver);
    m_switch->SetUseFocusFrame(true);
    m_switch->show();

    SetRoughly(false);
    SetDeviceHint("Гальванометр");
    // The parts exist now; place them on the current layout.
    UpdateBounds();
}

TElGalvanometer::~TElGalvanometer()
{
    delete m_dial;
}

void TElGalvanometer::SetCurrent(double i)
{
    m_current = i;
    m_scale->SetValue(bridge::GalvanometerScaleValue(i, Roughly()));
}

bool TElGalvanometer::Roughly() const
{
    return m_switch->SwitchOn();
}

void TElGalvanometer::SetRoughly(bool v)
{
    m_switch->SetSwitchOn(v);
}

void TElGalvanometer::SetDeviceHint(const QString& h)
{
    SetHint(h);
    m_scale->SetHint(h);
    m_switch->SetHint(h);
}

void TElGalvanometer::SetDeviceHelpContext(int c)
{
    TElAbstDevice::SetDeviceHelpContext(c);
    m_scale->SetHelpContext(c);
    m_switch->SetHelpContext(c);
}

double TElGalvanometer::GetResistance() const
{
    return bridge::GalvanometerResistance;
}

void TElGalvanometer::Tick()
{
    m_scale->Animate();
}

void TElGalvanometer::SetBounds(int left, int top, int width, int height)
{
    TElAbstDevice::SetBounds(left, top, width, height);
    if (m_scale)
        m_scale->SetBounds(left + width / 13, top + height / 9, width * 11 / 13, height * 14 / 25);
    // The switch keeps the smallest size it allows at every bench factor.
    if (m_switch)
        m_switch->SetBounds(left + 7, top + height - 66, 38, 59);
}

void TElGalvanometer::Paint()
{
    TElAbstDevice::Paint();
    TCanvas& c = *Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(50, Height() - 60, "Грубо");
    c.TextOut(50, Height() - 30, "Точно");
    const int r = Round(0.8 * K());
    TRect sr = m_scale->BoundsRect();
    OffsetRect(sr, -Left(), -Top());
    InflateRect(sr, r + 1, r + 1);
    if (r > 0)
        Frame3D(c, sr, 0x808080, 0xFFFFFF, r);
}

void TElGalvanometer::PaintScaleBackground(TElAnalogScale* scale, TCanvas& c)
{
    if (!m_dial) {
        auto dial = std::make_unique<TMetafile>();
        if (!dial->LoadFromResourceName(":/bridge/ELGALVAN_SCALE01.svg"))
            throw Exception("Не найден ресурс ELGALVAN_SCALE01");
        m_dial = dial.release();
    }
    const int w = scale->ClientWidth();
    const int h = w / 2;
    if (w <= 0 || h <= 0)
        return;
    c.StretchDraw(Bounds(0, scale->ClientHeight() - h, w, h), *m_dial->Renderer());
}
