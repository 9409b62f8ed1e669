// The link over a real serial port: QSerialPort on a pseudo-terminal, the simulator at the
// other end.

#include "FunctionCatalog.h"
#include "LineTrace.h"
#include "LinkState.h"
#include "Protocol.h"
#include "QtSerialBackend.h"
#include "SimProcess.h"
#include "Target.h"
#include "TestEnv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <ctime>

using namespace r73;
using r73::test::SimProcess;
using r73::test::TestEnv;

namespace {

/// Points port 1 of the configuration at the simulator's link.
void configurePort1(const QString& device)
{
    QFile f(QStringLiteral("ini/norlo.ini"));
    QVERIFY(f.open(QIODevice::Append));
    f.write(QStringLiteral("Device1=%1\r\n").arg(device).toLocal8Bit());
}

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

quint16 connectAndInitialize(TTarget& link)
{
    for (const FunctionDef& f : connectGroup())
        services().make(&link, QString::fromLatin1(f.name));
    return link.Initialize();
}

} // namespace

class TstSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void connectsAndCallsOverThePseudoTerminal();
    void silentControllerTimesOutWithoutBurningCpu();
    void closedLineFailsAtOnce();
    void unusablePortsAreExplained();
    void traceRecordsEveryByteOfAnExchange();
};

void TstSerialPort::connectsAndCallsOverThePseudoTerminal()
{
    SimProcess sim({"--bios", "310", "--serial", "4711"});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    TestEnv env(1, 2000);
    configurePort1(sim.link());
    env.install(std::make_unique<QtSerialBackend>());
    TTarget link;
    QCOMPARE(ComPortNumber, 1);
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(connectAndInitialize(link), quint16(0));
    quint16 v = 0;
    QCOMPARE(services().find("HW_SER_NO?")->Execute(), quint16(0));
    QCOMPARE(link.ReceiveValue(v), quint16(0));
    QCOMPARE(v, quint16(4711));
    QString text;
    QCOMPARE(link.SendString(QString::fromUtf8("Gr\u00f6\u00dfe")), quint16(0));
    QVERIFY(!link.LinkFailed());
    QVERIFY(sim.stop());
    // The simulator logged every completed exchange.
    QFile log(sim.logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count('\n'), 1 + 4 + 38 + 2 + 1);
}

void TstSerialPort::silentControllerTimesOutWithoutBurningCpu()
{
    SimProcess sim({"--fault", "silent-after=0"});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    TestEnv env(1, 1000);
    configurePort1(sim.link());
    env.install(std::make_unique<QtSerialBackend>());
    TTarget link;
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    QCOMPARE(link.OpenSession(), quint16(0));
    const double cpu = cpuSeconds() - cpu0;
    const qint64 ms = wall.elapsed();
    // The first read waits out the time-out, the rest return at once.
    QVERIFY2(ms >= 990 && ms < 1500, qPrintable(QString::number(ms)));
    QVERIFY(link.LinkFailed());
    QVERIFY2(cpu < 0.05 * ms / 1000.0, qPrintable(QString("cpu %1 s").arg(cpu)));
}

void TstSerialPort::closedLineFailsAtOnce()
{
    SimProcess sim({"--fault", "close-after=1"});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    TestEnv env(1, 3000);
    configurePort1(sim.link());
    env.install(std::make_unique<QtSerialBackend>());
    TTarget link;
    QVERIFY(link.OpenSession() != 0);
    QElapsedTimer wall;
    wall.start();
    QCOMPARE(link.ResolveName("GET"), quint16(0));
    QVERIFY(link.LinkFailed());
    QVERIFY2(wall.elapsed() < 2500, qPrintable(QString::number(wall.elapsed())));
}

void TstSerialPort::unusablePortsAreExplained()
{
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    TestEnv env(1, 500);
    configurePort1(sim.link());
    env.install(std::make_unique<QtSerialBackend>());
    TTarget first;
    QCOMPARE(ComPortNumber, 1);

    // A second program on the same line finds it taken.
    QtSerialBackend other;
    other.init(0);
    QCOMPARE(other.result(0), quint16(1));
    QVERIFY2(other.errorText(0).contains("busy"), qPrintable(other.errorText(0)));

    QtSerialBackend missing([](int) { return QStringLiteral("/dev/r73-no-such-port"); });
    missing.init(0);
    QCOMPARE(missing.result(0), quint16(1));
    QVERIFY2(missing.errorText(0).contains("does not exist"), qPrintable(missing.errorText(0)));
    QCOMPARE(missing.waitForData(0, 10), WaitResult::LineFailed);
}

void TstSerialPort::traceRecordsEveryByteOfAnExchange()
{
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    TestEnv env(1, 2000);
    configurePort1(sim.link());
    env.install(std::make_unique<QtSerialBackend>());
    QVERIFY(trace::start(env.path("trace.jsonl")));
    TTarget link;
    QCOMPARE(link.OpenSession(), quint16(0x1b13));
    QVERIFY(trace::start(QString()));
    QFile file(env.path("trace.jsonl"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 1);
    const QJsonObject exchange = QJsonDocument::fromJson(lines[0]).object();
    QCOMPARE(exchange["kind"].toString(), QString("session"));
    QString line;
    for (const QJsonValue& b : exchange["bytes"].toArray())
        line += b[1].toString() + b[2].toString() + u' ';
    // Two bytes that are not looked at, then the session id 0x1b13, escaped: 1b 3b 1b 33.
    QCOMPARE(line.mid(0, 8) + line.mid(16), QString(">00 >04 <1b <3b <1b <33 "));

    // A full disk stops the trace and says so once, with the file and the reason.
    QStringList failures;
    trace::setFailureHandler([&failures](const QString& why) { failures << why; });
    QVERIFY(trace::start(QStringLiteral("/dev/full")));
    for (int i = 0; i < 2; ++i) {
        trace::begin("call", QStringLiteral("TEST"));
        trace::sent(0x11);
        trace::end();
    }
    trace::setFailureHandler(nullptr);
    QVERIFY(!trace::active());
    QCOMPARE(failures, QStringList{QString::fromUtf8("/dev/full: kein Platz auf dem Datenträger")});
}

QTEST_GUILESS_MAIN(TstSerialPort)
#include "tst_serialport.moc"
