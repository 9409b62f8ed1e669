// The window stays alive during the controller exchanges, and nothing re-enters: keys, clicks
// and a close that arrive from the window system during a sequence wait for its end, in order;
// timer ticks that fall inside it are skipped.

#include "ConnectFixture.h"
#include "Forms.h"
#include "KeepAlive.h"
#include "TimerWrapper.h"

#include <QPushButton>
#include <QThread>
#include <qpa/qwindowsysteminterface.h>

using namespace r73;
using r73::test::ConnectFixture;

namespace {

using Async = QWindowSystemInterface::AsynchronousDelivery;

/// Brings a connected window to the start of the sequence; the page it starts on.
int prepare(ConnectFixture& f, const QString& sequence)
{
    f.engine.machine().history().setLive(false); // the same history in every run
    if (sequence == "connect") return 0;
    f.connect();
    f.window->Timer1().setEnabled(false);
    f.window->Timer3().setEnabled(false);
    if (sequence == "history") {
        programState().historyReading = true;
        f.window->form().TabbedNotebook1->setCurrentIndex(5);
        while (f.window->PollPhase() != 2)
            f.window->Timer1Timer();
    }
    programState().clampChanged = programState().releaseChanged =
        true; // F5 on the first page saves both sets
    f.engine.clearLog();
    return f.window->form().TabbedNotebook1->currentIndex();
}

void runSequence(ConnectFixture& f, const QString& sequence)
{
    if (sequence == "history")
        f.window->Timer1Timer();
    else
        f.key(sequence == "connect" ? Qt::Key_F7 : Qt::Key_F5);
}

} // namespace

class TstAlive : public QObject
{
    Q_OBJECT
private slots:
    void inputDuringASequenceWaitsForItsEnd_data();
    void inputDuringASequenceWaitsForItsEnd();
};

void TstAlive::inputDuringASequenceWaitsForItsEnd_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QString>("input");
    for (const char* sequence : {"connect", "history", "save"})
        for (const char* input : {"F3", "click", "close"})
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(sequence, input)))
                << QString(sequence) << QString(input);
    // The pass is the sequence that the operator can stop.
    QTest::newRow("history, Esc") << "history"
                                  << "Esc";
    QTest::newRow("history, Stop") << "history"
                                   << "Stop";
}

void TstAlive::inputDuringASequenceWaitsForItsEnd()
{
    QFETCH(QString, sequence);
    QFETCH(QString, input);
    QStringList expected;
    {
        ConnectFixture reference;
        prepare(reference, sequence);
        runSequence(reference, sequence);
        expected = reference.engine.summaries();
    }
    ConnectFixture f;
    const int page = prepare(f, sequence);
    QWindow* window = f.window->windowHandle();
    const int start = f.engine.completedExchanges();
    bool injected = false;
    f.port->afterWrite = [&] {
        if (injected || f.engine.completedExchanges() < start + 2) return;
        injected = true;
        if (input == "F3" || input == "Esc") {
            const int key = input == "F3" ? Qt::Key_F3 : Qt::Key_Escape;
            for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                QWindowSystemInterface::handleKeyEvent<Async>(window, type, key, Qt::NoModifier);
        } else if (input == "click" || input == "Stop") {
            QPushButton* next = input == "click" ? f.window->form().bbtnVor
                                                 : f.window->form().pgLogbuch->ui().Button8;
            const QPointF at = next->mapTo(f.window.get(), next->rect().center());
            for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QWindowSystemInterface::handleMouseEvent<Async>(
                    window, at, window->mapToGlobal(at),
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                    Qt::LeftButton, type);
        } else {
            QWindowSystemInterface::handleCloseEvent<Async>(window);
        }
        // A tick due in the middle of the sequence.
        f.window->Timer1().setInterval(1);
        f.window->Timer1().setEnabled(true);
        // The simulator answers at once, the line is never quiet: the window's turn comes at
        // the next read once it is overdue.
        QThread::msleep(2 * KeepAliveIntervalMs + 5);
    };
    runSequence(f, sequence);
    QVERIFY(injected);
    if (input == "Esc" || input == "Stop") {
        // Over at the next element, the readout switched off.
        const QStringList log = f.engine.summaries();
        QCOMPARE(log, expected.mid(0, log.size()));
        QVERIFY2(log.count("call _@HIST_ELEMENT") <= 2, qPrintable(log.join(',')));
        QVERIFY(!programState().historyReading);
        QCOMPARE(f.window->form().pgLogbuch->ui().Button8->text(), QString("Lesen"));
        return;
    }
    // Whole and in order, as without the input and the tick.
    QCOMPARE(f.engine.summaries().mid(0, expected.size()), expected);
    if (input == "close") {
        QTRY_VERIFY(!f.window->isVisible());
        QVERIFY(f.engine.summaries().mid(expected.size()).contains("call TEST_STOP"));
    } else {
        // Delivered once the sequence had ended: the next page.
        QTRY_COMPARE(f.window->form().TabbedNotebook1->currentIndex(), page + 1);
    }
}

QTEST_MAIN(TstAlive)
#include "tst_alive.moc"
