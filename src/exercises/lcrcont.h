#pragma once
// The entry block of the oscillating circuit (inductance in mH, capacitance
// in µF, resistance in Ω, kept in SI units) and the circuit's schematic,
// shared by the damped- and forced-oscillation works.

#include "platform/forms.h"
#include "platform/stdctrls.h"

class TLCRContForm : public TForm {
    Q_OBJECT
public:
    explicit TLCRContForm(QObject* owner = nullptr);

    TPanel* Panel1;
    TLabel* Label2;
    TLabel* Label3;
    TEdit* edL;
    TLabel* Label5;
    TEdit* edC;
    TLabel* Label6;
    TEdit* edR;

    double Capacitance = 0;   // F
    double Resistance = 0;    // Ω
    double Inductance = 0;    // H

    void SetCapacitance(double C);
    void SetInductance(double L);
    void SetResistance(double R);
    // Leaving any field re-reads all three, L first, then C, then R.
    void edLExit(TObject* Sender);
    TPoint FitSize(TPoint Available) const;
};

class TPaintBox;

// The schematic (coupling capacitor Cp, capacitor C, coil L, resistor R)
// scaled to a w x h area, with the canvas's font for the labels.  Its left
// edge has two terminals, at h/6 and at 4h/12.
void DrawCircuit(TCanvas& Canvas, int w, int h);
void DrawCircuit(TPaintBox* PaintBox);
