#pragma once
/// Keeps the window alive during the controller exchanges: while the link waits, the window's
/// loop turns without user input, so the window repaints and answers the desktop's liveness
/// checks, and a wait cursor shows that the program works.
///
/// Why a loop that excludes user input, not the link on a worker thread: every handler and the
/// link stay on the one GUI thread, so the order of the exchanges and every change of the
/// window's state are untouched by construction; a thread would need every widget access of
/// the page handlers marshalled back. Keys and clicks stay queued by the window system, in
/// order, and are delivered once the sequence has returned to the loop. What is not user input
/// is checked where it could start a handler inside a sequence: timer ticks are skipped
/// (TTimer), a close request waits for the end of the sequence (afterSequence).
///
/// A sequence that the operator may stop (the history pass) cannot leave its input in the
/// window system: the stop would come too late. Its turns take user input too, but hold every
/// key and click at the window's door, except the stop, and hand them on, in order, once the
/// sequence has ended.

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace r73 {

class WindowKeepAlive : public QObject
{
public:
    /// Installs itself as the link's keep-alive; one at a time.
    explicit WindowKeepAlive(QObject* parent = nullptr);
    ~WindowKeepAlive() override;

    /// The one installed, or null.
    static WindowKeepAlive* instance();
    /// True from the first turn of a sequence until it has returned to the loop it started in.
    bool inSequence() const { return m_sequence; }
    /// Runs f once the running sequence has ended, or at once when none runs.
    void afterSequence(std::function<void()> f);
    /// Runs before each turn while set: a long sequence shows how far it is.
    void setProgress(std::function<void()> progress) { m_progress = std::move(progress); }
    /// While set, a key or mouse press during an exchange goes to stop(event, target widget)
    /// first; when it returns true the press (and its release) is taken as the stop.
    void setStopInput(std::function<bool(QEvent*, QWidget*)> stop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void turn();
    void checkEnd();
    void showWaitCursor(bool on);
    void holdInput(bool on);
    void deliverHeld();

    QTimer m_endCheck;
    bool m_sequence = false;
    bool m_cursor = false;
    QWidget* m_modalAtStart = nullptr;
    std::function<void()> m_progress;
    std::vector<std::function<void()>> m_after;
    std::function<bool(QEvent*, QWidget*)> m_stop;
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::deque<Held> m_held;
    bool m_holding = false;
    bool m_delivering = false;
    QEvent::Type m_swallowRelease = QEvent::None;
};

/// Lets the input that stop() takes end a sequence early; cleared when the scope ends.
class SequenceStop
{
public:
    explicit SequenceStop(std::function<bool(QEvent*, QWidget*)> stop);
    ~SequenceStop();
    SequenceStop(const SequenceStop&) = delete;
    SequenceStop& operator=(const SequenceStop&) = delete;
};

/// Shows a sequence's progress while it runs; cleared when the scope ends.
class SequenceProgress
{
public:
    explicit SequenceProgress(std::function<void()> progress);
    ~SequenceProgress();
    SequenceProgress(const SequenceProgress&) = delete;
    SequenceProgress& operator=(const SequenceProgress&) = delete;
};

} // namespace r73
