#pragma once
// The texts of the two signal works' variants: the window title a variant
// number gives and the teacher's table of all variants.

#include "models/signaltasks.h"

#include <QString>
#include <functional>

// The title followed by " - Тренировка" for N <= 0, else by " - Вариант N".
QString VariantCaption(const QString& Title, int N);

// The teacher's table: a header and one line per variant 1..100.
QString TeacherTableHeader();
QString TeacherTableLine(int N, const TSignalTask& Task);
QStringList TeacherTable(const std::function<TSignalTask(int)>& TaskOf);
