#pragma once
// Work 2, frequency by Lissajous figures: the signal under study on the Y
// input, a comparison generator on the X input, and the trace sampling kept
// matched to the two frequencies.

#include "exercises/scopelab.h"

class TAbstGenForm;
class TEdit;

class TLissajouForm : public TScopeLabForm {
    Q_OBJECT
public:
    explicit TLissajouForm(QObject* owner);

    TButton* bShowVariants;
    TKitFormDisplay* dispG1;
    TKitFormDisplay* dispG2;
    // Never shown: a way to set the sampling by hand.
    TEdit* edDT;
    TEdit* edCnt;

    bool Training = false;
    TAbstGenForm* StudiedGenerator = nullptr;
    TAbstGenForm* ComparisonGenerator = nullptr;

    double GetYSignal(double T) override;
    double GetXSignal(double T);
    void ArrangeInstruments() override;

    void FormShow(TObject* Sender);
    void edDTExit(TObject* Sender);
    void SetTraining(bool Value);
    // 0 for training, 1..100 for the teacher's variants.
    void SetVariant(int N);
    void AdjustSampling(TObject* Sender);
    void bShowVariantsClick(TObject* Sender);
};
