#pragma once
// The passive devices of the bridge bench: the resistor under test, the
// six-decade resistance box, the four-position ratio resistor, the DC
// source with its switch and lamp, and the wire.

#include "bridge/elstand.h"

#include <vector>

class TMekTransparentKnob;
class TzcLightOnOff;
class TzLed;

class TElSampleResistor : public TElAbstDevice {
public:
    explicit TElSampleResistor(TElectricStand* stand);
    double Resistance() const { return m_resistance; }
    // Outside 0.01 .. 1e7 ohms (or no number at all) raises the range error
    // and keeps the old value.
    void SetResistance(double x);
    TPoint LeftTerminal() const { return TPoint(UnitsLeft() + 5, UnitsTop() + UnitsHeight() / 2); }
    TPoint RightTerminal() const { return TPoint(UnitsLeft() + UnitsWidth() - 5, UnitsTop() + UnitsHeight() / 2); }

protected:
    void Paint() override;

private:
    double m_resistance = 1.0;
};

class TElResistorBattery6 : public TElAbstDevice {
public:
    explicit TElResistorBattery6(TElectricStand* stand);
    // Decades x10000, x1000, x100, x10, x1, x0.1.
    TMekTransparentKnob* Knob(int i) const { return m_knobs.at(size_t(i)); }
    static int KnobDigit(const TMekTransparentKnob* k);
    double GetResistance() const;
    TPoint Terminal1() const { return TopTerminal(false); }
    TPoint Terminal2() const { return TPoint((UnitsWidth() - 10) / 3 + UnitsLeft() + 5, UnitsTop() + 5); }
    TPoint Terminal3() const { return TPoint((UnitsWidth() - 10) * 2 / 3 + UnitsLeft() + 5, UnitsTop() + 5); }
    TPoint Terminal4() const { return TopTerminal(true); }
    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }
    int GridLeft() const { return m_gridLeft; }
    int GridTop() const { return m_gridTop; }

    void SetDeviceHint(const QString& h);
    void SetDeviceHelpContext(int c) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;

private:
    void CreateKnob();
    std::vector<TMekTransparentKnob*> m_knobs;
    int m_cellWidth = 0, m_cellHeight = 0;
    int m_gridLeft = 0, m_gridTop = 0;
};

class TElResistor4Pos : public TElAbstDevice {
public:
    explicit TElResistor4Pos(TElectricStand* stand);
    TMekTransparentKnob* Knob() const { return m_knob; }
    double GetResistance() const;
    TPoint LeftTerminal() const { return TopTerminal(false); }
    TPoint RightTerminal() const { return TopTerminal(true); }
    void SetDeviceHint(const QString& h);
    void SetDeviceHelpContext(int c) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;

private:
    TMekTransparentKnob* m_knob = nullptr;
};

class TElDCSource1 : public TElAbstDevice {
public:
    explicit TElDCSource1(TElectricStand* stand);
    bool IsOn() const { return m_isOn; }
    // Moves the switch and the lamp without a change event.
    void SetIsOn(bool v);
    double Voltage() const { return m_voltage; }
    void SetVoltage(double v);
    TzcLightOnOff* PowerSwitch() const { return m_switch; }
    TzLed* Lamp() const { return m_lamp; }
    TPoint LeftTerminal() const { return TopTerminal(false); }
    TPoint RightTerminal() const { return TopTerminal(true); }
    void SetDeviceHelpContext(int c) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;

private:
    void SwitchClick();
    bool m_isOn = false;
    TzcLightOnOff* m_switch = nullptr;
    TzLed* m_lamp = nullptr;
    double m_voltage = 12.0;
};

struct TWirePoint {
    int X = 0;
    int Y = 0;
    bool Joint = false;
};

class TElWire : public TElAbstDevice {
public:
    explicit TElWire(TElectricStand* stand);

    int PointCount() const { return int(m_points.size()); }
    // Out-of-range indices raise the list-index error.
    const TWirePoint& Point(int i) const;
    TWirePoint& Point(int i);
    void AddPoint(int x, int y);
    void AddPointAt(TPoint p) { AddPoint(p.X, p.Y); }
    void HorzTo(int x);
    void VertTo(int y);
    void MarkJoint();

    TColor WireColor = 0xFF0000;
    // Twice the system border width.
    int PenWidth = 2;
    bool StartDot = false;
    bool EndDot = false;

    int HitTest(TPoint p) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;

private:
    void UpdateMask();
    std::vector<TWirePoint> m_points;
};
