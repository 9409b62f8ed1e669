#pragma once
/// A window timer with the platform's rules: enabling a timer that is already enabled does not
/// restart its interval (QTimer::start would); changing the interval of a running timer does.

#include <QObject>
#include <QTimer>
#include <functional>

namespace r73 {

class TTimer : public QObject
{
public:
    explicit TTimer(QObject* parent = nullptr, int intervalMs = 1000);

    bool Enabled() const { return m_timer.isActive(); }
    void setEnabled(bool on);
    int Interval() const { return m_timer.interval(); }
    void setInterval(int ms);
    /// The handler that each tick runs.
    void setOnTimer(std::function<void()> handler) { m_onTimer = std::move(handler); }
    /// Runs the handler as a tick would (tests and callers that need one tick now).
    void fire();

private:
    QTimer m_timer;
    std::function<void()> m_onTimer;
};

} // namespace r73
