#pragma once
// The bench of the bridge laboratory and the base of every device on it.
// Devices are placed in integer bench units; the bench maps units to
// pixels with one factor for both axes and centres the circuit, so it keeps
// its proportions at any window size.

#include "platform/controls.h"

#include <vector>

class TElAbstDevice;

class TElectricStand : public TCustomControl {
public:
    explicit TElectricStand(QWidget* owner);
    ~TElectricStand() override;

    int UnitsWidth() const { return m_unitsWidth; }
    void SetUnitsWidth(int v);
    int UnitsHeight() const { return m_unitsHeight; }
    void SetUnitsHeight(int v);
    double MmPerUnit() const { return m_mmPerUnit; }
    void SetMmPerUnit(double v);
    bool ShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool v);
    int GridStep() const { return m_gridStep; }
    void SetGridStep(int v);

    double UnitScaleX() const { return m_unitScaleX; }
    double UnitScaleY() const { return m_unitScaleY; }
    TRect WorkArea() const { return m_workArea; }

    void SetBounds(int left, int top, int width, int height) override;
    void UpdateScale();

    int UnitsToX(int u) const;
    int UnitsToY(int u) const;

    int DeviceCount() const { return int(m_devices.size()); }
    TElAbstDevice* GetDevice(int index) const { return m_devices.at(size_t(index)); }
    void TickDevices();
    void DoChange();
    class TElLabel* AddLabel(int x, int y, const QString& caption);

    TNotifyEvent OnChange;
    TNotifyEvent OnInitValues;

protected:
    void Paint() override;
    void Resize() override;

private:
    friend class TElAbstDevice;
    int m_unitsHeight = 100;
    int m_unitsWidth = 100;
    TRect m_workArea;
    double m_unitScaleX = 0.0;
    double m_unitScaleY = 0.0;
    bool m_showGrid = false;
    int m_gridStep = 10;
    double m_mmPerUnit = 0.1;
    std::vector<TElAbstDevice*> m_devices;
};

class TElAbstDevice : public TGraphicControl {
public:
    explicit TElAbstDevice(TElectricStand* stand);
    ~TElAbstDevice() override;

    int UnitsLeft() const { return m_unitsLeft; }
    void SetUnitsLeft(int v);
    int UnitsTop() const { return m_unitsTop; }
    void SetUnitsTop(int v);
    int UnitsWidth() const { return m_unitsWidth; }
    void SetUnitsWidth(int v);
    int UnitsHeight() const { return m_unitsHeight; }
    void SetUnitsHeight(int v);

    TElectricStand* Stand() const { return m_stand; }
    void UpdateBounds();

    int UnitsToClientX(int u) const;
    int UnitsToClientY(int u) const;

    // The device's own help topic, apart from the widget's help context.
    int DeviceHelpContext() const { return m_helpContext; }
    virtual void SetDeviceHelpContext(int c) { m_helpContext = c; }

    virtual void Tick() {}
    void Change();

    // The terminal 5 units in from the top left or top right corner, where
    // most devices take their wires.
    TPoint TopTerminal(bool right) const
    {
        return TPoint(right ? m_unitsLeft + m_unitsWidth - 5 : m_unitsLeft + 5, m_unitsTop + 5);
    }

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void DrawTerminal(int x, int y);
    // The bench factor, the "k" of every device drawing.
    double K() const { return m_stand->UnitScaleX(); }

private:
    int m_unitsLeft = 0;
    int m_unitsHeight = 10;
    int m_unitsWidth = 10;
    int m_unitsTop = 0;
    TElectricStand* m_stand;
    int m_helpContext = 0;
};

class TElLabel : public TElAbstDevice {
public:
    explicit TElLabel(TElectricStand* stand);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& c);

protected:
    void Paint() override;

private:
    QString m_caption;
};
