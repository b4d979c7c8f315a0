#include "exercises/signalvariants.h"

#include "platform/numtext.h"

#include <QStringList>

QString TeacherTableHeader()
{
    return QStringLiteral("Вар.\tЧастота   \tАмплитуда ");
}

QString TeacherTableLine(int N, const TSignalTask& Task)
{
    return Format("%3d\t%10.0f\t%10.4f", N, Task.Frequency, Task.Amplitude);
}

QStringList TeacherTable(const std::function<TSignalTask(int)>& TaskOf)
{
    QStringList lines{TeacherTableHeader()};
    for (int i = 1; i <= 100; ++i)
        lines << TeacherTableLine(i, TaskOf(i));
    return lines;
}
