#include "controls/osversion.h"

#include <cstdlib>
#include <sys/utsname.h>

namespace OsVersion {

std::uint8_t PlatformCode(int platformId)
{
    switch (platformId) {
    case 0: return PlatformWin32s;
    case 1: return PlatformWindows;
    case 2: return PlatformNT;
    default: return PlatformOther;
    }
}

Info FromRelease(const std::string& release)
{
    Info info;
    std::int32_t parts[3] = {0, 0, 0};
    const char* p = release.c_str();
    for (int i = 0; i < 3 && *p; ++i) {
        char* end = nullptr;
        const long v = std::strtol(p, &end, 10);
        if (end == p)
            break;
        parts[i] = std::int32_t(v);
        p = end;
        if (*p != '.')
            break;
        ++p;
    }
    info.Major = parts[0];
    info.Minor = parts[1];
    info.Build = parts[2] & 0xFFFF;
    return info;
}

const Info& Current()
{
    static const Info info = [] {
        utsname u{};
        Info i = uname(&u) == 0 ? FromRelease(u.release) : Info{};
        i.Platform = PlatformOther;
        return i;
    }();
    return info;
}

} // namespace OsVersion
