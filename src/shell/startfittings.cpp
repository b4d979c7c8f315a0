#include "shell/startfittings.h"

#include "platform/forms.h"

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
