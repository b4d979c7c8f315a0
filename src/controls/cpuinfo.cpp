#include "controls/cpuinfo.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <thread>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <x86intrin.h>
#define LAB_HAVE_CPUID 1
#endif

namespace CpuInfo {

namespace {

struct Facts {
    bool available = false;
    Signature sig;
    std::string vendor;
};

const Facts& facts()
{
    static const Facts f = [] {
        Facts r;
#ifdef LAB_HAVE_CPUID
        unsigned a = 0, b = 0, c = 0, d = 0;
        if (__get_cpuid(0, &a, &b, &c, &d)) {
            r.available = true;
            char v[13] = {};
            std::memcpy(v, &b, 4);
            std::memcpy(v + 4, &d, 4);
            std::memcpy(v + 8, &c, 4);
            r.vendor = v;
            if (__get_cpuid(1, &a, &b, &c, &d))
                r.sig = {std::int32_t(a), std::int32_t(b), std::int32_t(c), std::int32_t(d)};
        }
#endif
        return r;
    }();
    return f;
}

int measureClock()
{
#ifdef LAB_HAVE_CPUID
    // A quarter of a second of sleeping, not spinning, is enough for a
    // counter that runs at a constant rate.
    using clock = std::chrono::steady_clock;
    const auto t1 = clock::now();
    const std::uint64_t c1 = __rdtsc();
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const std::uint64_t c2 = __rdtsc();
    const auto t2 = clock::now();
    const double ms = std::chrono::duration<double, std::milli>(t2 - t1).count();
    return ClockFromCounts(c1, c2, ms);
#else
    return -1;
#endif
}

} // namespace

bool CpuidAvailable() { return facts().available; }
Signature CpuSignature() { return facts().sig; }
std::string VendorText() { return facts().vendor; }

int Family()
{
    if (!facts().available)
        return -1;
    return int((std::uint32_t(facts().sig.Eax) >> 8) & 0xF);
}

int ClockFromCounts(std::uint64_t c1, std::uint64_t c2, double elapsedMs)
{
    if (c2 <= c1 || !(elapsedMs > 0))
        return -1;
    const double perSecond = double(c2 - c1) * 1000.0 / elapsedMs;
    const double mhz = std::nearbyint(perSecond / 1000000.0 + 0.66);
    return mhz > 2147483647.0 ? -1 : int(mhz);
}

int ClockForFamily(int family, int measured)
{
    if (family < 0)
        return 0;
    if (family < 5)
        return -1;
    return measured;
}

const Appearance& DefaultAppearance()
{
    static const Appearance a;
    return a;
}

int ClockMHz()
{
    static std::once_flag once;
    static int mhz = 0;
    std::call_once(once, [] {
        const int fam = Family();
        mhz = ClockForFamily(fam, fam >= 5 ? measureClock() : -1);
    });
    return mhz;
}

} // namespace CpuInfo
