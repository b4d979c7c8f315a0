#include "platform/clock.h"

#include <chrono>
#include <cstdint>

namespace Clock {
namespace {
Source& current()
{
    static Source s;
    return s;
}

constexpr std::int64_t SecondsPerDay = 86400;
} // namespace

double ZoneTime::TimeOfDay(std::int64_t utcMicroseconds)
{
    const std::int64_t us = utcMicroseconds;
    const std::int64_t sec = us >= 0 ? us / 1000000 : (us - 999999) / 1000000;
    if (sec < m_validFrom || sec >= m_validUntil) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(sec, QTimeZone::utc());
        m_offset = m_zone.isValid() ? m_zone.offsetFromUtc(at) : 0;
        m_validFrom = sec;
        m_validUntil = INT64_MAX;
        if (m_zone.isValid() && m_zone.hasTransitions()) {
            const QTimeZone::OffsetData next = m_zone.nextTransition(at);
            if (next.atUtc.isValid())
                m_validUntil = next.atUtc.toSecsSinceEpoch();
        }
    }
    const std::int64_t localUs = us + m_offset * 1000000;
    const std::int64_t dayUs = SecondsPerDay * 1000000;
    return double((localUs % dayUs + dayUs) % dayUs) / 1e6;
}

double TimeOfDay()
{
    if (current().timeOfDay)
        return current().timeOfDay();
    using namespace std::chrono;
    // Per thread, so that readers on other threads need no lock.
    thread_local ZoneTime local(QTimeZone::systemTimeZone());
    return local.TimeOfDay(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count());
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
