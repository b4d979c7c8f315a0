#pragma once
// The front panel of the С1-73 oscilloscope: power, sweep or X input, gain
// and time-base steps, shifts, focus and brightness acting on the trace
// screen, the input sockets, and the tube view fed by the panel's own
// deflections.

#include "scope/oscscr.h"

#include "components/kittechline.h"
#include "controls/mekwing.h"
#include "platform/forms.h"
#include "platform/stdctrls.h"

#include <memory>

class TzKnob;
class TVorlinKnob;
class TzcSingleOnOff;
class TzcLightOnOff;
class TzLed;
class TS1_73Form;

// Called after an input box has been painted, so that wire ends can be
// drawn over its sockets.
using TInputPaintEvent = std::function<void(TObject* Sender, TCanvas& Canvas)>;

class TS1_73Screen : public TMekWinGControl {
    Q_OBJECT
public:
    explicit TS1_73Screen(QWidget* parent, TS1_73Form* Panel);
    TS1_73Form* Panel;

protected:
    void PaintBuffer(TCanvas& Canvas) override;
};

class TS1_73Form : public TForm {
    Q_OBJECT
public:
    explicit TS1_73Form(QObject* owner = nullptr);
    ~TS1_73Form() override;

    double ScaleUnit = 0;
    bool PowerOn = false;
    std::unique_ptr<TOscScreen> Screen;
    TVorlinKnob* GainSwitch = nullptr;
    TVorlinKnob* TimeBaseSwitch = nullptr;
    int SampleCount = 0;
    double SampleInterval = 1e-4;
    TSignalSource OnXSignal;
    TSignalSource OnYSignal;
    double VoltsPerDiv = 50;
    double SecPerDiv = 1e-4;
    TPoint XSockets[2];
    TPoint YSockets[2];
    TInputPaintEvent OnInputPaint;
    TS1_73Screen* ScreenControl = nullptr;

    TPanel* panBorder;
    TLabel* lblMarkLabel;
    TzLed* ledPower;
    TLabel* lblFocus;
    TLabel* lblBright;
    TLabel* lblStab;
    TLabel* lblLevel;
    TPanel* panScreen;
    TzcSingleOnOff* cbPower;
    TzKnob* kFocus;
    TzKnob* kBright;
    TzKnob* kStab;
    TzKnob* kLevel;
    TzKnob* kVert;
    TzKnob* kHorz;
    // Double arrows beside the shift knobs.
    TKitTechnicalLine* lblVert;
    TKitTechnicalLine* lblHorz;
    TPanel* panLeftSide;
    TPaintBox* pbYInput;
    TPanel* panRightSide;
    TPaintBox* pbXInput;
    TzcLightOnOff* cbScan;

    void ResetControls();
    TPoint FitSize(TPoint Available);
    void ArrangeControls();
    void RepaintScreen();
    void SetSampleCount(int N);
    void SetSampleInterval(double Seconds);
    int GetSampleCount() const;
    void ShowTubeView();
    void GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text);
    // The tube view's deflection source: screen divisions mapped to ±1.
    void TubeDataSource(double& X, double& Y, double T, bool& Visible);

    void SetPower(bool V);
    void cbPowerClick(TObject* Sender);
    void pbInputPaint(TObject* Sender);
    void kFocusChange(TObject* Sender);
    void kBrightChange(TObject* Sender);
    void GainChange(TObject* Sender);
    void TimeBaseChange(TObject* Sender);
    void GetXValue(double& X, bool& Visible, double T);
    void GetYValue(double& Y, bool& Visible, double T);
    bool SweepOn() const;

    // The last sweep position, shared by every front panel and the tube
    // view; the flyback is blanked where the position falls.
    static double PreviousSweep;

private:
    TPaintBox* MakeInputBox(TPanel* Side, const char* Name, int Tag, const QString& Hint);
    void DrawSocket(TCanvas& Canvas, TPoint P, TColor Color) const;
};

// Layout unit u for an offered area: the panel keeps the aspect 23 : 7.5.
double FitUnit(QPoint Available);
// The size the panel takes at unit u.
QPoint FitExtent(double U);
