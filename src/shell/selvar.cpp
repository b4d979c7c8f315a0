#include "shell/selvar.h"

#include "shell/resources.h"

TSelVarForm::TSelVarForm(QObject* owner, TText text) : TForm(owner), m_text(text)
{
    InitShellResources();
    SetName("SelVarForm");
    SetCaption("Выбор варианта");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetBorderIcons(biSystemMenu);
    Position = TPosition::poScreenCenter;
    SetFont(TFont("MS Sans Serif", 11));
    SetClientSize(364, 214);

    const QString second = text == TText::Resistances
        ? QString("Нажмите кнопку \"Тренеровка\",  чтобы провести эксперименты с заданием различных известных сопротивлений")
        : QString("Нажмите кнопку \"Тренеровка\",  чтобы провести эксперименты с заданием различных известных частот и амплитуд сигнала ");
    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label1->SetBounds(16, 16, 201, 89);
    Label1->SetCaption("Введите номер варианта, заданный преподавателем.\n" + second);

    edVar = new TEdit(this);
    edVar->SetName("edVar");
    edVar->SetBounds(16, 128, 121, 21);
    edVar->SetText("1");

    Label2 = new TLabel(this);
    Label2->SetName("Label2");
    Label2->SetBounds(16, 112, 80, 13);
    Label2->SetFocusControl(edVar);
    Label2->SetCaption("Номер &варианта");

    UpDown1 = new TUpDown(this);
    UpDown1->SetName("UpDown1");
    UpDown1->SetMin(1);
    UpDown1->SetMax(100);
    UpDown1->SetAssociate(edVar);
    // The bridge laboratory's copy of the dialog has a narrower up-down.
    UpDown1->SetBounds(137, 128, text == TText::Resistances ? 15 : 16, 21);
    UpDown1->SetPosition(1);

    bOk = new TBitBtn(this, TBitBtnKind::bkOK);
    bOk->SetName("bOk");
    bOk->SetBounds(240, 8, 120, 25);

    bCancel = new TBitBtn(this, TBitBtnKind::bkCancel);
    bCancel->SetName("bCancel");
    bCancel->SetBounds(240, 40, 120, 25);
    bCancel->SetCaption("Отмена");

    bTest = new TBitBtn(this);
    bTest->SetName("bTest");
    bTest->SetBounds(240, 104, 120, 25);
    bTest->SetCaption("&Тренировка");
    bTest->ModalResult = mrTraining;
    bTest->SetGlyphName("TRAINING");

    bHelp = new TBitBtn(this, TBitBtnKind::bkHelp);
    bHelp->SetName("bHelp");
    bHelp->SetBounds(240, 160, 121, 25);
    bHelp->SetCaption("Помощ&ь");
    bHelp->OnClick = [this](TObject* s) { bHelpClick(s); };

    SetTabOrder({edVar, bOk, bCancel, bTest, bHelp});
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

void TSelVarForm::FormShow(TObject*)
{
    edVar->SetFocus();
    edVar->SelectAll();
}

void TSelVarForm::bHelpClick(TObject*)
{
    Application->HelpContext(m_text == TText::Resistances ? 103 : HelpContext());
}

bool TSelVarForm::CloseQuery()
{
    if (ModalResult() == mrOk) {
        int pos = 0;
        if (!UpDown1->PositionFromText(pos)) {
            // A variant the teacher did not give must not open silently.
            Application->MessageBox("Номер варианта должен быть целым числом от 1 до 100.", Caption(), MB_OK | MB_ICONWARNING);
            edVar->SetFocus();
            edVar->SelectAll();
            return false;
        }
        UpDown1->SetPosition(pos);
    }
    return TForm::CloseQuery();
}

std::optional<int> TSelVarForm::VariantFor(int modalResult) const
{
    if (modalResult == mrOk)
        return UpDown1->Position();
    if (modalResult == mrTraining)
        return 0;
    return std::nullopt;
}

std::optional<int> TSelVarForm::Ask()
{
    return VariantFor(ShowModal());
}
