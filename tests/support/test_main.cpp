#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "platform/forms.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and help files written by tests must not touch the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale::c());
    testing::InitGoogleTest(&argc, argv);
    LabApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
