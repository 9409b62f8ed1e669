// r73ctl end to end: the built tool against the simulator on a pseudo-terminal.

#include "SimProcess.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using r73::test::SimProcess;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

Run r73ctl(const QStringList& args)
{
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(qEnvironmentVariable("R73_CTL"), args);
    p.waitForFinished(20000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError()), t.elapsed()};
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
};

void TstR73ctl::identifyPrintsVersionAndSerial_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("3.10") << QStringList{} << "bios_version=3.10\nserial_number=1234\n";
    QTest::newRow("2.07, serial with escaped bytes")
        << QStringList{"--bios", "207", "--serial", "6929"}
        << "bios_version=2.07\nserial_number=6929\n";
}

void TstR73ctl::identifyPrintsVersionAndSerial()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, expected);
    SimProcess sim(simArgs);
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const Run run = r73ctl({"--device", sim.link(), "identify"});
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

QTEST_GUILESS_MAIN(TstR73ctl)
#include "tst_r73ctl.moc"
