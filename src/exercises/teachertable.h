#pragma once
// The teacher's table of variants, one window shared by every exercise.

#include <QStringList>

class TForm;
class TShowVarsForm;

// Made on first use, owned by the application.
extern TShowVarsForm* ShowVarsForm;

// Hides Exercise, shows Lines in the table window modally and shows
// Exercise again when it closes.
void ShowTeacherTable(TForm* Exercise, const QStringList& Lines);
