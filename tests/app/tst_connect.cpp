// Connecting to the simulated controller: the exchange sequence, identification and what each
// BIOS version shows; the fatal error report; demo mode.

#include "ConnectFixture.h"
#include "Forms.h"
#include "FunctionCatalog.h"
#include "Terminate.h"
#include "TimerWrapper.h"

#include <QTimer>

using namespace r73;
using r73::test::ConnectFixture;

class TstConnect : public QObject
{
    Q_OBJECT
private slots:
    void connectSequenceAndPagesByVersion_data();
    void connectSequenceAndPagesByVersion();
    void silentControllerAfterConnectIsFatalOnce();
    void unknownFunctionMakesTheFirstCallFatal();
    void demoModeConnectsWithoutController();
    void secondF7EndsTheProgram_data();
    void secondF7EndsTheProgram();
    void unsavedSetsAreOfferedOnClose_data();
    void unsavedSetsAreOfferedOnClose();
    void f7OpensTheUnusablePortAgain_data();
    void f7OpensTheUnusablePortAgain();
    void silenceAtTheHandshakeIsNotFatal();
    void disconnectEndsTheSessionAndTheNextConnectIsFresh();
};

void TstConnect::connectSequenceAndPagesByVersion_data()
{
    QTest::addColumn<int>("bios");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("locale"); ///< empty: C
    for (int v : {199, 207, 208, 210, 300, 310})
        QTest::newRow(qPrintable(QString::number(v)))
            << v << QString::asprintf("%d.%02d", v / 100, v % 100) << QString();
    QTest::newRow("310, German") << 310 << "3,10"
                                 << "de_DE";
}

void TstConnect::connectSequenceAndPagesByVersion()
{
    QFETCH(int, bios);
    QFETCH(QString, shown);
    QFETCH(QString, locale);
    ConnectFixture f{quint16(bios)};
    if (!locale.isEmpty()) QLocale::setDefault(QLocale(locale));
    f.connect();
    Ui::TForm1& ui = f.window->form();
    QVERIFY(programState().connected && !programState().connecting);
    QCOMPARE(programState().biosVersion, quint16(bios));
    QCOMPARE(ui.Edit3->text(), shown);
    QCOMPARE(ui.Edit4->text(), QString("1234"));
    QCOMPARE(f.window->windowTitle(), QString("R73-Controller Online!"));
    QCOMPARE(ui.Label37->text(), QString("0"));
    QCOMPARE(ui.Label38->text(), QString("---"));
    QCOMPARE(ui.BitBtn10->text(), QString("F7:BEENDEN"));
    QVERIFY(ui.BitBtn7->isEnabled() && !ui.TabbedNotebook1->isHidden() &&
            ui.GroupBox10->isHidden());
    QVERIFY(f.window->Timer1().Enabled() || f.window->Timer3().Enabled());

    // The exchange log: session, 42 look-ups, then the version and its groups.
    QStringList log = f.engine.summaries();
    QCOMPARE(log.at(0), QString("session 0x1b13"));
    QCOMPARE(log.at(5), QString("lookup +"));
    QCOMPARE(log.at(42), QString("lookup HW_SER_NO?"));
    QStringList rest = log.mid(43);
    QStringList expected{"call TEST_START", "call SV_NO?", QString("PUT %1").arg(bios)};
    for (const QString& name : versionGroupNames(quint16(bios))) {
        expected << "lookup " + name;
        if (name == "_@HIST_?READ_END") expected << "call _HIST_INIT_READ";
    }
    expected << "call HW_SER_NO?"
             << "PUT 1234";
    QCOMPARE(rest.mid(0, expected.size()), expected); // the page reads follow

    // What the version shows and hides.
    QCOMPARE(!ui.pgLogbuch->ui().Panel18->isHidden(), bios < 208);
    QCOMPARE(!ui.pgLogbuch->ui().ListView1->isHidden(), bios >= 208);
    QCOMPARE(!ui.pgService->ui().Edit51->isHidden(), bios >= 208);
    QCOMPARE(ui.pgService->ui().Label50->text(),
             bios >= 208 ? QString("Spannen [Pulse]") : QString("Pulse"));
    QCOMPARE(!ui.pgSpannen->ui().Edit16->isHidden(), bios >= 210);
    QCOMPARE(!ui.pgAnalog2->ui().pnAnalog2->isHidden(), bios < 300);
    QCOMPARE(!ui.pgAnalog2->ui().GroupBox16->isHidden(), bios >= 300);
    QCOMPARE(!ui.pgAnalogwerte->ui().gbKanal_3->isHidden(), bios >= 300);
    QCOMPARE(!ui.pgSpannen->ui().gbHydr->isHidden(), bios >= 310);
    if (bios < 208)
        QCOMPARE(ui.pgLogbuch->ui().Panel18->text(),
                 QString("Logbuch nur ab R73-Bios-Version 2.08"));
    QVERIFY(f.env.boxes.isEmpty());
}

void TstConnect::silentControllerAfterConnectIsFatalOnce()
{
    ConnectFixture f(310);
    f.connect();
    QVERIFY(!terminateRequested());
    f.engine.faults().silentAfter = f.engine.completedExchanges();
    // The window's loop keeps turning while the link waits out the time-out.
    int turns = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&turns] { ++turns; });
    probe.start(0);
    f.window->Timer1Timer(); // phase 0 starts with the sensor
    QVERIFY2(turns >= ReadTimeoutMs / 100, qPrintable(QString::number(turns)));
    QCOMPARE(f.env.boxes.size(), 1);
    QCOMPARE(f.env.boxes[0].icon, MsgIcon::Error);
    QCOMPARE(f.env.boxes[0].caption, QString("Fehler"));
    QCOMPARE(f.env.boxes[0].text, QString::fromUtf8("Kommunikation mit dem R73-Controller gestört! "
                                                    "Programm wird beendet! Bitte neu starten!"));
    QVERIFY(terminateRequested());
    QVERIFY(!f.window->Timer1().Enabled());
    // The later failures of the same tick only update the last-error fields.
    QCOMPARE(f.window->form().Label37->text(), QString("1"));
    QCOMPARE(f.window->form().Label38->text(), QString("2501"));
    QVERIFY(programState().commErrorSeen);
}

void TstConnect::unknownFunctionMakesTheFirstCallFatal()
{
    ConnectFixture f(310);
    QVERIFY(f.engine.addFault("unknown=M_GESAMT@"));
    f.connect();
    QCOMPARE(f.env.boxes.size(), 1);
    QVERIFY(terminateRequested());
    QCOMPARE(f.window->form().Label37->text(), QString("1"));
    QVERIFY(!f.engine.summaries().contains("call TEST_START"));
}

void TstConnect::demoModeConnectsWithoutController()
{
    ConnectFixture f(310, "[DemoMode]\r\nACTIVE=1\r\n");
    f.connect();
    QVERIFY(programState().connected);
    QCOMPARE(programState().biosVersion, quint16(300));
    QCOMPARE(f.window->form().Edit3->text(), QString("3.00"));
    QCOMPARE(f.window->windowTitle(), QString("R73-Controller Demo-Version"));
    QVERIFY(f.window->doneText().startsWith("Demonstration ohne Controller")); // in the window too
    QVERIFY(f.window->form().pgSpannen->ui().gbHydr->isHidden());
    QVERIFY(f.engine.summaries().isEmpty());
    f.window->Timer1().setEnabled(true);
    f.window->Timer1Timer();
    QVERIFY(!f.window->Timer1().Enabled());
    QVERIFY(f.engine.summaries().isEmpty());
}

void TstConnect::secondF7EndsTheProgram_data()
{
    QTest::addColumn<bool>("stopFails");
    QTest::newRow("TEST_STOP answered") << false;
    QTest::newRow("TEST_STOP fails") << true;
}

void TstConnect::secondF7EndsTheProgram()
{
    QFETCH(bool, stopFails);
    ConnectFixture f(310);
    f.connect();
    f.engine.clearLog();
    if (stopFails) QVERIFY(f.engine.addFault("bad-status=TEST_STOP"));
    f.connect();
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.env.boxes.size(), stopFails ? 2 : 1);
    QCOMPARE(f.env.boxes[0].text, QString("Verbindung zum R73 trennen!"));
    QCOMPARE(f.engine.summaries(),
             QStringList{stopFails ? "call TEST_STOP !bad" : "call TEST_STOP"});
    // The close reports the call under its own place.
    QCOMPARE(f.window->form().Label38->text(), stopFails ? QString("99") : QString("---"));
    if (stopFails) QCOMPARE(f.env.boxes[1].caption, QString("Fehler"));
}

void TstConnect::unsavedSetsAreOfferedOnClose_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("nothing changed: no question") << false << true << QStringList{"call TEST_STOP"};
    QTest::newRow("saved") << true << true
                           << QStringList{"call LOES",     "call SET_MEM_MODE", "call SPEICHERN",
                                          "call PLAN",     "call SET_MEM_MODE", "call SPEICHERN",
                                          "call TEST_STOP"};
    QTest::newRow("not saved") << true << false << QStringList{"call TEST_STOP"};
}

void TstConnect::unsavedSetsAreOfferedOnClose()
{
    QFETCH(bool, changed);
    QFETCH(bool, save);
    QFETCH(QStringList, sent);
    ConnectFixture f(310);
    f.connect();
    f.engine.clearLog();
    programState().releaseChanged = programState().flatChanged = changed;
    setMessageHandler([&](const MessageRequest& r) {
        f.env.boxes << r;
        return r.buttons == MsgButtons::YesNo && !save ? MsgAnswer::No : defaultAnswer(r.buttons);
    });
    f.connect(); // the second F7 closes
    QCOMPARE(f.engine.summaries(), sent);
    QCOMPARE(f.env.boxes.size(), changed ? 2 : 1);
    if (changed) {
        QCOMPARE(f.env.boxes[0].buttons, MsgButtons::YesNo);
        QVERIFY(f.env.boxes[0].text.contains(QString::fromUtf8("LÖSEN, PLANANLAGE")));
        QCOMPARE(!programState().releaseChanged && !programState().flatChanged, save);
    }
    QCOMPARE(f.env.boxes.last().text, QString("Verbindung zum R73 trennen!"));
}

void TstConnect::disconnectEndsTheSessionAndTheNextConnectIsFresh()
{
    ConnectFixture f(310);
    f.connect();
    const QStringList firstConnect = f.engine.summaries();
    f.engine.clearLog();
    programState().flatChanged = true; // offered for saving, as at closing
    f.window->Disconnect();
    QCOMPARE(f.engine.summaries(),
             (QStringList{"call PLAN", "call SET_MEM_MODE", "call SPEICHERN", "call TEST_STOP"}));
    QCOMPARE(f.env.boxes.size(), 1);
    QVERIFY(f.window->isVisible());
    QVERIFY(!programState().connected && !f.window->controllerModel().inSession());
    QVERIFY(f.window->form().GroupBox10->isVisible());
    QCOMPARE(f.window->form().BitBtn10->text(), QString("F7:VERBINDEN"));
    QCOMPARE(f.window->doneText(), QString("Verbindung zu R73 1234 getrennt"));
    // The next controller: the port opened afresh, the whole connect as the first time.
    f.engine.clearLog();
    f.connect();
    QVERIFY(programState().connected);
    QCOMPARE(f.engine.summaries(), firstConnect);
    QCOMPARE(f.env.boxes.size(), 1);
}

void TstConnect::f7OpensTheUnusablePortAgain_data()
{
    QTest::addColumn<bool>("stillFails");
    QTest::newRow("adapter plugged in since: connects") << false;
    QTest::newRow("still unusable: the message again") << true;
}

void TstConnect::f7OpensTheUnusablePortAgain()
{
    QFETCH(bool, stillFails);
    r73::test::TestEnv env(1, 300);
    resetProgramState();
    sim::SimEngine engine(ConnectFixture::config(310));
    auto& port = env.install(std::make_unique<r73::test::SimPort>(engine));
    port.openFails = true;
    TForm1 window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(env.boxes.size(), 1);
    QVERIFY(!window.link());
    port.openFails = stillFails;
    QTest::keyClick(&window, Qt::Key_F7);
    QCOMPARE(programState().connected, !stillFails);
    QCOMPARE(env.boxes.size(), stillFails ? 2 : 1);
    QCOMPARE(env.boxes.last().text, QString::fromUtf8("Schnittstelle nicht verfügbar!"));
    QVERIFY2(env.boxes.last().detail.startsWith("COM1 (/dev/ttyS0): "),
             qPrintable(env.boxes.last().detail));
    QCOMPARE(window.form().Panel17->text().startsWith(" Schnittstelle: Fehler!"), stillFails);
    if (!stillFails) window.close();
}

void TstConnect::silenceAtTheHandshakeIsNotFatal()
{
    ConnectFixture f(310);
    f.engine.faults().silentAfter = 0;
    f.connect();
    QVERIFY(!programState().connected && !programState().connecting && !terminateRequested());
    QCOMPARE(f.env.boxes.size(), 1);
    QCOMPARE(f.env.boxes[0].icon, MsgIcon::Warning);
    const QString text = QString::fromUtf8("Keine Antwort vom R73 an COM1 (/dev/ttyS0): Kabel, "
                                           "Schnittstelle und Controller prüfen");
    QCOMPARE(f.env.boxes[0].text, text);
    Ui::TForm1& ui = f.window->form();
    QVERIFY(!ui.GroupBox10->isHidden() && ui.TabbedNotebook1->isHidden() &&
            ui.BitBtn10->isEnabled());
    QVERIFY(ui.Panel17->text().endsWith(text));
    QCOMPARE(ui.BitBtn10->text(), QString("F7:VERBINDEN"));

    // Once the controller answers, the same F7 connects as usual.
    f.engine.faults().silentAfter = -1;
    f.engine.clearLog();
    f.connect();
    QVERIFY(programState().connected);
    QCOMPARE(f.engine.summaries().at(0), QString("session 0x1b13"));
    QCOMPARE(f.env.boxes.size(), 1);
}

QTEST_MAIN(TstConnect)
#include "tst_connect.moc"
