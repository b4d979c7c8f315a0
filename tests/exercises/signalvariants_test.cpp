// The teacher's table.

#include "exercises/signalvariants.h"

#include <QLocale>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(SignalVariants, TeacherTableLines)
{
    const QStringList lines = TeacherTable(APSignalTask);
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines[0], "Вар.\tЧастота   \tАмплитуда ");
    EXPECT_EQ(lines[1], "  1\t       500\t    0.5000");
    EXPECT_EQ(lines[100], "100\t       200\t    8.0000");
    EXPECT_EQ(TeacherTable(LissajouTask)[7], "  7\t    100000\t    3.0000");

    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(TeacherTableLine(3, APSignalTask(3)), "  3\t      1000\t    0,0200");
    QLocale::setDefault(QLocale::c());
}

} // namespace
