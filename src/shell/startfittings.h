#pragma once
// The look both laboratories' start forms share: a black-to-green gradient
// behind the whole form, the large yellow title line across it, and the
// panel whose foot carries the program's version.

#include "components/kitformfill.h"
#include "components/kitlabel.h"
#include "components/kitverinfo.h"

class TForm;
class TLabel;
class TPanel;
class TBitBtn;

TKitFormFill* AddStartFormGradient(TForm* form);

// The frame both start forms share: a fixed 632 x 453 dialog centred on the
// screen with the system menu and minimise button, its gradient and the
// version information of the program.
void SetUpStartForm(TForm* form, const QString& caption, TKitFormFill*& fill, TKitVersionInfo*& verInfo);
TKitLabel* AddStartFormTitle(TForm* form, const QString& name);

// The version panel; `label` gets the word "Версия", `value` the version
// line (`labelName` names the word's label as the form calls it).
TPanel* AddStartFormVersionPanel(TForm* form, const QString& labelName, TLabel*& label, TLabel*& value);

// The purpose and procedure help buttons and the exit button, where both
// start forms have them; the form binds their clicks.
void AddStartFormButtons(TForm* form, TBitBtn*& purpose, TBitBtn*& instruct, TBitBtn*& exit);
