#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/forms.h"
#include "support/globals.h"
#include "support/testutil.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings written by tests go to a home of this run only: never to the
    // user's own, and never to one that test programs running side by side
    // share.
    QTemporaryDir home(QDir::tempPath() + "/labtest-XXXXXX");
    if (!home.isValid())
        qFatal("no temporary folder for the tests' settings");
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString dir = home.filePath(QString::fromLatin1(var).mid(4).toLower());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(var, QFile::encodeName(dir));
    }
    QLocale::setDefault(QLocale::c());
    testing::InitGoogleTest(&argc, argv);
    LabApplication app(argc, argv);
    // Message boxes would wait for a user: record them instead.
    Application->MessageBoxHook = [](const QString& text, const QString&, unsigned) {
        testutil::messages() << text;
        return int(mrOk);
    };
    testutil::startKeepingGlobals();
    return RUN_ALL_TESTS();
}
