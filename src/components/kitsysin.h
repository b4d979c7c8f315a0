#pragma once
// A few facts about the machine for the rest of the library: the display's
// colour depth, the login name and the platform family.

#include <QString>
#include <cstdint>

// The family flags as a modern system reports them: the NT family, which
// makes a pattern brush from a bitmap of any size.
extern bool IsWin95Family;
extern bool IsWin98OrLater;
extern bool IsWinNT;
extern bool HasWindowsExtension;

// Bits per pixel of the display (low byte); 0 without a screen.
std::uint8_t DisplayColorDepth();
std::uint16_t WindowsMinorVersion();
// The login name, or "(Unknown)" when there is none or it is longer than the
// 62 characters the name buffer takes.
QString WindowsUserName();
// The rule behind WindowsUserName, for a name obtained elsewhere.
QString KitUserNameOrUnknown(const QByteArray& name, bool found);
