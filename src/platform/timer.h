#pragma once
// The component timer: OnTimer every Interval milliseconds while Enabled,
// on the GUI thread, with exceptions going to the application's handler.

#include "platform/controls.h"

#include <random>

class QTimer;

class TTimer : public TComponent {
    Q_OBJECT
public:
    explicit TTimer(QObject* owner = nullptr);
    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool v);
    // Lets every tick come up to `ms` milliseconds early or late, at random,
    // each wait measured from the tick before, so that the tick times drift
    // against the clock as a desktop timer's do; 0 (the default) keeps a
    // steady beat.  A picture drawn on every tick from the time of day then
    // does not catch a signal whose period divides the interval at the same
    // phase for good. The sequence is the same in every run: it has only to
    // break the lock, and the desktop's own delivery of ticks varies anyway.
    int Wander() const { return m_wander; }
    void SetWander(int ms);
    TNotifyEvent OnTimer;
    // The underlying timer; its interval is the wait for the next tick.
    QTimer* Timer() const { return m_timer; }

private:
    void update();
    int nextWait();
    QTimer* m_timer;
    int m_interval = 1000;
    int m_wander = 0;
    bool m_enabled = true;
    std::minstd_rand m_random;
};
