#include "platform/clock.h"

#include <chrono>
#include <cstdint>
#include <ctime>

namespace Clock {
namespace {
Source& current()
{
    static Source s;
    return s;
}

constexpr std::int64_t SecondsPerDay = 86400;
// How long a zone offset is trusted: a daylight-saving change shows in the
// time of day within this many seconds.
constexpr std::int64_t OffsetLifetime = 60;

// The local zone's offset from UTC at `t`. The zone itself is read once per
// process: asking the C library or Qt for local time at every reading would
// look at the zone file each time.
std::int64_t utcOffset(std::time_t t)
{
    static const bool zoneRead = [] {
        tzset();
        return true;
    }();
    (void)zoneRead;
    std::tm local{};
    if (!localtime_r(&t, &local))
        return 0;
    return local.tm_gmtoff;
}
} // namespace

double TimeOfDay()
{
    if (current().timeOfDay)
        return current().timeOfDay();
    using namespace std::chrono;
    const std::int64_t us = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    const std::int64_t sec = us >= 0 ? us / 1000000 : (us - 999999) / 1000000;
    // Per thread, so that readers on other threads need no lock.
    thread_local std::int64_t offset = 0, validFrom = INT64_MIN;
    // Taken again when it is a minute old or the clock was set back.
    if (sec < validFrom || sec >= validFrom + OffsetLifetime) {
        offset = utcOffset(std::time_t(sec));
        validFrom = sec;
    }
    const std::int64_t localUs = us + offset * 1000000;
    const std::int64_t dayUs = SecondsPerDay * 1000000;
    return double((localUs % dayUs + dayUs) % dayUs) / 1e6;
}

double Monotonic()
{
    if (current().monotonic)
        return current().monotonic();
    using namespace std::chrono;
    return duration_cast<duration<double>>(steady_clock::now().time_since_epoch()).count();
}

Source SetSource(Source s)
{
    Source old = current();
    current() = std::move(s);
    return old;
}

Manual::Manual(double timeOfDay, double monotonic) : m_tod(timeOfDay), m_mono(monotonic)
{
    m_saved = SetSource({[this] { return m_tod; }, [this] { return m_mono; }});
}

Manual::~Manual()
{
    SetSource(m_saved);
}

} // namespace Clock
