#include "platform/clock.h"

#include <QDateTime>
#include <QTime>
#include <chrono>

namespace Clock {
namespace {
Source& current()
{
    static Source s;
    return s;
}
} // namespace

double TimeOfDay()
{
    if (current().timeOfDay)
        return current().timeOfDay();
    QDateTime now = QDateTime::currentDateTime();
    QDateTime midnight(now.date(), QTime(0, 0));
    return midnight.msecsTo(now) / 1000.0 + (std::chrono::duration_cast<std::chrono::microseconds>(
                                                 std::chrono::system_clock::now().time_since_epoch())
                                                     .count() % 1000) / 1e6;
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
