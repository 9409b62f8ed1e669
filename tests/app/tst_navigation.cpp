// Function keys, page changes and the pause of polling while typing, on a connected window.

#include "ConnectFixture.h"
#include "Forms.h"
#include "ProgramState.h"
#include "TimerWrapper.h"

#include <QLineEdit>

using namespace r73;
using r73::test::ConnectFixture;

class TstNavigation : public QObject
{
    Q_OBJECT
private slots:
    void keysBeforeConnectDoNothing();
    void previousAndNextStopAtTheEnds();
    void sendAndSaveOnPagesWithoutFields_data();
    void sendAndSaveOnPagesWithoutFields();
    void f8ToF10DoNothing();
    void typingPausesPollingUntilTimer3();
    void pollPhasesByVersion_data();
    void pollPhasesByVersion();
    void pollLocationCodes_data();
    void pollLocationCodes();
};

void TstNavigation::keysBeforeConnectDoNothing()
{
    ConnectFixture f;
    for (Qt::Key k : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5})
        f.key(k);
    Ui::TForm1& ui = f.window->form();
    QCOMPARE(ui.TabbedNotebook1->currentIndex(), 0);
    QCOMPARE(ui.pgSpannen->ui().Panel11->text(), QString());
    QVERIFY(!f.window->Timer2().Enabled());
    QVERIFY(f.engine.summaries().isEmpty());
}

void TstNavigation::previousAndNextStopAtTheEnds()
{
    ConnectFixture f;
    f.connect();
    Ui::TForm1& ui = f.window->form();
    ui.pgSpannen->ui().Edit11->setFocus();
    f.key(Qt::Key_F2);
    QCOMPARE(ui.TabbedNotebook1->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui.pgSpannen->ui().Edit10));
    for (int i = 0; i < 12; ++i)
        f.key(Qt::Key_F3);
    QCOMPARE(ui.TabbedNotebook1->currentIndex(), 9);
    QVERIFY(f.window->Timer4().Enabled());
    f.window->Timer4().setEnabled(false);
    f.key(Qt::Key_F3); // the page-9 action runs again
    QVERIFY(f.window->Timer4().Enabled());
    f.key(Qt::Key_F2);
    QCOMPARE(ui.TabbedNotebook1->currentIndex(), 8);
    f.window->Timer4Timer(); // not on the live page: it stops itself
    QVERIFY(!f.window->Timer4().Enabled());
}

void TstNavigation::sendAndSaveOnPagesWithoutFields_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("status");
    QTest::newRow("F4 on SERVICE") << 4 << int(Qt::Key_F4) << "SENDEN";
    QTest::newRow("F4 on LOGBUCH") << 5 << int(Qt::Key_F4) << "SENDEN";
    QTest::newRow("F4 on ANALOGWERTE") << 9 << int(Qt::Key_F4) << "SENDEN";
    QTest::newRow("F5 on SERVICE") << 4 << int(Qt::Key_F5) << "SPEICHERN";
}

void TstNavigation::sendAndSaveOnPagesWithoutFields()
{
    QFETCH(int, page);
    QFETCH(int, key);
    QFETCH(QString, status);
    ConnectFixture f;
    f.connect();
    Ui::TForm1& ui = f.window->form();
    ui.TabbedNotebook1->setCurrentIndex(page);
    f.engine.clearLog();
    f.key(Qt::Key(key));
    for (QLabel* panel : {ui.pgSpannen->ui().Panel11, ui.pgZeiten->ui().Panel12,
                          ui.pgPlan->ui().Panel13, ui.pgSchwingung->ui().Panel14})
        QCOMPARE(panel->text(), status);
    QVERIFY(f.engine.summaries().isEmpty());
    QVERIFY(f.window->Timer2().Enabled());
    QCOMPARE(f.window->Timer2().Interval(), 700);
    f.window->Timer2().fire();
    QCOMPARE(ui.pgPlan->ui().Panel13->text(), QString(" "));
    QVERIFY(!f.window->Timer2().Enabled());
}

void TstNavigation::f8ToF10DoNothing()
{
    ConnectFixture f;
    f.connect();
    Ui::TForm1& ui = f.window->form();
    ui.TabbedNotebook1->setCurrentIndex(3);
    f.engine.clearLog();
    for (Qt::Key k : {Qt::Key_F8, Qt::Key_F9, Qt::Key_F10})
        f.key(k);
    QCOMPARE(ui.TabbedNotebook1->currentIndex(), 3);
    QVERIFY(f.engine.summaries().isEmpty());
    QVERIFY(f.window->isVisible());
}

void TstNavigation::typingPausesPollingUntilTimer3()
{
    ConnectFixture f;
    f.connect();
    Ui::TForm1& ui = f.window->form();
    // Connect ends in the first field, which already holds the poll off.
    QVERIFY(!f.window->Timer1().Enabled());
    QVERIFY(f.window->Timer3().Enabled());
    f.window->Timer3().fire();
    QVERIFY(f.window->Timer1().Enabled());
    QTest::keyClick(ui.pgSpannen->ui().Edit10, Qt::Key_5);
    QVERIFY(!f.window->Timer1().Enabled());
    f.window->Timer3().fire();
    QVERIFY(f.window->Timer1().Enabled());
    // A key without a character (an arrow) does not pause.
    QTest::keyClick(ui.pgSpannen->ui().Edit10, Qt::Key_Left);
    QVERIFY(f.window->Timer1().Enabled());
}

void TstNavigation::pollPhasesByVersion_data()
{
    QTest::addColumn<int>("bios");
    QTest::addColumn<QList<int>>("phases");
    QTest::newRow("2.07 alternates 0 and 1") << 207 << QList<int>{1, 0, 1, 0};
    QTest::newRow("2.08 adds the history phase") << 208 << QList<int>{1, 2, 0, 1};
}

void TstNavigation::pollPhasesByVersion()
{
    QFETCH(int, bios);
    QFETCH(QList<int>, phases);
    ConnectFixture f{quint16(bios)};
    f.connect();
    QCOMPARE(f.window->PollPhase(), 0);
    for (int expected : phases) {
        f.engine.clearLog();
        const int before = f.window->PollPhase();
        f.window->Timer1Timer();
        QCOMPARE(f.window->PollPhase(), expected);
        const QStringList log = f.engine.summaries();
        if (before == 0)
            QCOMPARE(log.mid(0, 2), (QStringList{"call R_SENSOR", QString(log.value(1))}));
        if (before == 1) QCOMPARE(log.value(0), QString("call #MESSEN@"));
        if (before == 2) QVERIFY(log.isEmpty()); // no readout switched on
    }
}

void TstNavigation::pollLocationCodes_data()
{
    QTest::addColumn<int>("bios");
    QTest::addColumn<int>("phase");
    QTest::addColumn<QList<int>>("codes"); ///< of each exchange of the tick, in order
    const QList<int> status{2700, 2701, 2702, 2703, 700, 701};
    QTest::newRow("sensor, inputs, outputs")
        << 310 << 0 << QList<int>{2600, 2601, 2602, 2603, 2604, 2605, 2400, 2401, 2500, 2501};
    QTest::newRow("status and service, 3.10")
        << 310 << 1
        << status + QList<int>{704, 705, 706, 707, 708, 709, 710, 711, 712, 713, 714, 715};
    QTest::newRow("status and service, 2.07")
        << 207 << 1 << status + QList<int>{702, 703, 710, 711, 712, 713, 714, 715};
}

void TstNavigation::pollLocationCodes()
{
    QFETCH(int, bios);
    QFETCH(int, phase);
    QFETCH(QList<int>, codes);
    ConnectFixture f{quint16(bios)};
    f.connect();
    programState().reportCommErrors = false; // a failed call then only marks its place
    for (int k = 0; k < codes.size(); ++k) {
        programState().commErrorSeen = false;
        while (f.window->PollPhase() != phase)
            f.window->Timer1Timer();
        f.engine.clearLog();
        f.engine.faults().badStatusAt = f.engine.completedExchanges() + k;
        f.window->Timer1Timer();
        QCOMPARE(f.engine.summaries().size(), codes.size());
        QCOMPARE(f.window->form().Label38->text(), QString::number(codes[k]));
    }
}

QTEST_MAIN(TstNavigation)
#include "tst_navigation.moc"
