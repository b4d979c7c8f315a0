#pragma once
// The teacher's table: the true values of all variants as plain text, with
// a button that copies all of it.

#include "platform/forms.h"
#include "platform/stdctrls.h"

class TShowVarsForm : public TForm {
    Q_OBJECT
public:
    explicit TShowVarsForm(QObject* owner);

    TMemo* txt;
    TPanel* Panel1;
    TPanel* Panel2;
    TButton* bCopy;
    TLabel* Label1;

    void bCopyClick(TObject* Sender);
};
