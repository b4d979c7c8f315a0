#pragma once
// Work 3, damped oscillations: a pulse generator kicks the oscillating
// circuit 100 times a second and the oscilloscope shows how it rings down.

#include "exercises/circuitlab.h"

class TDampOscForm : public TCircuitLabForm {
    Q_OBJECT
public:
    explicit TDampOscForm(QObject* owner);

    TPanel* GI1;
    TLabel* Label1;

    double GetYSignal(double T) override;
    void ArrangeInstruments() override;
};
