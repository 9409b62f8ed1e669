#include "TimerWrapper.h"

#include "KeepAlive.h"

namespace r73 {

TTimer::TTimer(QObject* parent, int intervalMs) : QObject(parent)
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TTimer::fire);
}

void TTimer::setEnabled(bool on)
{
    if (on && !m_timer.isActive())
        m_timer.start();
    else if (!on)
        m_timer.stop();
}

void TTimer::setInterval(int ms)
{
    if (ms == m_timer.interval()) return;
    m_timer.setInterval(ms); // QTimer restarts a running timer, as the platform timer does
}

void TTimer::fire()
{
    // A tick that falls inside an exchange sequence is skipped, not run inside it: the next
    // tick comes an interval later, as after a tick the platform merged.
    if (insideExchange()) return;
    if (m_onTimer) m_onTimer();
}

} // namespace r73
