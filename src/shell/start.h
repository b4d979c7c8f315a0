#pragma once
// The start form of the oscilloscope laboratory: the list of works, the
// chosen work's buttons and its help, the command line and teacher mode.

#include "shell/startfittings.h"
#include "components/kitverinfo.h"
#include "platform/forms.h"
#include "platform/stdctrls.h"

#include <functional>
#include <vector>

// Teacher mode of the whole program, set once from the command line.
extern bool ProctorMode;

class TStartForm;

// A work button: its caption and glyph, and what it opens.
struct TWorkButton {
    QString Caption;
    QString Glyph;
    std::function<void(TStartForm* Start)> Open;
};

// One laboratory work as the start form offers it: its item in the list of
// works (the caption is also the work's title), its help topics, and its
// two buttons; a second button without a caption stays hidden.
struct TLabWork {
    QString Title;
    QString ListGlyph;
    int PurposeHelp;
    int ProcedureHelp;
    TWorkButton Work1;
    TWorkButton Work2;
};

class TStartForm : public TForm {
    Q_OBJECT
public:
    // Works are numbered from 1 in the order given.
    TStartForm(QObject* owner, std::vector<TLabWork> works);

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

private:
    // The work numbered N, or none.
    const TLabWork* Work(int N) const;

    std::vector<TLabWork> m_works;
};
