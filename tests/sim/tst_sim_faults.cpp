// Each misbehaviour the simulator can be told to show, in-process.

#include "SimHost.h"

#include <QTest>

using namespace r73::sim;
using simtest::BadStatus;
using simtest::Host;
using simtest::OkStatus;

namespace {
const QByteArray Handshake = QByteArray::fromHex("0004");
const QByteArray HandshakeAnswer = QByteArray::fromHex("52371b3b1b33");
} // namespace

class SimFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void silentAfter();
    void closeAfter();
    void silentOnSwallowsOnlyThatFunction();
    void badStatusKeepsThePayload();
    void unknownName();
    void garbageBeforeAnswer();
};

void SimFaultsTest::parse_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("valid");
    QTest::newRow("count") << "silent-after=3" << true;
    QTest::newRow("count 0") << "close-after=0" << true;
    QTest::newRow("count at") << "bad-status-at=4" << true;
    QTest::newRow("name") << "garbage-on=F@" << true;
    QTest::newRow("no value") << "silent-on=" << false;
    QTest::newRow("no equals") << "silent-after" << false;
    QTest::newRow("negative count") << "close-after=-1" << false;
    QTest::newRow("unknown mode") << "explode=SPANN" << false;
}

void SimFaultsTest::parse()
{
    QFETCH(QString, fault);
    QFETCH(bool, valid);
    SimFaults faults;
    QString error;
    QCOMPARE(faults.add(fault, &error), valid);
    QCOMPARE(faults.describe(), valid ? QStringList{fault} : QStringList());
    QCOMPARE(error.contains(fault), !valid);
}

void SimFaultsTest::silentAfter()
{
    SimEngine engine;
    QVERIFY(engine.addFault("silent-after=2"));
    Host host(engine, false);
    QCOMPARE(engine.feed(Handshake), HandshakeAnswer);
    engine.clearLog(); // the count goes on regardless
    QCOMPARE(host.call("LOES"), OkStatus);
    QCOMPARE(engine.feed(Handshake), QByteArray());
    QCOMPARE(host.call("PLAN"), QByteArray());
    QCOMPARE(engine.machine().selectedSet(), ParamSetId::Loes); // a silent controller does nothing
    QCOMPARE(engine.summaries(), QStringList{"call LOES"});
    QVERIFY(!engine.lineClosed());
}

void SimFaultsTest::closeAfter()
{
    SimConfig config;
    QVERIFY(config.faults.add("close-after=1"));
    SimEngine engine(config);
    QVERIFY(!engine.lineClosed());
    // The last exchange is answered in full; what follows in the same piece is not.
    QCOMPARE(engine.feed(Handshake + Handshake), HandshakeAnswer);
    QVERIFY(engine.lineClosed());
    QCOMPARE(engine.feed(Handshake), QByteArray());
    QCOMPARE(engine.completedExchanges(), 1);
}

void SimFaultsTest::silentOnSwallowsOnlyThatFunction()
{
    SimEngine engine;
    engine.faults().silentOn = {"SPANN", "GET"};
    Host host(engine);
    QCOMPARE(host.call("LOES"), OkStatus);
    QCOMPARE(host.call("SPANN"), QByteArray());
    QCOMPARE(engine.machine().selectedSet(), ParamSetId::Loes);
    // A swallowed GET still consumes its word: the parser stays in step with the host.
    host.get(0x0101);
    QVERIFY(!engine.midMessage());
    QCOMPARE(host.lookup("SPANN"), QByteArray::fromHex("11070100"));
    QCOMPARE(engine.summaries(), (QStringList{"call LOES", "lookup SPANN"}));
}

void SimFaultsTest::badStatusKeepsThePayload()
{
    SimEngine engine;
    QVERIFY(engine.addFault("bad-status=SPANN"));
    QVERIFY(engine.addFault("bad-status=PUT"));
    Host host(engine);
    QCOMPARE(host.call("SPANN"), BadStatus);
    host.call("F_MIN1@");
    QCOMPARE(host.call("PUT"), QByteArray::fromHex("00110101"));
    QCOMPARE(host.call("LOES"), OkStatus);
    QCOMPARE(engine.summaries(),
             (QStringList{"call SPANN !bad", "call F_MIN1@", "PUT 17 !bad", "call LOES"}));
}

void SimFaultsTest::unknownName()
{
    SimEngine engine;
    engine.faults().unknown.insert("F_MIN2@");
    Host host(engine);
    QCOMPARE(host.lookup("F_MIN2@"), QByteArray::fromHex("00000101"));
    QCOMPARE(host.lookup("F_MIN3@"), QByteArray::fromHex("110d0100"));
    QCOMPARE(engine.summaries(), (QStringList{"lookup F_MIN2@ -> 0", "lookup F_MIN3@"}));
}

void SimFaultsTest::garbageBeforeAnswer()
{
    SimEngine engine;
    QVERIFY(engine.addFault("garbage-on=LANG"));
    Host host(engine);
    const QByteArray stray(GarbageBytes, sizeof GarbageBytes);
    QVERIFY(!stray.contains(char(r73::wire::EscapeByte)));
    QCOMPARE(engine.feed(simtest::request(engine.idOf("LANG"))), stray + OkStatus);
    QCOMPARE(engine.feed(simtest::request(engine.idOf("KURZ"))), OkStatus);
}

QTEST_GUILESS_MAIN(SimFaultsTest)
#include "tst_sim_faults.moc"
