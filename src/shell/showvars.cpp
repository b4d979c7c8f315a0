#include "shell/showvars.h"

#include "shell/resources.h"

TShowVarsForm::TShowVarsForm(QObject* owner) : TForm(owner)
{
    InitShellResources();
    SetName("ShowVarsForm");
    SetCaption("Варианты заданий для преподавателя");
    SetBorderStyle(TFormBorderStyle::bsSizeable);
    SetBorderIcons(biSystemMenu | biMaximize);
    Position = TPosition::poDefault;
    SetFont(TFont("MS Sans Serif", 11));
    SetClientSize(544, 375);

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetHeight(28);
    Panel1->SetAlign(alBottom);
    Panel1->SetCaption(" ");

    Panel2 = new TPanel(Panel1);
    Panel2->SetName("Panel2");
    Panel2->SetWidth(176);
    Panel2->SetAlign(alLeft);
    Panel2->SetBevelOuter(TBevelCut::bvNone);

    bCopy = new TButton(Panel2);
    bCopy->SetName("bCopy");
    bCopy->SetBounds(8, 0, 161, 25);
    bCopy->SetCaption("Скопировать все в буфер");
    bCopy->SetDefault(true);
    bCopy->OnClick = [this](TObject* s) { bCopyClick(s); };

    Label1 = new TLabel(Panel1);
    Label1->SetName("Label1");
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label1->SetAlign(alClient);
    Label1->SetCaption("Чтобы распечатать текст, скопируйте его в буфер, поместите в \"Блокнот\" и используйте возможности этой программы");

    txt = new TMemo(this);
    txt->SetName("txt");
    txt->SetAlign(alClient);
    txt->SetReadOnly(true);
    txt->SetFont(TFont("Courier New", 11));
    txt->SetParentColor(true);
    txt->SetHideSelection(false);
    Realign();
    DoCreate();
}

void TShowVarsForm::bCopyClick(TObject*)
{
    txt->SelectAll();
    txt->CopyToClipboard();
}
