#pragma once
// The start form of the bridge laboratory (program Kalvern): one work, the
// determination of a resistance with a Wheatstone bridge, its purpose and
// procedure in the help, and the exit.

#include "components/kitverinfo.h"
#include "platform/forms.h"
#include "shell/startfittings.h"
#include "platform/stdctrls.h"

class TResBridgeForm;
class TSelVarForm;

namespace kalvern {

// Teacher mode: the first argument "/Proctor", exactly.
extern bool ProctorMode;

class TStartForm : public TForm {
    Q_OBJECT
public:
    explicit TStartForm(QObject* owner);

    TKitFormFill* KitFormFill1;
    TKitLabel* KitLabel3;
    TKitVersionInfo* VerInfo;
    TLabel* Label7;
    TPanel* Panel1;
    TLabel* Label9;
    TLabel* txtVersion;
    TBitBtn* bResBridge;
    TBitBtn* bPurpose;
    TBitBtn* bInstruct;
    TBitBtn* bExit;

    void FormCreate(TObject* Sender);
    void bResBridgeClick(TObject* Sender);
    void bPurposeClick(TObject* Sender);
    void bInstructClick(TObject* Sender);
    void bExitClick(TObject* Sender);

    // Created on the first click of bResBridge and kept until the end.
    static TResBridgeForm* ResBridgeForm();
    static TSelVarForm* SelVarForm();
};

} // namespace kalvern
