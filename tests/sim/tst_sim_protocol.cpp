// The engine's wire behaviour against byte vectors written out by hand.

#include "SimHost.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace r73::sim;
using simtest::Host;

class SimProtocolTest : public QObject
{
    Q_OBJECT

private slots:
    void goldenExchange_data();
    void goldenExchange();
    void splitAnywhere_data();
    void splitAnywhere();
    void fifosAnswerInOrder();
    void hostBreakingTheProtocol_data();
    void hostBreakingTheProtocol();
    void logFileHasOneJsonLinePerExchange();
};

void SimProtocolTest::goldenExchange_data()
{
    QTest::addColumn<QByteArray>("setup"); // fed first, answer not checked
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("summary");

    const QByteArray none;
    QTest::newRow("handshake") << none << QByteArray::fromHex("0004")
                               << QByteArray::fromHex("52371b3b1b33") << "session 0x1b13";
    QTest::newRow("lookup") << none << QByteArray::fromHex("011b3b1b3305") + "SPANN"
                            << QByteArray::fromHex("1b31070100") << "lookup SPANN";
    QTest::newRow("lookup unknown") << none << QByteArray::fromHex("011b3b1b3304") + "NOPE"
                                    << QByteArray::fromHex("00000101") << "lookup NOPE -> 0";
    QTest::newRow("call 0x1113") << none << QByteArray::fromHex("011b311b33")
                                 << QByteArray::fromHex("0100") << "call LANG";
    QTest::newRow("GET 0x1b11") << none << QByteArray::fromHex("011b31001b3b1b31")
                                << QByteArray::fromHex("0100") << "GET 6929";
    // F_MIN1@ (0x110b) pushes the SPANN default 0x0011.
    QTest::newRow("PUT") << QByteArray::fromHex("011b310b") << QByteArray::fromHex("011b3101")
                         << QByteArray::fromHex("001b310100") << "PUT 17";
    QTest::newRow("STRGET") << none << QByteArray::fromHex("011b310203") + "abc"
                            << QByteArray::fromHex("0100") << "STRGET \"abc\"";
    // STRGET "a<ESC>"; WRITE_NAME1 stores it, READ_NAME1 pushes it for the STRPUT.
    const SimVocabulary v(310);
    const QByteArray setup = simtest::request(v.idOf("STRGET"), QByteArray::fromHex("02611b")) +
                             simtest::request(v.idOf("WRITE_NAME1")) +
                             simtest::request(v.idOf("READ_NAME1"));
    QTest::newRow("STRPUT") << setup << QByteArray::fromHex("011b3103")
                            << QByteArray::fromHex("02611b3b0100") << "STRPUT \"a\x1b\"";
}

void SimProtocolTest::goldenExchange()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    QFETCH(QString, summary);

    SimEngine engine;
    Host host(engine);
    engine.feed(setup);
    engine.clearLog();
    QCOMPARE(engine.feed(request).toHex(), answer.toHex());
    QCOMPARE(engine.summaries(), QStringList{summary});
}

void SimProtocolTest::splitAnywhere_data()
{
    // All rows but the handshake hold escapes, so some cuts fall between an escape and its
    // partner.
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("handshake") << QByteArray::fromHex("0004")
                               << QByteArray::fromHex("52371b3b1b33");
    QTest::newRow("lookup") << QByteArray::fromHex("011b3b1b3305") + "SPANN"
                            << QByteArray::fromHex("1b31070100");
    QTest::newRow("GET") << QByteArray::fromHex("011b31001b3b1b31") << QByteArray::fromHex("0100");
    QTest::newRow("STRGET") << QByteArray::fromHex("011b3102031b311b331b3b")
                            << QByteArray::fromHex("0100");
}

void SimProtocolTest::splitAnywhere()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);

    SimEngine engine;
    Host host(engine);
    for (int cut = 1; cut < request.size(); ++cut) {
        QByteArray got = engine.feed(request.left(cut));
        got += engine.feed(request.mid(cut));
        QCOMPARE(got.toHex(), answer.toHex());
    }
    QByteArray byteByByte;
    for (char c : request)
        byteByByte += engine.feed(QByteArray(1, c));
    QCOMPARE(byteByByte.toHex(), answer.toHex());
    QCOMPARE(engine.feed(request + request).toHex(), (answer + answer).toHex());
}

void SimProtocolTest::fifosAnswerInOrder()
{
    SimEngine engine;
    Host host(engine);
    host.call("M_ZKLEIN@");
    host.call("M_ZGROSS@");
    QCOMPARE(host.put(), 0x0113); // first pushed, first out
    QCOMPARE(host.put(), 0x1B1B);

    host.strGet("Kraft");
    host.call("WRITE_EINH2");
    host.call("READ_EINH2");
    host.call("READ_EINH1"); // the factory setting
    QCOMPARE(host.call("STRPUT"), QByteArray(1, 5) + "Kraft" + simtest::OkStatus);
    QCOMPARE(host.call("STRPUT"), QByteArray(1, 6) + "Grad C" + simtest::OkStatus);
}

void SimProtocolTest::hostBreakingTheProtocol_data()
{
    QTest::addColumn<bool>("session");
    QTest::addColumn<QByteArray>("request"); // the violation is seen at its last byte
    QTest::addColumn<QByteArray>("answer");  // what the controller answers all the same
    QTest::addColumn<QString>("violation");

    const QByteArray none;
    // GET (0x1100) with a word whose low byte is not escaped: taken as data.
    QTest::newRow("unescaped 0x11") << true << QByteArray::fromHex("011b31000011")
                                    << QByteArray::fromHex("0100") << "unescaped 0x11";
    QTest::newRow("unescaped 0x13") << true << QByteArray::fromHex("011b31000013")
                                    << QByteArray::fromHex("0100") << "unescaped 0x13";
    QTest::newRow("escape + 0x41") << true << QByteArray::fromHex("011b3100001b41")
                                   << QByteArray::fromHex("0100") << "escape followed by 0x41";
    QTest::newRow("no handshake") << false << QByteArray::fromHex("011b3b1b3304") + "LANG" << none
                                  << "name lookup before the handshake";
    QTest::newRow("call, no handshake") << false << QByteArray::fromHex("011b311b33") << none
                                        << "call of LANG before the handshake";
    QTest::newRow("unbalanced PUT")
        << true << QByteArray::fromHex("011b3101") << none << "PUT with nothing queued";
    QTest::newRow("unbalanced STRPUT")
        << true << QByteArray::fromHex("011b3103") << none << "STRPUT with nothing queued";
    // Answered as a failed call, and logged as one.
    QTest::newRow("id not offered")
        << true << QByteArray::fromHex("011234") << QByteArray::fromHex("0101")
        << "call of 0x1234, which BIOS 310 does not offer";
    QTest::newRow("half-sent") << true << QByteArray::fromHex("011b31") << none
                               << "message stopped half-sent";
    QTest::newRow("stray byte") << true << QByteArray::fromHex("55") << none
                                << "stray byte between exchanges";
    QTest::newRow("opening, no request")
        << true << QByteArray::fromHex("0007") << none << "opening byte 00 not followed by 04";
}

void SimProtocolTest::hostBreakingTheProtocol()
{
    QFETCH(bool, session);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    QFETCH(QString, violation);

    SimEngine engine;
    Host host(engine, session);
    QCOMPARE(engine.feed(request).toHex(), answer.toHex());
    engine.lineQuiet();
    QCOMPARE(engine.violations().size(), 1);
    const QString seen = engine.violations().first();
    QVERIFY2(seen.startsWith(violation), qPrintable(seen));
    QVERIFY2(seen.contains("bytes: " + request.toHex(' ')), qPrintable(seen));
    QVERIFY2(seen.contains(session ? "after: session 0x1b13" : "after: (none)"), qPrintable(seen));
    if (answer == simtest::BadStatus) QCOMPARE(engine.summaries().last(), QString("call ?0x1234"));
    // The check every test makes at its end fails and prints it.
    QEXPECT_FAIL("", "provoked on purpose", Continue);
    host.strict().verify();
    // A message the host starts afresh is understood.
    QCOMPARE(engine.feed(QByteArray::fromHex("0004011b311b33")).toHex(), "52371b3b1b330100");
}

void SimProtocolTest::logFileHasOneJsonLinePerExchange()
{
    QTemporaryDir dir;
    SimConfig config;
    config.logFile = dir.filePath("sim.log");
    SimEngine engine(config);
    Host host(engine);
    host.lookup("NOPE");
    host.store("KURZ", 65535);
    engine.feed(QByteArray::fromHex("011234"));
    QCOMPARE(host.strict().take().size(), 1); // the unknown id, on purpose

    // Flushed per line: complete while the engine is still running.
    QFile file(config.logFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QJsonObject> lines;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty()) lines << QJsonDocument::fromJson(line).object();
    QCOMPARE(lines.size(), 5);
    QStringList summaries;
    for (const QJsonObject& o : lines)
        summaries << o.value("summary").toString();
    QCOMPARE(summaries, QStringList{"session 0x1b13"} + engine.summaries());
    QCOMPARE(lines[1].value("ok").toBool(), false);
    QCOMPARE(lines[2].value("kind").toString(), "get");
    QCOMPARE(lines[2].value("wordsIn").toVariant().toList(), QVariantList{65535});
    QCOMPARE(lines[3].value("name").toString(), "KURZ");
    QCOMPARE(lines[3].value("id").toString(), "0x1112");
    QCOMPARE(lines[4].value("name").toString(), "?");
}

QTEST_GUILESS_MAIN(SimProtocolTest)
#include "tst_sim_protocol.moc"
