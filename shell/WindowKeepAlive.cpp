#include "WindowKeepAlive.h"

#include "KeepAlive.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace r73 {

namespace {
WindowKeepAlive* g_instance = nullptr;
/// How often the end of a sequence is looked for while it runs.
constexpr int EndCheckMs = 20;
} // namespace

WindowKeepAlive::WindowKeepAlive(QObject* parent) : QObject(parent)
{
    g_instance = this;
    m_endCheck.setSingleShot(true);
    connect(&m_endCheck, &QTimer::timeout, this, &WindowKeepAlive::checkEnd);
    setKeepAliveHook([this] { turn(); });
}

WindowKeepAlive::~WindowKeepAlive()
{
    if (g_instance != this) return;
    setKeepAliveHook({});
    showWaitCursor(false);
    g_instance = nullptr;
}

WindowKeepAlive* WindowKeepAlive::instance()
{
    return g_instance;
}

void WindowKeepAlive::turn()
{
    if (!m_sequence) {
        m_sequence = true;
        m_modalAtStart = QApplication::activeModalWidget();
        m_endCheck.start(0);
    }
    showWaitCursor(true);
    if (m_progress) m_progress();
    // Keys and clicks stay queued in the window system, in their order; paint requests,
    // the desktop's pings and timers are served. With a stop, the input comes in to be held.
    QCoreApplication::processEvents(m_stop ? QEventLoop::AllEvents
                                           : QEventLoop::ExcludeUserInputEvents);
}

void WindowKeepAlive::setStopInput(std::function<bool(QEvent*, QWidget*)> stop)
{
    m_stop = std::move(stop);
    if (m_stop)
        holdInput(true);
    else if (m_held.empty())
        holdInput(false);
}

void WindowKeepAlive::holdInput(bool on)
{
    if (on == m_holding) return;
    m_holding = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
        return true;
    default:
        return false;
    }
}

/// The widget a press at the window's door is meant for.
QWidget* targetOf(QObject* window, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) return QApplication::focusWidget();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == window) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            QWidget* child = top->childAt(at);
            return child ? child : top;
        }
    return nullptr;
}

} // namespace

bool WindowKeepAlive::eventFilter(QObject* watched, QEvent* event)
{
    // Only at the windows' doors, where the window system's input comes in: what the window
    // hands on to its widgets is then already held or delivered.
    if (m_delivering || !watched->isWindowType()) return false;
    const bool hold = (insideExchange() && m_stop) || !m_held.empty();
    if (!hold) return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Taken here, the key's shortcut does not run now; delivered later, the key runs it.
        event->accept();
        return true;
    }
    if (!isUserInput(event->type())) return false;
    if (event->type() == m_swallowRelease) {
        m_swallowRelease = QEvent::None;
        return true;
    }
    const bool press =
        event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress;
    // The stop acts now, ahead of what is held (a click comes after its pointer's move).
    if (press && insideExchange() && m_stop && m_stop(event, targetOf(watched, event))) {
        m_swallowRelease =
            event->type() == QEvent::KeyPress ? QEvent::KeyRelease : QEvent::MouseButtonRelease;
        return true;
    }
    if (m_held.empty()) afterSequence([this] { deliverHeld(); });
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void WindowKeepAlive::deliverHeld()
{
    // One by one: a key may start a sequence of its own, input after it waits behind it.
    m_delivering = true;
    while (!m_held.empty()) {
        Held next = std::move(m_held.front());
        m_held.pop_front();
        if (next.receiver) QCoreApplication::sendEvent(next.receiver, next.event.get());
    }
    m_delivering = false;
    if (!m_stop) holdInput(false);
}

void WindowKeepAlive::checkEnd()
{
    // Fired inside a turn, the sequence still runs. A message box that the sequence opened
    // runs a loop of its own: the sequence goes on once it closes.
    const bool boxOfTheSequence = QApplication::activeModalWidget() != m_modalAtStart;
    if (insideExchange() || boxOfTheSequence) {
        if (boxOfTheSequence) showWaitCursor(false);
        m_endCheck.start(EndCheckMs);
        return;
    }
    m_sequence = false;
    showWaitCursor(false);
    const auto after = std::exchange(m_after, {});
    for (const auto& f : after)
        f();
}

void WindowKeepAlive::afterSequence(std::function<void()> f)
{
    if (!m_sequence) {
        f();
        return;
    }
    m_after.push_back(std::move(f));
}

void WindowKeepAlive::showWaitCursor(bool on)
{
    if (on == m_cursor) return;
    m_cursor = on;
    if (on)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

SequenceStop::SequenceStop(std::function<bool(QEvent*, QWidget*)> stop)
{
    if (WindowKeepAlive* k = WindowKeepAlive::instance()) k->setStopInput(std::move(stop));
}

SequenceStop::~SequenceStop()
{
    if (WindowKeepAlive* k = WindowKeepAlive::instance()) k->setStopInput({});
}

SequenceProgress::SequenceProgress(std::function<void()> progress)
{
    if (WindowKeepAlive* k = WindowKeepAlive::instance()) k->setProgress(std::move(progress));
}

SequenceProgress::~SequenceProgress()
{
    if (WindowKeepAlive* k = WindowKeepAlive::instance()) k->setProgress({});
}

} // namespace r73
