#include "shell/start.h"

#include "platform/numtext.h"
#include "shell/resources.h"
#include "shell/startfittings.h"

#include <QPushButton>

bool ProctorMode = false;

TStartForm::TStartForm(QObject* owner, std::vector<TLabWork> works) : TForm(owner), m_works(std::move(works))
{
    InitShellResources();
    SetUpStartForm(this, "Лабораторные работы по физике", KitFormFill1, VerInfo);

    txtLR = new TLabel(this);
    txtLR->SetName("txtLR");
    txtLR->SetAutoSize(false);
    txtLR->SetBounds(16, 72, 600, 24);
    txtLR->SetAlignment(TAlignment::taCenter);
    txtLR->SetFont(TFont("MS Sans Serif", 16, clWhite));
    txtLR->SetTransparent(true);

    txtName = AddStartFormTitle(this, "txtName");

    bWork1 = new TBitBtn(this);
    bWork1->SetName("bWork1");
    bWork1->SetBounds(122, 289, 417, 41);
    bWork1->SetFont(TFont("MS Sans Serif", 16, clWindowText, fsBold));
    bWork1->Button()->setIconSize(QSize(32, 32));
    bWork1->OnClick = [this](TObject* s) { bWork1Click(s); };

    bWork2 = new TBitBtn(this);
    bWork2->SetName("bWork2");
    bWork2->SetBounds(122, 337, 417, 41);
    bWork2->SetFont(TFont("MS Sans Serif", 16, clWindowText, fsBold));
    bWork2->Button()->setIconSize(QSize(32, 32));
    bWork2->OnClick = [this](TObject* s) { bWork2Click(s); };

    AddStartFormButtons(this, bPurpose, bInstruct, bExit);
    bPurpose->OnClick = [this](TObject* s) { bPurposeClick(s); };
    bInstruct->OnClick = [this](TObject* s) { bInstructClick(s); };
    bExit->OnClick = [this](TObject* s) { bExitClick(s); };

    Panel1 = AddStartFormVersionPanel(this, "lblVersion", lblVersion, txtVersion);

    panInstruct = new TPanel(this);
    panInstruct->SetName("panInstruct");
    panInstruct->SetBounds(40, 216, 273, 41);
    panInstruct->SetCaption(" ");
    lblInstruct = new TLabel(panInstruct);
    lblInstruct->SetAutoSize(false);
    lblInstruct->SetWordWrap(true);
    lblInstruct->SetAlign(alClient);
    lblInstruct->SetAlignment(TAlignment::taCenter);
    lblInstruct->SetLayout(TTextLayout::tlCenter);
    lblInstruct->SetCaption("Выберите одну из четырех имеющихся лабораторных работ");

    lvSelLab = new TListView(this);
    lvSelLab->SetName("lvSelLab");
    lvSelLab->SetBounds(42, 272, 457, 105);
    lvSelLab->SetFont(TFont("MS Sans Serif", 19, clWindowText, fsBold));
    std::vector<QIcon> images;
    for (const TLabWork& w : m_works)
        images.push_back(LoadGlyph(w.ListGlyph));
    lvSelLab->SetImages(images);
    for (int i = 0; i < int(m_works.size()); ++i)
        lvSelLab->AddItem(m_works[i].Title, i);
    lvSelLab->OnDblClick = [this](TObject* s) { bOKClick(s); };

    bOK = new TBitBtn(this, TBitBtnKind::bkOK);
    bOK->SetName("bOK");
    bOK->SetBounds(504, 272, 81, 105);
    bOK->ModalResult = mrNone;
    bOK->OnClick = [this](TObject* s) { bOKClick(s); };

    SetTabOrder({bWork1, bWork2, bPurpose, bInstruct, Panel1, panInstruct, lvSelLab, bOK, bExit});

    OnCreate = [this](TObject* s) { FormCreate(s); };
    DoCreate();
}

void TStartForm::FormCreate(TObject*)
{
    txtVersion->SetCaption(VerInfo->FileVersion());
    lvSelLab->SetSelected(0);
    SetWork(0);
    QStringList args = Application->Arguments();
    QString a1 = args.value(0);
    int k = 1;
    // A first argument that begins with the digit of a work names it.
    if (!a1.isEmpty() && a1.at(0) >= QChar('1') && a1.at(0).unicode() < u'1' + m_works.size()) {
        SetWork(StrToInt(a1));
        k = 2;
    }
    ProctorMode = args.value(k - 1) == "/Proctor";
}

const TLabWork* TStartForm::Work(int N) const
{
    return N >= 1 && N <= int(m_works.size()) ? &m_works[N - 1] : nullptr;
}

void TStartForm::SetWork(int N)
{
    WorkNo = N;
    bWork1->SetCaption("");
    bWork1->SetGlyphName("");
    bWork2->SetCaption("");
    bWork2->SetGlyphName("");
    const TLabWork* w = Work(N);
    if (!w && N != 0)
        throw Exception("Недопустимый номер лабораторной работы: " + QString::number(N));
    if (w) {
        bWork1->SetCaption(w->Work1.Caption);
        bWork1->SetGlyphName(w->Work1.Glyph);
        bWork2->SetCaption(w->Work2.Caption);
        bWork2->SetGlyphName(w->Work2.Glyph);
    }
    bWork1->SetVisible(N > 0);
    bPurpose->SetVisible(N > 0);
    bInstruct->SetVisible(N > 0);
    bWork2->SetVisible(w && !w->Work2.Caption.isEmpty());
    lvSelLab->SetVisible(N == 0);
    bOK->SetVisible(N == 0);
    panInstruct->SetVisible(N == 0);
    txtName->SetCaption(w ? w->Title : QString());
    if (isVisible()) {
        if (N > 0)
            bWork1->SetFocus();
        else
            lvSelLab->SetFocus();
    }
    txtLR->SetCaption(N > 0 ? "Лабораторная работа по физике" : "Лабораторные работы по физике");
}

void TStartForm::bOKClick(TObject*)
{
    int sel = lvSelLab->Selected();
    if (sel >= 0)
        SetWork(sel + 1);
}

void TStartForm::bPurposeClick(TObject*)
{
    if (const TLabWork* w = Work(WorkNo))
        Application->HelpContext(w->PurposeHelp);
}

void TStartForm::bInstructClick(TObject*)
{
    if (const TLabWork* w = Work(WorkNo))
        Application->HelpContext(w->ProcedureHelp);
}

void TStartForm::bExitClick(TObject*)
{
    Close();
}

void TStartForm::bWork1Click(TObject*)
{
    if (const TLabWork* w = Work(WorkNo); w && w->Work1.Open)
        w->Work1.Open(this);
}

void TStartForm::bWork2Click(TObject*)
{
    if (const TLabWork* w = Work(WorkNo); w && w->Work2.Open)
        w->Work2.Open(this);
}
