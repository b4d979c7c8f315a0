#pragma once
// The start form of the oscilloscope laboratory: the list of works, the
// chosen work's buttons and its help, the command line and teacher mode.

#include "shell/startfittings.h"
#include "components/kitverinfo.h"
#include "platform/forms.h"
#include "platform/stdctrls.h"

#include <functional>

// Teacher mode of the whole program, set once from the command line.
extern bool ProctorMode;

class TStartForm : public TForm {
    Q_OBJECT
public:
    explicit TStartForm(QObject* owner);

    int WorkNo = 0;

    TLabel* txtLR;
    TKitFormFill* KitFormFill1;
    TKitLabel* txtName;
    TKitVersionInfo* VerInfo;
    TPanel* panInstruct;
    TLabel* lblInstruct;
    TListView* lvSelLab;
    TBitBtn* bOK;
    TBitBtn* bWork1;
    TBitBtn* bWork2;
    TBitBtn* bPurpose;
    TBitBtn* bInstruct;
    TBitBtn* bExit;
    TPanel* Panel1;
    TLabel* lblVersion;
    TLabel* txtVersion;

    void SetWork(int N);

    void FormCreate(TObject* Sender);
    void bOKClick(TObject* Sender);
    void bPurposeClick(TObject* Sender);
    void bInstructClick(TObject* Sender);
    void bExitClick(TObject* Sender);
    void bWork1Click(TObject* Sender);
    void bWork2Click(TObject* Sender);

    // What the work buttons open is given by the program block, which knows
    // the laboratory forms: (start form, work number, button 1 or 2).
    using TWorkOpener = std::function<void(TStartForm* form, int work, int button)>;
    static void SetWorkOpener(TWorkOpener opener);
};

// The caption of list item i (0..3) and its work number i + 1.
QString WorkTitle(int index);
