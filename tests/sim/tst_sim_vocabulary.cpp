// Which names the simulated controller knows, by BIOS version, asked over the wire.

#include "SimHost.h"

#include <QTest>

using namespace r73::sim;

class SimVocabularyTest : public QObject
{
    Q_OBJECT

private slots:
    void namesByBios_data();
    void namesByBios();
    void everyNameOfTheNewestBios();
    void idsNeedEscapingAndStayFixed();
};

void SimVocabularyTest::namesByBios_data()
{
    QTest::addColumn<int>("bios");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    const QList<std::pair<int, const char*>> firstBios{
        {200, "SET_MEM_MODE"}, {208, "_@HIST_ELEMENT"}, {208, "LAST_SPANN@"},
        {210, "M_OHNE_TOOL"},  {300, "READ_NAME1"},     {300, "WRITE_PHYS_RANGE3"},
        {310, "@EN_HYDR"},     {310, "!HYDR_PULSE"}};
    for (const auto& [since, name] : firstBios) {
        QTest::addRow("%d lacks %s", since - 1, name) << since - 1 << name << false;
        QTest::addRow("%d has %s", since, name) << since << name << true;
    }
    QTest::newRow("case matters") << 310 << "spann" << false;
    QTest::newRow("no channel 4") << 310 << "@ANA4" << false;
}

void SimVocabularyTest::namesByBios()
{
    QFETCH(int, bios);
    QFETCH(QString, name);
    QFETCH(bool, known);
    SimConfig config;
    config.bios = quint16(bios);
    SimEngine engine(config);
    const QByteArray answer = simtest::Host(engine).lookup(qPrintable(name));
    QCOMPARE(answer.size(), 4);
    QCOMPARE(answer.left(2) != QByteArray(2, 0), known);
    QCOMPARE(answer.mid(2), known ? simtest::OkStatus : simtest::BadStatus);
}

void SimVocabularyTest::everyNameOfTheNewestBios()
{
    QStringList expected{"GET",
                         "PUT",
                         "STRGET",
                         "STRPUT",
                         "+",
                         "-",
                         "T_DAUER_TO@",
                         "SPANN",
                         "LOES",
                         "PLAN",
                         "SCHWING",
                         "F_MIN1@",
                         "F_MIN2@",
                         "F_MIN3@",
                         "M_ZKLEIN@",
                         "M_ZGROSS@",
                         "SCHWING_MAX@",
                         "!TIMEOUT",
                         "KURZ",
                         "LANG",
                         "F_START",
                         "F_STOP",
                         "F_PLAN",
                         "MAX_SCHWING",
                         "SPEICHERN",
                         "TEST_START",
                         "TEST_STOP",
                         "R_SENSOR",
                         "ACT_FREQ",
                         "ACT_ZAEHLER",
                         "R_INPORT",
                         "R_OPORT",
                         "F@",
                         "M_SPANN@",
                         "M_GESAMT@",
                         "M_SCHLEICH@",
                         "F_SCHLEICH@",
                         "F_MAX@",
                         "T_DAUER@",
                         "#MESSEN@",
                         "SV_NO?",
                         "HW_SER_NO?",
                         "SET_MEM_MODE",
                         "LAST_SPANN@",
                         "LAST_LOES@",
                         "ABW_LOES@",
                         "_HIST_INIT_READ",
                         "_@HIST_ELEMENT",
                         "_@HIST_?READ_END",
                         "GET_DEPTH",
                         "M_OHNE_TOOL",
                         "@EN_HYDR",
                         "!EN_HYDR",
                         "@HYDR_DAUER",
                         "!HYDR_DAUER",
                         "@HYDR_PULSE",
                         "!HYDR_PULSE"};
    for (const QString ch : {"1", "2", "3"}) {
        for (const char* stem : {"READ_NAME", "READ_EINH", "@ANA", "@PRUEFE_ANALOG", "WRITE_NAME",
                                 "WRITE_EINH", "@ANA_PARA", "!ANA_PARA", "READ_PHYS_ZERO",
                                 "READ_PHYS_RANGE", "WRITE_PHYS_ZERO", "WRITE_PHYS_RANGE"})
            expected << stem + ch;
        for (const char* limit : {"MIN1_", "MIN2_", "MAX1_", "MAX2_"})
            for (const char* prefix : {"@", "!", "READ_STR_", "WRITE_STR_"})
                expected << prefix + QString::fromLatin1(limit) + ch;
    }
    const SimVocabulary vocabulary(310);
    QStringList missing;
    for (const QString& name : expected)
        if (!vocabulary.byName(name)) missing << name;
    QCOMPARE(missing, QStringList());
    QCOMPARE(vocabulary.names().size(), expected.size()); // and nothing else
}

void SimVocabularyTest::idsNeedEscapingAndStayFixed()
{
    QSet<quint8> lowBytes;
    for (const SimFunction& f : SimVocabulary::fullTable()) {
        QVERIFY(r73::wire::needsEscape(quint8(f.id >> 8)));
        lowBytes.insert(quint8(f.id));
    }
    QCOMPARE(lowBytes.size(), SimVocabulary::fullTable().size()); // unique
    for (quint8 reserved : {0x11, 0x13, 0x1B})
        QVERIFY(lowBytes.contains(reserved));

    // A name keeps its id across versions; an older BIOS answers a newer id as unknown.
    QCOMPARE(SimVocabulary(150).idOf("SPANN"), SimVocabulary(310).idOf("SPANN"));
    const quint16 hydr = SimVocabulary(310).idOf("@HYDR_DAUER");
    SimConfig config;
    config.bios = 300;
    SimEngine engine(config);
    simtest::Host host(engine);
    QCOMPARE(engine.feed(simtest::request(hydr)), simtest::BadStatus);
    QCOMPARE(host.strict().take().size(), 1); // the program never calls what it could not look up
}

QTEST_GUILESS_MAIN(SimVocabularyTest)
#include "tst_sim_vocabulary.moc"
