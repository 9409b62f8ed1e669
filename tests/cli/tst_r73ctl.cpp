// r73ctl end to end: the built tool against the simulator on a pseudo-terminal.

#include "PollReads.h"
#include "PortCheck.h"
#include "SimProcess.h"
#include "SmallDisk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using r73::test::SimProcess;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

/// Runs the tool in folder (empty: here), as another user if one is named, or with its files
/// limited to fileBlocks of 512 bytes, as on a full disk.
Run r73ctl(const QStringList& args, const QString& folder = {}, const QString& user = {},
           int fileBlocks = 0)
{
    QString program = qEnvironmentVariable("R73_CTL");
    QStringList all = args;
    if (!user.isEmpty()) {
        all = QStringList{"-u", user, "--", program} + args;
        program = QStringLiteral("runuser");
    }
    if (fileBlocks > 0) {
        all = r73::test::smallFileSystemShell(fileBlocks) + QStringList{program} + args;
        program = QStringLiteral("sh");
    }
    QProcess p;
    p.setWorkingDirectory(folder);
    QElapsedTimer t;
    t.start();
    p.start(program, all);
    p.waitForFinished(20000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError()), t.elapsed()};
}

/// The functions the simulator saw called, in order (the value fetches are no calls).
QStringList loggedCalls(SimProcess& sim)
{
    if (!sim.stop()) return {"simulator failed"};
    QFile log(sim.logFile());
    if (!log.open(QIODevice::ReadOnly)) return {};
    QStringList calls;
    static const QRegularExpression call("\"summary\":\"call ([^\"]+)\"");
    for (const auto& m : call.globalMatch(QString::fromUtf8(log.readAll())))
        calls << m.captured(1);
    return calls;
}

} // namespace

class TstR73ctl : public QObject
{
    Q_OBJECT
private slots:
    void identifyPrintsVersionAndSerial_data();
    void identifyPrintsVersionAndSerial();
    void failuresGiveOneClearLine_data();
    void failuresGiveOneClearLine();
    void silentControllerTimesOutAfterFiveSeconds();
    void badUsageShowsHelp();
    void badOptionValuesAreBadUsage_data();
    void badOptionValuesAreBadUsage();
    void watchRunsTheWindowsCycle_data();
    void watchRunsTheWindowsCycle();
    void watchStopsAtAFailedRead_data();
    void watchStopsAtAFailedRead();
    void watchNeverEmptiesAFile();
    void diffSaysWhetherSomethingDiffers_data();
    void diffSaysWhetherSomethingDiffers();
    void archiveWithoutArchiveCreatesNothing();
    void historyComesAsCsvNewestFirst();
    void failedFilesKeepTheOldOne_data();
    void failedFilesKeepTheOldOne();
    void reportIsWrittenByTheProgramAndArchived();
    void reportOfAFailedSessionIsNotWritten_data();
    void reportOfAFailedSessionIsNotWritten();
    void portsShowStatesAndFindTheController();
    void portsExplainAMissingPermission();
};

void TstR73ctl::identifyPrintsVersionAndSerial_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("relative"); ///< --device names the line in the current folder
    QTest::newRow("3.10") << QStringList{} << "bios_version=3.10\nserial_number=1234\n" << false;
    QTest::newRow("2.07, serial with escaped bytes")
        << QStringList{"--bios", "207", "--serial", "6929"}
        << "bios_version=2.07\nserial_number=6929\n"
        << false;
    QTest::newRow("relative device") << QStringList{} << "bios_version=3.10\nserial_number=1234\n"
                                     << true;
}

void TstR73ctl::identifyPrintsVersionAndSerial()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, expected);
    QFETCH(bool, relative);
    SimProcess sim(simArgs);
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const QFileInfo link(sim.link());
    const Run run = relative ? r73ctl({"--device", link.fileName(), "identify"}, link.path())
                             : r73ctl({"--device", sim.link(), "identify"});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, expected);
    QCOMPARE(run.exitCode, 0);
}

void TstR73ctl::failuresGiveOneClearLine_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown function")
        << QStringList{"--fault", "unknown=SPANN"}
        << "r73ctl: the controller does not know the function \"SPANN\"\n";
    QTest::newRow("unknown transfer function")
        << QStringList{"--fault", "unknown=GET"}
        << "r73ctl: the controller does not know the function \"GET\"\n";
    QTest::newRow("failed call") << QStringList{"--fault", "bad-status=SV_NO?"}
                                 << "r73ctl: the controller reported a failed call\n";
}

void TstR73ctl::failuresGiveOneClearLine()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, message);
    SimProcess sim(simArgs);
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const Run run = r73ctl({"--device", sim.link(), "identify"});
    QCOMPARE(run.err, message);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.exitCode, 1);
}

void TstR73ctl::silentControllerTimesOutAfterFiveSeconds()
{
    SimProcess sim({"--fault", "silent-after=0"});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const Run run = r73ctl({"--device", sim.link(), "identify"});
    QCOMPARE(run.err, QString("r73ctl: no answer from the controller within 5 s\n"));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.ms >= 5000 && run.ms < 7000, qPrintable(QString::number(run.ms)));
}

void TstR73ctl::badUsageShowsHelp()
{
    Run run = r73ctl({"--device", "/dev/r73-no-such-port", "identify"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QString("r73ctl: cannot open the port: serial port /dev/r73-no-such-port "
                              "does not exist\n"));
    run = r73ctl({"identify"});
    QCOMPARE(run.exitCode, 64);
    QVERIFY(run.err.contains("--device"));
    run = r73ctl({"--help"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains("identify"));
}

void TstR73ctl::badOptionValuesAreBadUsage_data()
{
    QTest::addColumn<QStringList>("args");
    const QStringList watch{"--device", "/dev/r73-none", "watch"};
    QTest::newRow("timeout abc") << QStringList{"--timeout", "abc"} + watch;
    QTest::newRow("timeout 0") << QStringList{"--timeout", "0"} + watch;
    QTest::newRow("timeout 99999") << QStringList{"--timeout", "99999"} + watch;
    QTest::newRow("seconds -5") << watch + QStringList{"--seconds", "-5"};
    QTest::newRow("seconds abc") << watch + QStringList{"--seconds", "abc"};
    QTest::newRow("unknown option") << watch + QStringList{"--no-such-option"};
}

void TstR73ctl::badOptionValuesAreBadUsage()
{
    QFETCH(QStringList, args);
    const Run run = r73ctl(args);
    QCOMPARE(run.exitCode, 64);
    QVERIFY2(run.err.startsWith("r73ctl: ") && run.err.contains("Usage:"), qPrintable(run.err));
}

void TstR73ctl::watchRunsTheWindowsCycle_data()
{
    QTest::addColumn<int>("bios");
    QTest::addColumn<int>("rows"); ///< in 4 s: from 2.08 the third step reads nothing
    QTest::newRow("2.07") << 207 << 4;
    QTest::newRow("3.10") << 310 << 3;
}

void TstR73ctl::watchRunsTheWindowsCycle()
{
    QFETCH(int, bios);
    QFETCH(int, rows);
    SimProcess sim({"--bios", QString::number(bios)});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const Run run = r73ctl({"--device", sim.link(), "watch", "--seconds", "4"});
    QCOMPARE(run.exitCode, 0);
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.takeFirst().endsWith(",duration [ms]"));
    QCOMPARE(lines.size(), rows);
    // The status row: release values only where the BIOS has them, else empty cells.
    QCOMPARE(lines[1].section(',', 32, 33) == ",", bios < 208);
    QStringList expected{"SV_NO?", "HW_SER_NO?"};
    r73::PollCycle cycle;
    for (int tick = 0; tick < 4; ++tick)
        expected += r73::pollStepCalls(cycle.next(quint16(bios)), quint16(bios));
    QCOMPARE(loggedCalls(sim), expected);
}

void TstR73ctl::watchStopsAtAFailedRead_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("failed call in the lines")
        << QStringList{"--fault", "bad-status=R_OPORT"} << 0
        << "r73ctl: the controller reported a failed call (location 2500)\n";
    QTest::newRow("failed service read") << QStringList{"--fault", "bad-status=T_DAUER@"} << 1
                                         << "r73ctl: the controller reported a failed call "
                                            "(location 714)\n";
    QTest::newRow("time-out") << QStringList{"--fault", "silent-on=ACT_ZAEHLER"} << 1
                              << "r73ctl: no answer from the controller within 1 s\n";
}

void TstR73ctl::watchStopsAtAFailedRead()
{
    QFETCH(QStringList, simArgs);
    QFETCH(int, rows);
    QFETCH(QString, message);
    SimProcess sim(simArgs);
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    QTemporaryDir folder;
    const Run run = r73ctl(
        {"--device", sim.link(), "--timeout", "1", "watch", "--seconds", "10", "--csv", "w.csv"},
        folder.path());
    QCOMPARE(run.err, message);
    QCOMPARE(run.exitCode, 1);
    QFile csv(folder.filePath("w.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count('\n'), 1 + rows);
    sim.takeViolations();
}

void TstR73ctl::watchNeverEmptiesAFile()
{
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    QTemporaryDir folder;
    const QStringList watch{"--device", sim.link(), "watch", "--seconds", "1", "--csv", "w.csv"};
    QCOMPARE(r73ctl(watch, folder.path()).exitCode, 0);
    Run run = r73ctl(watch, folder.path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("w.csv exists"), qPrintable(run.err));
    QCOMPARE(r73ctl(watch + QStringList{"--append"}, folder.path()).exitCode, 0);
    QFile csv(folder.filePath("w.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QByteArray text = csv.readAll();
    QCOMPARE(text.count("time,"), 1); // one header
    QCOMPARE(text.count('\n'), 3);
}

void TstR73ctl::diffSaysWhetherSomethingDiffers_data()
{
    QTest::addColumn<QStringList>("otherSim");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("same controller") << QStringList{} << 0;
    QTest::newRow("another controller") << QStringList{"--serial", "4321"} << 2;
}

void TstR73ctl::diffSaysWhetherSomethingDiffers()
{
    QFETCH(QStringList, otherSim);
    QFETCH(int, exitCode);
    QTemporaryDir folder;
    {
        SimProcess sim;
        QVERIFY2(sim.started(), qPrintable(sim.errors()));
        QCOMPARE(r73ctl({"--device", sim.link(), "backup", "a.json"}, folder.path()).exitCode, 0);
    }
    SimProcess other(otherSim);
    QVERIFY2(other.started(), qPrintable(other.errors()));
    QCOMPARE(r73ctl({"--device", other.link(), "backup", "b.json"}, folder.path()).exitCode, 0);
    QCOMPARE(r73ctl({"--device", other.link(), "diff", "a.json"}, folder.path()).exitCode,
             exitCode);
    QCOMPARE(r73ctl({"diff", "a.json", "b.json"}, folder.path()).exitCode, exitCode);
}

void TstR73ctl::archiveWithoutArchiveCreatesNothing()
{
    QTemporaryDir folder;
    for (const QStringList& args : {QStringList{"archive", "list"}, {"archive", "show", "1234"}}) {
        const Run run = r73ctl(args, folder.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("no archive"), qPrintable(run.err));
    }
    QVERIFY(QDir(folder.path()).isEmpty());
}

void TstR73ctl::portsShowStatesAndFindTheController()
{
    SimProcess answering;
    SimProcess silent({"--fault", "silent-after=0"});
    QVERIFY2(answering.started() && silent.started(), qPrintable(answering.errors()));
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("ini"));
    QFile ini(folder.filePath("ini/norlo.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Comunication]\r\nDevice1=/dev/r73-none\r\nDevice2=%1\r\n"
                             "Device3=%2\r\nDevice4=%1\r\n")
                  .arg(answering.link(), silent.link())
                  .toLocal8Bit());
    ini.close();
    // Another program holds COM3 while it waits for an answer that does not come.
    QProcess holder;
    holder.start(qEnvironmentVariable("R73_CTL"), {"--device", silent.link(), "identify"});
    QVERIFY(holder.waitForStarted());
    // Looking earlier would open the port under the holder's feet and make it give up.
    QTest::qWait(1000);
    QCOMPARE(r73::checkPort(silent.link()).state, r73::PortState::Busy);

    const Run run = r73ctl({"ports", "--probe"}, folder.path());
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split('\n');
    QCOMPARE(lines.mid(0, 4), (QStringList{"COM1 /dev/r73-none missing",
                                           "COM2 " + answering.link() + " free r73=found",
                                           QStringLiteral("COM3 %1 busy by=r73ctl (PID %2)")
                                               .arg(silent.link())
                                               .arg(holder.processId()),
                                           "COM4 " + answering.link() + " free r73=found"}));
    holder.kill();
    holder.waitForFinished();
    // Asked twice (COM2 and COM4), each time for the session only.
    QVERIFY(answering.stop());
    QFile log(answering.logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray sessions = log.readAll();
    QCOMPARE(sessions.count('\n'), 2);
    QCOMPARE(sessions.count("\"kind\":\"session\""), 2);
}

void TstR73ctl::portsExplainAMissingPermission()
{
    if (::geteuid() != 0 || QStandardPaths::findExecutable("runuser").isEmpty())
        QSKIP("needs root to run r73ctl as a user without rights to the device");
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    // The line itself: its link lies in a folder only root may enter.
    const Run run = r73ctl({"ports", "--device", sim.device()}, QDir::tempPath(), "nobody");
    QVERIFY2(run.out.contains("- " + sim.device() + " no-permission\n"), qPrintable(run.out));
    QVERIFY2(run.err.contains("add the user to the group dialout"), qPrintable(run.err));
    QCOMPARE(run.exitCode, 0);
}

void TstR73ctl::historyComesAsCsvNewestFirst()
{
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const Run run = r73ctl({"--device", sim.link(), "history"});
    QCOMPARE(run.exitCode, 0);
    QStringList lines = run.out.split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QString("number,type,subtype,clamp travel [pulses],clamp result,"
                                        "release travel [pulses],release result"));
    QCOMPARE(lines.size(), 24); // the simulator's whole history, each element once
    for (qsizetype i = 1; i < lines.size(); ++i)
        QVERIFY(lines[i].section(',', 0, 0).toInt() < lines[i - 1].section(',', 0, 0).toInt());
    QVERIFY(sim.stop());
    QFile log(sim.logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count("\"summary\":\"call _HIST_INIT_READ\""), 1);
}

void TstR73ctl::failedFilesKeepTheOldOne_data()
{
    QTest::addColumn<QStringList>("args"); // after "--device LINK"
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("reason");
    // The writes once printed success and left an empty file in place of the old one.
    QTest::newRow("backup on a full disk")
        << QStringList{"backup", "old.json"} << "old.json" << 1 << "file too large";
    QTest::newRow("history on a full disk")
        << QStringList{"history", "--csv", "old.csv"} << "old.csv" << 1 << "file too large";
    QTest::newRow("a device as the backup")
        << QStringList{"diff", "/dev/zero", "old.json"} << "/dev/zero" << 3 << "not a regular file";
}

void TstR73ctl::failedFilesKeepTheOldOne()
{
    QFETCH(QStringList, args);
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QString, reason);
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    QTemporaryDir folder;
    for (const char* name : {"old.json", "old.csv"}) {
        QFile old(folder.filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the old file\n") == 13);
    }
    const Run run = r73ctl(QStringList{"--device", sim.link()} + args, folder.path(), {}, 1);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.startsWith("r73ctl: ") && run.err.count('\n') == 1 && run.err.contains(file) &&
                 run.err.contains(reason),
             qPrintable(run.err));
    QCOMPARE(run.out, QString());
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    QCOMPARE(QDir(folder.path()).entryList(all), (QStringList{"old.csv", "old.json"}));
    for (const char* name : {"old.json", "old.csv"}) {
        QFile old(folder.filePath(name));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the old file\n"));
    }
}

void TstR73ctl::reportIsWrittenByTheProgramAndArchived()
{
    // Selection clamp, test running; state clamp, finished, no tool.
    SimProcess sim({"--inputs", "0081", "--outputs", "0059"});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    QTemporaryDir folder;
    SimProcess same;
    QVERIFY2(same.started(), qPrintable(same.errors()));
    const QString params = r73ctl({"--device", same.link(), "params"}, folder.path()).out;
    // A logo that is no image: said, and the report made without it.
    QVERIFY(QDir(folder.path()).mkpath("report"));
    QFile logo(folder.filePath("report/logo.png"));
    QVERIFY(logo.open(QIODevice::WriteOnly) && logo.write("no image") > 0);
    logo.close();
    Run run = r73ctl({"--device", sim.link(), "report", "out.pdf", "--customer", "Kühlwerk Nord",
                      "--order", "A-4711"},
                     folder.path());
    QVERIFY2(run.exitCode == 0 && run.err.contains("logo.png ist kein lesbares Bild"),
             qPrintable(run.err));
    QProcess pdf;
    pdf.start("pdftotext", {"-layout", folder.filePath("out.pdf"), "-"});
    QVERIFY(pdf.waitForFinished(10000));
    const QString text = QString::fromUtf8(pdf.readAllStandardOutput());
    QVERIFY2(text.contains("1234") && text.contains("3.10"), qPrintable(text));
    QVERIFY2(text.contains(QRegularExpression("Kunde\\s+Kühlwerk Nord")) &&
                 text.contains(QRegularExpression("Auftragsnummer\\s+A-4711")),
             qPrintable(text));
    // The poll's words in the report's wording, and the settings as read.
    QVERIFY2(text.contains(QRegularExpression("ext\\. Anwahl\\s+SPANNEN\\n")), qPrintable(text));
    QVERIFY2(text.contains(QRegularExpression("Ergebnis:\\s+Test beendet kein Werkzeug")),
             qPrintable(text));
    for (const char* key : {"clamp.stop_frequency", "release.timeout", "hydraulics.duration"}) {
        const QString value =
            QRegularExpression(QString("%1=(\\S+)").arg(key)).match(params).captured(1);
        QVERIFY2(!value.isEmpty() && text.contains(QRegularExpression("\\s" + value + "\\n")),
                 qPrintable(key + QString(" in:\n") + text));
    }
    QVERIFY(QFile::exists(folder.filePath("Archive/1234/out.pdf")));
    QVERIFY(!QFile::exists(folder.filePath("ini/norlo.ini"))); // --device leaves it alone
    // One session, ended as closing the window ends it.
    QVERIFY(sim.stop());
    QFile log(sim.logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray calls = log.readAll().trimmed();
    QCOMPARE(calls.count("\"kind\":\"session\""), 1);
    QVERIFY(calls.endsWith("\"summary\":\"call TEST_STOP\"}"));

    run = r73ctl({"--device", "/dev/r73-no-such-port", "report", "none.pdf"}, folder.path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith("r73ctl: ") && run.err.count('\n') == 1 &&
                 run.err.contains("/dev/r73-no-such-port"),
             qPrintable(run.err));
    QVERIFY(!QFile::exists(folder.filePath("none.pdf")));
}

void TstR73ctl::reportOfAFailedSessionIsNotWritten_data()
{
    // A 3.10 report reads the settings with the channels last (exchanges 204 to 281:
    // "READ_NAME1" is the 206th), then one poll cycle (282 to 309) and the active channels'
    // live values ("@PRUEFE_ANALOG1" is the 312th).
    QTest::addColumn<QStringList>("fault");
    QTest::newRow("silent in the channels' settings") << QStringList{"--fault", "silent-after=206"};
    QTest::newRow("line closed in the channels' settings")
        << QStringList{"--fault", "close-after=206"};
    QTest::newRow("line closed in the poll") << QStringList{"--fault", "close-after=290"};
    QTest::newRow("failed call in the channels' live values")
        << QStringList{"--fault", "bad-status-at=311"};
}

void TstR73ctl::reportOfAFailedSessionIsNotWritten()
{
    QFETCH(QStringList, fault);
    SimProcess sim(fault);
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    QTemporaryDir folder;
    QFile old(folder.filePath("r.pdf"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an earlier report") > 0);
    old.close();
    Run run = r73ctl({"--device", sim.link(), "report", "r.pdf"}, folder.path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith("r73ctl: ") && run.err.count('\n') == 1, qPrintable(run.err));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("an earlier report"));
    QVERIFY(!QFile::exists(folder.filePath("Archive/1234/r.pdf")));
    // A connect that ended well is a visit; a report that failed is none.
    run = r73ctl({"archive", "show", "1234"}, folder.path());
    QVERIFY2(!run.out.contains(",report,"), qPrintable(run.out));
    sim.takeViolations(); // the line broke off mid-exchange on purpose
}

QTEST_GUILESS_MAIN(TstR73ctl)
#include "tst_r73ctl.moc"
