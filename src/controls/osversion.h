#pragma once
// The operating system's platform and version, read once.

#include <cstdint>
#include <string>

namespace OsVersion {

enum : std::uint8_t { PlatformOther = 0, PlatformWin32s = 2, PlatformNT = 3, PlatformWindows = 4 };

struct Info {
    std::uint8_t Platform = PlatformOther;
    std::int32_t Major = 0;
    std::int32_t Minor = 0;
    std::int32_t Build = 0; // low 16 bits
};

const Info& Current();
// Platform code for a reported platform identifier (0, 1, 2; others 0).
std::uint8_t PlatformCode(int platformId);
// Major, minor and build from a release text such as "6.1.27-generic".
Info FromRelease(const std::string& release);

} // namespace OsVersion
