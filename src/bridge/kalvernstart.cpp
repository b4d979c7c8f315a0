#include "bridge/kalvernstart.h"

#include "bridge/bridgeresources.h"
#include "bridge/resbridge.h"
#include "shell/openwork.h"
#include "shell/selvar.h"

#include <QPointer>
#include <QPushButton>

namespace kalvern {

bool ProctorMode = false;

namespace {
QPointer<TResBridgeForm> g_resBridgeForm;
QPointer<TSelVarForm> g_selVarForm;
} // namespace

TResBridgeForm* TStartForm::ResBridgeForm()
{
    return g_resBridgeForm;
}

TSelVarForm* TStartForm::SelVarForm()
{
    return g_selVarForm;
}

TStartForm::TStartForm(QObject* owner) : TForm(owner)
{
    InitBridgeResources();
    SetUpStartForm(this, "Мост Уитстона", KitFormFill1, VerInfo);

    KitLabel3 = AddStartFormTitle(this, "KitLabel3");
    KitLabel3->SetCaption("Мост Уитстона");

    Label7 = new TLabel(this);
    Label7->SetName("Label7");
    Label7->SetAutoSize(false);
    Label7->SetBounds(16, 72, 600, 24);
    Label7->SetAlignment(TAlignment::taCenter);
    Label7->SetTransparent(true);
    Label7->SetFont(TFont("MS Sans Serif", 16, clWhite));
    Label7->SetCaption("Лабораторная работа по физике");

    AddStartFormButtons(this, bPurpose, bInstruct, bExit);
    bPurpose->OnClick = [this](TObject* s) { bPurposeClick(s); };
    bInstruct->OnClick = [this](TObject* s) { bInstructClick(s); };
    bExit->OnClick = [this](TObject* s) { bExitClick(s); };

    Panel1 = AddStartFormVersionPanel(this, "Label9", Label9, txtVersion);

    bResBridge = new TBitBtn(this);
    bResBridge->SetName("bResBridge");
    bResBridge->SetBounds(120, 336, 417, 41);
    bResBridge->SetCaption("Определение неизвестного сопротивления");
    bResBridge->SetFont(TFont("MS Sans Serif", 16, clWindowText, fsBold));
    bResBridge->Button()->setIconSize(QSize(32, 32));
    bResBridge->SetGlyphName("GLYPH_RESBRIDGE");
    bResBridge->OnClick = [this](TObject* s) { bResBridgeClick(s); };

    SetTabOrder({bResBridge, bPurpose, bInstruct, Panel1, bExit});

    OnCreate = [this](TObject* s) { FormCreate(s); };
    DoCreate();
}

void TStartForm::FormCreate(TObject*)
{
    txtVersion->SetCaption(VerInfo->FileVersion());
    ProctorMode = false;
    ProctorMode = Application->Arguments().value(0) == "/Proctor";
}

void TStartForm::bResBridgeClick(TObject*)
{
    if (!g_resBridgeForm || !g_selVarForm) {
        // Owned by the application object, kept until the program ends.
        g_resBridgeForm = new TResBridgeForm(Application);
        g_selVarForm = new TSelVarForm(Application, TSelVarForm::TText::Resistances);
    }
    // The dialog carries no help context of its own: its help button always
    // opens the bridge's topic.
    OpenWithVariant(this, g_selVarForm, 0, [](int n) { g_resBridgeForm->SetVariant(n); }, g_resBridgeForm);
}

void TStartForm::bPurposeClick(TObject*)
{
    Application->HelpContext(101);
}

void TStartForm::bInstructClick(TObject*)
{
    Application->HelpContext(102);
}

void TStartForm::bExitClick(TObject*)
{
    Close();
}

} // namespace kalvern
