#include "components/kitsysin.h"

#include <QGuiApplication>
#include <QOperatingSystemVersion>
#include <QScreen>
#include <pwd.h>
#include <unistd.h>

bool IsWin95Family = false;
bool IsWin98OrLater = false;
bool IsWinNT = true;
bool HasWindowsExtension = true;

std::uint8_t DisplayColorDepth()
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const QScreen* screen = app ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? std::uint8_t(screen->depth() & 0xFF) : 0;
}

std::uint16_t WindowsMinorVersion()
{
    return std::uint16_t(QOperatingSystemVersion::current().minorVersion() < 0
                             ? 0
                             : QOperatingSystemVersion::current().minorVersion());
}

QString KitUserNameOrUnknown(const QByteArray& name, bool found)
{
    // The name buffer holds 63 characters with the terminating zero.
    constexpr int kBufferSize = 63;
    if (!found || name.isEmpty() || name.size() + 1 > kBufferSize)
        return QStringLiteral("(Unknown)");
    return QString::fromLocal8Bit(name);
}

QString WindowsUserName()
{
    QByteArray name;
    bool found = false;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) {
        name = pw->pw_name;
        found = true;
    } else if (!qEnvironmentVariableIsEmpty("USER")) {
        name = qgetenv("USER");
        found = true;
    }
    return KitUserNameOrUnknown(name, found);
}
