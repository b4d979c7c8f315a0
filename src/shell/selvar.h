#pragma once
// The variant dialog: the teacher's variant 1..100, or training (0).

#include "platform/forms.h"
#include "platform/stdctrls.h"

#include <optional>

class TSelVarForm : public TForm {
    Q_OBJECT
public:
    enum class TText { Signals, Resistances };
    // The bridge laboratory words its invitation for resistances and always
    // opens help topic 103.
    explicit TSelVarForm(QObject* owner, TText text = TText::Signals);

    TLabel* Label1;
    TLabel* Label2;
    TEdit* edVar;
    TUpDown* UpDown1;
    TBitBtn* bOk;
    TBitBtn* bCancel;
    TBitBtn* bTest;
    TBitBtn* bHelp;

    static constexpr int mrTraining = 6;

    void FormShow(TObject* Sender);
    void bHelpClick(TObject* Sender);

    // The variant chosen by a modal result: 1..100 for OK, 0 for training,
    // none for anything else.
    std::optional<int> VariantFor(int modalResult) const;
    // Shows the dialog and returns the variant, or none when cancelled.
    std::optional<int> Ask();

protected:
    bool CloseQuery() override;

private:
    TText m_text;
};
