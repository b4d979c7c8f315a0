#pragma once
// The sine generator of the forced-oscillation work: a rotary switch of
// 101 positions times a multiplier of 1, 10 or 100 Hz, and the voltage.

#include "platform/forms.h"
#include "platform/stdctrls.h"

class TMekTransparentKnob;
class TRadioGroup;
class TGroupBox;

class TSineGenForm : public TForm {
    Q_OBJECT
public:
    explicit TSineGenForm(QObject* owner = nullptr);

    TPanel* Panel1;
    TLabel* Label3;
    TRadioGroup* rgM;
    TGroupBox* GroupBox1;
    TLabel* txtFreq;
    TGroupBox* GroupBox2;
    TLabel* txtVoltage;

    TMekTransparentKnob* Knob = nullptr;
    TNotifyEvent OnChange;
    double Voltage = 0;

    double GetFrequency() const;
    void UpdateFrequencyText();
    void KnobChange(TObject* Sender);
    void SetVoltage(double V);
    // Volts at model time T (seconds).
    double GetValue(double T) const;
    TPoint FitSize(TPoint Available) const;
    // The knob fills a square at the left that follows the form's height.
    void SetBounds(int left, int top, int width, int height) override;
};
