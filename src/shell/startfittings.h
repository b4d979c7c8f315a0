#pragma once
// The look both laboratories' start forms share: a black-to-green gradient
// behind the whole form, and the large yellow title line across it.

#include "components/kitformfill.h"
#include "components/kitlabel.h"

class TForm;

TKitFormFill* AddStartFormGradient(TForm* form);
TKitLabel* AddStartFormTitle(TForm* form, const QString& name);
