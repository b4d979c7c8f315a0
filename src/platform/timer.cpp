#include "platform/timer.h"

#include "platform/forms.h"

#include <QTimer>
#include <algorithm>

TTimer::TTimer(QObject* owner) : TComponent(owner), m_timer(new QTimer(this))
{
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, [this] {
        // The next wait is counted from this tick, before the handler runs
        // (it may stop the timer), so its own duration adds no drift.
        if (m_wander > 0)
            m_timer->setInterval(nextWait());
        Guarded([this] {
            if (OnTimer)
                OnTimer(this);
        });
    });
    update();
}

void TTimer::SetInterval(int ms)
{
    m_interval = ms;
    update();
}

void TTimer::SetEnabled(bool v)
{
    m_enabled = v;
    update();
}

void TTimer::SetWander(int ms)
{
    m_wander = std::max(ms, 0);
    update();
}

int TTimer::nextWait()
{
    if (m_wander <= 0)
        return m_interval;
    const int offset = int(m_random() % unsigned(2 * m_wander + 1)) - m_wander;
    return std::max(m_interval + offset, 1);
}

void TTimer::update()
{
    if (m_enabled && m_interval > 0)
        m_timer->start(nextWait());
    else
        m_timer->stop();
}
