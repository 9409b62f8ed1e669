// Services and the function catalogue against the in-process simulated controller.

#include "FunctionCatalog.h"
#include "Protocol.h"
#include "SimEngine.h"
#include "SimPort.h"
#include "StrictLine.h"
#include "Target.h"
#include "TestEnv.h"

#include <QTest>

using namespace r73;
using r73::sim::SimConfig;
using r73::sim::SimEngine;
using r73::test::SimPort;
using r73::test::StrictLine;
using r73::test::TestEnv;

namespace {

/// Makes the connect group on link and opens the session.
quint16 connectGroupAndInitialize(TTarget& link)
{
    for (const FunctionDef& f : connectGroup())
        services().make(&link, QString::fromLatin1(f.name));
    return link.Initialize();
}

SimConfig bios(quint16 v)
{
    SimConfig c;
    c.bios = v;
    return c;
}

} // namespace

class TstProtocol : public QObject
{
    Q_OBJECT
private slots:
    void connectGroupIsLookedUpInCatalogueOrder();
    void versionGroupsFollowTheThresholds_data();
    void versionGroupsFollowTheThresholds();
    void everyCatalogueNameIsKnownToAFullController();
    void unknownNameNeverExecutedStillFailsInitialize();
    void sameNameTwiceMakesTwoEntries();
    void unresolvedLateFunctionSendsNothing();
    void setterAndGetterSequenceOnTheWire();
};

void TstProtocol::connectGroupIsLookedUpInCatalogueOrder()
{
    TestEnv env;
    SimEngine engine;
    env.install(std::make_unique<SimPort>(engine));
    StrictLine strict(engine);
    TTarget link;
    QCOMPARE(connectGroupAndInitialize(link), quint16(0));
    const QStringList log = engine.summaries();
    QCOMPARE(log.size(), 1 + 4 + 38);
    QCOMPARE(log.mid(0, 5), (QStringList{QStringLiteral("session 0x1b13"), "lookup GET",
                                         "lookup PUT", "lookup STRGET", "lookup STRPUT"}));
    QCOMPARE(log.at(5), QString("lookup +"));
    QCOMPARE(log.at(6), QString("lookup -"));
    QCOMPARE(log.at(7), QString("lookup T_DAUER_TO@"));
    QCOMPARE(log.at(26), QString("lookup TEST_START"));
    QCOMPARE(log.last(), QString("lookup HW_SER_NO?"));
    QCOMPARE(services().find("SPANN")->index(), 3);
}

void TstProtocol::versionGroupsFollowTheThresholds_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    const QStringList hist{"_HIST_INIT_READ", "_@HIST_ELEMENT", "_@HIST_?READ_END"};
    const QStringList hydr{"@EN_HYDR", "!HYDR_PULSE"};
    QTest::newRow("1.99") << 199 << 0 << QStringList{} << QStringList{"SET_MEM_MODE"};
    QTest::newRow("2.07") << 207 << 1 << QStringList{"SET_MEM_MODE"} << hist;
    QTest::newRow("2.09") << 209 << 7 << hist << QStringList{"M_OHNE_TOOL", "READ_NAME1"};
    QTest::newRow("2.10") << 210 << 8 << QStringList{"M_OHNE_TOOL"} << QStringList{"@ANA1"};
    QTest::newRow("3.00") << 300 << 93 << QStringList{"M_OHNE_TOOL", "WRITE_PHYS_RANGE3"} << hydr;
    QTest::newRow("3.10") << 310 << 99 << hydr << QStringList{};
}

void TstProtocol::versionGroupsFollowTheThresholds()
{
    QFETCH(int, version);
    QFETCH(int, count);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const QStringList names = versionGroupNames(quint16(version));
    QCOMPARE(names.size(), count);
    for (const QString& n : present)
        QVERIFY2(names.contains(n), qPrintable(n));
    for (const QString& n : absent)
        QVERIFY2(!names.contains(n), qPrintable(n));
    if (version >= 300) {
        // The 2.10 and 3.10 groups come after the channel functions, whose rows keep their order.
        QCOMPARE(names.indexOf("M_OHNE_TOOL"), 1 + 6 + 85);
        QCOMPARE(names.indexOf("READ_NAME1"), 7);
        QCOMPARE(names.indexOf("GET_DEPTH"), 7 + 18);
        QCOMPARE(names.mid(names.indexOf("@MIN1_1"), 5),
                 (QStringList{"@MIN1_1", "@MIN2_1", "@MAX1_1", "@MAX2_1", "@MIN1_2"}));
        QCOMPARE(names.mid(names.indexOf("READ_PHYS_ZERO1"), 3),
                 (QStringList{"READ_PHYS_ZERO1", "READ_PHYS_RANGE1", "READ_PHYS_ZERO2"}));
    }
    // Registered names stay within the name table's room.
    QVERIFY(int(connectGroup().size()) + count <= TWordList::Capacity);
}

void TstProtocol::everyCatalogueNameIsKnownToAFullController()
{
    // The simulator keeps its own vocabulary: a misspelling on either side shows up here.
    TestEnv env;
    SimEngine engine(bios(310));
    env.install(std::make_unique<SimPort>(engine));
    StrictLine strict(engine);
    TTarget link;
    QCOMPARE(connectGroupAndInitialize(link), quint16(0));
    for (const QString& name : versionGroupNames(310))
        QVERIFY2(services().make(&link, name).Resolve() == 0, qPrintable(name));
    QVERIFY(link.UnresolvedNames().isEmpty());
}

void TstProtocol::unknownNameNeverExecutedStillFailsInitialize()
{
    TestEnv env;
    SimEngine engine;
    QVERIFY(engine.addFault("unknown=M_GESAMT@"));
    env.install(std::make_unique<SimPort>(engine));
    StrictLine strict(engine);
    TTarget link;
    QCOMPARE(connectGroupAndInitialize(link), quint16(1));
    QCOMPARE(link.UnresolvedNames(), QStringList{"M_GESAMT@"});
    // Every later name was still looked up.
    QCOMPARE(engine.summaries().last(), QString("lookup HW_SER_NO?"));
    engine.clearLog();
    QCOMPARE(services().find("TEST_START")->Execute(), quint16(1));
    QVERIFY(engine.summaries().isEmpty());
}

void TstProtocol::sameNameTwiceMakesTwoEntries()
{
    TestEnv env;
    SimEngine engine;
    env.install(std::make_unique<SimPort>(engine));
    StrictLine strict(engine);
    TTarget link;
    TService a(&link, "SPANN");
    TService b(&link, "SPANN");
    QCOMPARE(b.index(), a.index() + 1);
    QCOMPARE(link.Initialize(), quint16(0));
    QCOMPARE(engine.summaries().count("lookup SPANN"), 2);
    QCOMPARE(link.WordList()->id(a.index()), link.WordList()->id(b.index()));
    QCOMPARE(b.Execute(), quint16(0));
}

void TstProtocol::unresolvedLateFunctionSendsNothing()
{
    TestEnv env;
    SimEngine engine(bios(300));
    env.install(std::make_unique<SimPort>(engine));
    StrictLine strict(engine);
    TTarget link;
    QCOMPARE(connectGroupAndInitialize(link), quint16(0));
    TService& hydr = services().make(&link, "@EN_HYDR");
    QCOMPARE(hydr.Resolve(), quint16(1));
    QCOMPARE(engine.summaries().last(), QString("lookup @EN_HYDR -> 0"));
    engine.clearLog();
    QCOMPARE(hydr.Execute(), quint16(1));
    QVERIFY(engine.summaries().isEmpty());
    QVERIFY(!link.LinkFailed());
}

void TstProtocol::setterAndGetterSequenceOnTheWire()
{
    TestEnv env;
    SimEngine engine;
    env.install(std::make_unique<SimPort>(engine));
    StrictLine strict(engine);
    TTarget link;
    QCOMPARE(connectGroupAndInitialize(link), quint16(0));
    engine.clearLog();
    quint16 v = 0;
    QCOMPARE(services().find("SPANN")->Execute(), quint16(0));
    QCOMPARE(link.SendValue(quint16(-120)), quint16(0));
    QCOMPARE(services().find("KURZ")->Execute(), quint16(0));
    QCOMPARE(services().find("M_ZKLEIN@")->Execute(), quint16(0));
    QCOMPARE(link.ReceiveValue(v), quint16(0));
    QCOMPARE(qint16(v), qint16(-120));
    QCOMPARE(engine.summaries(),
             (QStringList{"call SPANN", "GET 65416", "call KURZ", "call M_ZKLEIN@", "PUT 65416"}));
}

QTEST_GUILESS_MAIN(TstProtocol)
#include "tst_protocol.moc"
