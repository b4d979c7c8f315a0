#pragma once
// Work 1, amplitude and frequency of a signal: the front panel fed on its
// Y input by one signal generator whose values the variant fixes.

#include "exercises/scopelab.h"

class TAbstGenForm;

class TAPSignalForm : public TScopeLabForm {
    Q_OBJECT
public:
    explicit TAPSignalForm(QObject* owner);

    TBitBtn* BitBtn1;
    TButton* bShowVariants;
    TKitFormDisplay* dispG1;

    bool Training = false;
    TAbstGenForm* Generator = nullptr;

    double GetYSignal(double T) override;
    void ArrangeInstruments() override;

    void FormShow(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void SetTraining(bool Value);
    // 0 for training, 1..100 for the teacher's variants.
    void SetVariant(int N);
    void bShowVariantsClick(TObject* Sender);
};
