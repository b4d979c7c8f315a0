#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "platform/forms.h"
#include "support/testutil.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and help files written by tests must not touch the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale::c());
    testing::InitGoogleTest(&argc, argv);
    LabApplication app(argc, argv);
    // Message boxes would wait for a user: record them instead.
    Application->MessageBoxHook = [](const QString& text, const QString&, unsigned) {
        testutil::messages() << text;
        return int(mrOk);
    };
    return RUN_ALL_TESTS();
}
