#pragma once
// The bridge's zero instrument: an arc scale with a needle and a two-button
// range switch, "Грубо" (200 uA full scale) and "Точно" (2 uA).

#include "bridge/elstand.h"

class TElAnalogScale;
class TzcDblOnOff;
class TMetafile;

class TElGalvanometer : public TElAbstDevice {
public:
    explicit TElGalvanometer(TElectricStand* stand);
    ~TElGalvanometer() override;

    double Current() const { return m_current; }
    void SetCurrent(double i);
    bool Roughly() const;
    void SetRoughly(bool v);
    void SetDeviceHint(const QString& h);
    void SetDeviceHelpContext(int c) override;

    double GetResistance() const;
    TPoint LeftTerminal() const { return TopTerminal(false); }
    TPoint RightTerminal() const { return TopTerminal(true); }

    TElAnalogScale* Scale() const { return m_scale; }
    TzcDblOnOff* RangeSwitch() const { return m_switch; }

    void Tick() override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;

private:
    void PaintScaleBackground(TElAnalogScale* scale, TCanvas& c);

    TElAnalogScale* m_scale = nullptr;
    double m_current = 0.0;
    TzcDblOnOff* m_switch = nullptr;
    TMetafile* m_dial = nullptr;
};
