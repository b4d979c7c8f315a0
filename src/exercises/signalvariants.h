#pragma once
// The teacher's table of all variants of the two signal works.

#include "models/signaltasks.h"

#include <QString>
#include <functional>

// The teacher's table: a header and one line per variant 1..100.
QString TeacherTableHeader();
QString TeacherTableLine(int N, const TSignalTask& Task);
QStringList TeacherTable(const std::function<TSignalTask(int)>& TaskOf);
