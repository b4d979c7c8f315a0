#pragma once
// Model time and elapsed time.  Model time is the time of day in seconds
// (what the instruments show); elapsed times for animations and easing come
// from a monotonic clock so that midnight or a reset clock never freezes or
// bursts them.  Tests replace the source with their own.

#include <QTimeZone>

#include <cstdint>
#include <functional>

namespace Clock {

// Seconds since local midnight, microsecond resolution.
double TimeOfDay();
// Seconds on a steady clock with an arbitrary origin.
double Monotonic();

struct Source {
    std::function<double()> timeOfDay;
    std::function<double()> monotonic;
};
// Installs a source (empty functions keep the real clock); returns the old one.
Source SetSource(Source s);

// The time of day in a zone at a UTC instant.  The zone's offset is taken
// together with the zone's next transition and taken again there (or when
// the clock is set back), so the time of day is exact at every instant and
// a reading costs no look at the zone's rules.
class ZoneTime {
public:
    explicit ZoneTime(QTimeZone zone) : m_zone(std::move(zone)) {}
    double TimeOfDay(std::int64_t utcMicroseconds);

private:
    QTimeZone m_zone;
    std::int64_t m_offset = 0;
    // The offset holds for the UTC seconds in [m_validFrom, m_validUntil).
    std::int64_t m_validFrom = INT64_MAX;
    std::int64_t m_validUntil = INT64_MIN;
};

// A manual clock for tests: both readings advance together.
class Manual {
public:
    explicit Manual(double timeOfDay = 36000.0, double monotonic = 1000.0);
    ~Manual();
    void Advance(double seconds) { m_tod += seconds; m_mono += seconds; }
    void SetTimeOfDay(double t) { m_tod = t; }
    double tod() const { return m_tod; }
    double mono() const { return m_mono; }

private:
    double m_tod;
    double m_mono;
    Source m_saved;
};

} // namespace Clock
