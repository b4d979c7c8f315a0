#include "shell/start.h"

#include "platform/numtext.h"
#include "shell/resources.h"
#include "shell/startfittings.h"

#include <QPushButton>

bool ProctorMode = false;

namespace {
TStartForm::TWorkOpener& opener()
{
    static TStartForm::TWorkOpener o;
    return o;
}

const char* const kWorkTitles[4] = {
    "Изучение электронного осциллографа",
    "Фигуры Лиссажу",
    "Затухающие колебания в контуре",
    "Вынужденные колебания в контуре",
};

struct WorkButtons {
    const char* caption1;
    const char* glyph1;
    const char* caption2;
    const char* glyph2;
};

const WorkButtons kWorkButtons[4] = {
    {"Работа электронно-лучевой трубки", "GLYPH_OSCTUBE", "Определение амплитуды и частоты сигнала", "GLYPH_APSIGNAL"},
    {"Определение частоты сигнала", "GLYPH_LISSAJOU", nullptr, nullptr},
    {"Затухающие колебания", "GLYPH_DAMPOSC", nullptr, nullptr},
    {"Вынужденные колебания", "GLYPH_CONDOSC", nullptr, nullptr},
};
} // namespace

QString WorkTitle(int index)
{
    return index >= 0 && index < 4 ? QString(kWorkTitles[index]) : QString();
}

void TStartForm::SetWorkOpener(TWorkOpener o)
{
    opener() = std::move(o);
}

TStartForm::TStartForm(QObject* owner) : TForm(owner)
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
    lvSelLab->SetImages({LoadGlyph("LIST_WORK1"), LoadGlyph("LIST_WORK2"), LoadGlyph("LIST_WORK3"), LoadGlyph("LIST_WORK4")});
    for (int i = 0; i < 4; ++i)
        lvSelLab->AddItem(kWorkTitles[i], i);
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
    if (!a1.isEmpty() && a1.at(0) >= QChar('1') && a1.at(0) <= QChar('4')) {
        SetWork(StrToInt(a1));
        k = 2;
    }
    ProctorMode = args.value(k - 1) == "/Proctor";
}

void TStartForm::SetWork(int N)
{
    WorkNo = N;
    bWork1->SetCaption("");
    bWork1->SetGlyphName("");
    bWork2->SetCaption("");
    bWork2->SetGlyphName("");
    if (N < 0 || N > 4)
        throw Exception("Недопустимый номер лабораторной работы: " + QString::number(N));
    if (N > 0) {
        const WorkButtons& w = kWorkButtons[N - 1];
        bWork1->SetCaption(w.caption1);
        bWork1->SetGlyphName(w.glyph1);
        if (w.caption2) {
            bWork2->SetCaption(w.caption2);
            bWork2->SetGlyphName(w.glyph2);
        }
    }
    bWork1->SetVisible(N > 0);
    bPurpose->SetVisible(N > 0);
    bInstruct->SetVisible(N > 0);
    bWork2->SetVisible(N == 1);
    lvSelLab->SetVisible(N == 0);
    bOK->SetVisible(N == 0);
    panInstruct->SetVisible(N == 0);
    txtName->SetCaption(N > 0 ? WorkTitle(N - 1) : QString());
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
    Application->HelpContext(WorkNo * 100 + 1);
}

void TStartForm::bInstructClick(TObject*)
{
    Application->HelpContext(WorkNo * 100 + 2);
}

void TStartForm::bExitClick(TObject*)
{
    Close();
}

void TStartForm::bWork1Click(TObject*)
{
    if (opener())
        opener()(this, WorkNo, 1);
}

void TStartForm::bWork2Click(TObject*)
{
    if (WorkNo == 1 && opener())
        opener()(this, WorkNo, 2);
}
