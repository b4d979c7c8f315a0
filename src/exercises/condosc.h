#pragma once
// Work 4, forced oscillations: a sine generator drives the oscillating
// circuit and the oscilloscope shows its response as the frequency is
// turned through the resonance.

#include "exercises/circuitlab.h"

class TSineGenForm;

class TCondOscForm : public TCircuitLabForm {
    Q_OBJECT
public:
    explicit TCondOscForm(QObject* owner);

    TKitFormDisplay* dispG1;
    TSineGenForm* Generator = nullptr;

    double GetYSignal(double T) override;
    void ArrangeInstruments() override;
};
