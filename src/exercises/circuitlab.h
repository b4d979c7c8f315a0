#pragma once
// The two oscillating-circuit works share the circuit: its entry block in a
// form display, its schematic beside the instrument that drives it, and the
// help context of the schematic.

#include "exercises/scopelab.h"

class TLCRContForm;

class TCircuitLabForm : public TScopeLabForm {
    Q_OBJECT
public:
    // Contexts from Base: work area Base + 1, wires + 2, driving instrument
    // + 3, schematic + 4, entry block + 5.
    TCircuitLabForm(QObject* owner, const QString& Title, int Work, int Base);

    TPaintBox* pbCont;
    TKitFormDisplay* dispCont;
    TLCRContForm* Circuit = nullptr;

    void pbContPaint(TObject* Sender);
    void GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text) override;

protected:
    // The schematic, Height high and half as wide, stands left of the
    // driving instrument Driver, level with its top; the entry block stands
    // left of the schematic; the wires run down the middle of the margin
    // left of MarginRight and end on the schematic's left edge.
    void PlaceCircuit(TControl* Driver, int Height, int MarginRight);

private:
    int m_base;
};
