#pragma once
// The teacher's table of variants, one window shared by every exercise.

#include "platform/types.h"

#include <QStringList>

class TButton;
class TForm;
class TWinControl;
class TShowVarsForm;

// Made on first use, owned by the application.
extern TShowVarsForm* ShowVarsForm;

// Hides Exercise, shows Lines in the table window modally and shows
// Exercise again when it closes.
void ShowTeacherTable(TForm* Exercise, const QStringList& Lines);

// The teacher's button "Варианты" on Parent at Left, Width wide.
TButton* MakeVariantsButton(TWinControl* Parent, int Left, int Width, TNotifyEvent OnClick);
