// The whole program on a real message loop, as the program entry runs it: how it ends after the
// fatal error report, and that F7 held or pressed twice during the connect does not end it.

#include "Forms.h"
#include "NorloIni.h"
#include "ProgramState.h"
#include "ProgramWindows.h"
#include "SimPort.h"
#include "StrictLine.h"
#include "TestEnv.h"
#include "TimerWrapper.h"
#include "Translate.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

using namespace r73;

namespace {

/// The program's windows on the simulated controller, and its message loop.
struct ProgramFixture
{
    ProgramFixture() : engine(sim::SimConfig{})
    {
        resetProgramState();
        CurrentLanguage = 0;
        port = &env.install(std::make_unique<test::SimPort>(engine));
        windows = std::make_unique<ProgramWindows>();
    }
    TForm1& w() { return windows->mainWindow; }
    void pressF7() { QTest::keyClick(&w(), Qt::Key_F7); }
    /// Runs the loop as the program entry does, with onShown inside the main window's modal
    /// loop; the loop's result, -1 if the program did not end in time.
    int run(const std::function<void()>& onShown)
    {
        windows->start();
        QTimer::singleShot(0, [this, onShown] {
            QApplication::setActiveWindow(&w());
            onShown();
        });
        QTimer::singleShot(15000, [] { QCoreApplication::exit(-1); });
        return QApplication::exec();
    }

    test::TestEnv env{1, 200};
    sim::SimEngine engine;
    test::SimPort* port = nullptr;
    test::StrictLine strict{engine};
    std::unique_ptr<ProgramWindows> windows;
};

} // namespace

class TstProgram : public QObject
{
    Q_OBJECT
private slots:
    void fatalReportEndsTheProgramOnce_data();
    void fatalReportEndsTheProgramOnce();
    void f7HeldOrQueuedDuringTheConnectIsDropped();
    void unwritableConfigFileIsToldOnceAtStart();
};

void TstProgram::fatalReportEndsTheProgramOnce_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("connecting") << "connect";
    QTest::newRow("polling") << "poll";
    QTest::newRow("live analog page") << "analog";
}

void TstProgram::fatalReportEndsTheProgramOnce()
{
    QFETCH(QString, when);
    ProgramFixture f;
    QList<MessageRequest> boxes;
    qint64 writtenAtFatal = -1;
    setMessageHandler([&](const MessageRequest& r) {
        boxes << r;
        if (r.icon == MsgIcon::Error) writtenAtFatal = f.port->bytesWritten;
        QTest::qWait(150); // the box's own loop, in which timers tick on
        return defaultAnswer(r.buttons);
    });
    const int result = f.run([&] {
        if (when == "connect") f.engine.faults().silentAfter = 60;
        f.pressF7();
        if (when == "analog") f.w().form().TabbedNotebook1->setCurrentIndex(9);
        if (when != "connect") f.engine.faults().silentAfter = f.engine.completedExchanges();
        // The poll fails first; the live page's timer then ticks in the box's loop, fails again
        // and must not bring a second box.
        if (when != "connect") {
            f.w().Timer1().setInterval(10);
            f.w().Timer1().setEnabled(true);
        }
        f.w().Timer4().setInterval(30);
    });
    QCOMPARE(result, 0);
    QCOMPARE(boxes.size(), 1); // no second report, no disconnect reminder
    QCOMPARE(boxes[0].text, QString::fromUtf8("Kommunikation mit dem R73-Controller gestört! "
                                              "Programm wird beendet! Bitte neu starten!"));
    QCOMPARE(f.port->bytesWritten, writtenAtFatal); // nothing sent after it, no "TEST_STOP"
}

void TstProgram::f7HeldOrQueuedDuringTheConnectIsDropped()
{
    ProgramFixture f;
    const auto pressF7 = [&f] { f.pressF7(); };
    // A press that waits behind the connect's exchanges, as a real one does.
    bool queued = false;
    f.port->afterWrite = [&] {
        if (f.engine.completedExchanges() > 50 && !std::exchange(queued, true))
            QTimer::singleShot(0, pressF7);
    };
    bool stillRunning = false;
    const int result = f.run([&] {
        QTimer::singleShot(0, pressF7); // pressed again while the window repaints
        pressF7();
        qt_sendShortcutOverrideEvent(&f.w(), 0, Qt::Key_F7, Qt::NoModifier, {}, true); // held
        QTimer::singleShot(100, [&] {
            stillRunning = programState().connected && f.w().isVisible() && f.env.boxes.isEmpty() &&
                           f.engine.summaries().count("call TEST_START") == 1 &&
                           !f.windows->startWindow.isVisible(); // no empty window beside it
            pressF7(); // the deliberate second press ends the program
        });
    });
    QCOMPARE(result, 0);
    QVERIFY(stillRunning);
    QCOMPARE(f.env.boxes.size(), 1);
    QCOMPARE(f.env.boxes[0].text, QString("Verbindung zum R73 trennen!"));
    QVERIFY(f.engine.summaries().contains("call TEST_STOP"));
}

void TstProgram::unwritableConfigFileIsToldOnceAtStart()
{
    ProgramFixture f;
    const QString ini = configFilePath();
    QVERIFY(QFile::remove(ini) && QDir().mkdir(ini)); // a folder of that name
    QCOMPARE(f.run([] { QCoreApplication::exit(0); }), 0);
    QCOMPARE(f.env.boxes.size(), 1);
    QCOMPARE(f.env.boxes[0].icon, MsgIcon::Warning);
    QCOMPARE(f.env.boxes[0].text,
             QStringLiteral("Die Konfigurationsdatei %1 kann nicht geschrieben werden: ist ein "
                            "Ordner. Einstellungen werden nicht gespeichert.")
                 .arg(ini));
}

QTEST_MAIN(TstProgram)
#include "tst_program.moc"
