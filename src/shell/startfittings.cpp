#include "shell/startfittings.h"

#include "platform/forms.h"
#include "platform/stdctrls.h"

TKitFormFill* AddStartFormGradient(TForm* form)
{
    auto* fill = new TKitFormFill(form);
    fill->SetName("KitFormFill1");
    TKitFillObject* object = fill->FillObject();
    object->SetStyle(sfGradient);
    object->Gradient()->SetColor(clBlack);
    object->Gradient()->SetEndColor(clLime);
    object->Gradient()->SetColorCount(48);
    fill->Loaded();
    return fill;
}

TKitLabel* AddStartFormTitle(TForm* form, const QString& name)
{
    auto* label = new TKitLabel(form);
    label->SetName(name);
    label->SetAutoSize(false);
    label->SetBounds(0, 96, 632, 39);
    // The stored standard style draws no border in custom mode.
    label->Bevel()->SetMode(bmCustom);
    label->Bevel()->SetStandardStyle(lsSingleLowered);
    label->SetAlignment(agCenter);
    label->SetOptions({});
    label->SetFont(TFont("MS Sans Serif", 32, clYellow, fsBold));
    return label;
}

TPanel* AddStartFormVersionPanel(TForm* form, const QString& labelName, TLabel*& label, TLabel*& value)
{
    auto* panel = new TPanel(form);
    panel->SetName("Panel1");
    panel->SetBounds(368, 144, 233, 105);
    panel->SetBevelInner(TBevelCut::bvLowered);
    panel->SetBevelWidth(3);
    panel->SetCaption(" ");
    label = new TLabel(panel);
    label->SetName(labelName);
    label->SetBounds(8, 80, 40, 13);
    label->SetCaption("Версия");
    value = new TLabel(panel);
    value->SetName("txtVersion");
    value->SetAutoSize(false);
    value->SetBounds(96, 80, 129, 13);
    return panel;
}

void AddStartFormButtons(TForm* form, TBitBtn*& purpose, TBitBtn*& instruct, TBitBtn*& exit)
{
    purpose = new TBitBtn(form);
    purpose->SetName("bPurpose");
    purpose->SetBounds(124, 384, 205, 25);
    purpose->SetCaption("Цель работы");
    purpose->SetGlyphName("PURPOSE");

    instruct = new TBitBtn(form);
    instruct->SetName("bInstruct");
    instruct->SetBounds(332, 384, 205, 25);
    instruct->SetCaption("Порядок выполнения");
    instruct->SetGlyphName("INSTRUCT");

    exit = new TBitBtn(form, TBitBtnKind::bkCancel);
    exit->SetName("bExit");
    exit->SetBounds(552, 416, 75, 25);
    exit->SetCaption("Выход");
    // Closing the start form ends the program; it is no modal answer.
    exit->ModalResult = mrNone;
}

void SetUpStartForm(TForm* form, const QString& caption, TKitFormFill*& fill, TKitVersionInfo*& verInfo)
{
    form->SetName("StartForm");
    form->SetCaption(caption);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetBorderIcons(biSystemMenu | biMinimize);
    form->Position = TPosition::poScreenCenter;
    form->SetFont(TFont("MS Sans Serif", 11));
    form->SetClientSize(632, 453);
    fill = AddStartFormGradient(form);
    verInfo = new TKitVersionInfo(form);
    verInfo->SetName("VerInfo");
}
