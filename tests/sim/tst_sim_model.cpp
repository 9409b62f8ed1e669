// The simulated machine: parameter sets, the permanent store and its file, identity and readings.

#include "SimHost.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace r73::sim;
using simtest::Host;
using simtest::OkStatus;

class SimModelTest : public QObject
{
    Q_OBJECT

private slots:
    void setterGetterRoundTrip_data();
    void setterGetterRoundTrip();
    void speichernSavesSelectedSet_data();
    void speichernSavesSelectedSet();
    void unusableStateFileFallsBackToDefaults_data();
    void unusableStateFileFallsBackToDefaults();
    void valuesByConvention();
    void readingsFollowSeedAndTestMode();
};

void SimModelTest::setterGetterRoundTrip_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("setter");
    QTest::addColumn<QString>("getter");
    QTest::addColumn<int>("field");
    const QList<std::tuple<const char*, const char*, ParamField>> pairs{
        {"KURZ", "M_ZKLEIN@", ParamField::ZKlein},
        {"LANG", "M_ZGROSS@", ParamField::ZGross},
        {"M_OHNE_TOOL", "F_MIN2@", ParamField::FMin2},
        {"F_START", "F_MIN1@", ParamField::FMin1},
        {"F_STOP", "F_MIN3@", ParamField::FMin3},
        {"!TIMEOUT", "T_DAUER_TO@", ParamField::TDauerTo},
        {"F_PLAN", "F_MIN1@", ParamField::FMin1},
        {"MAX_SCHWING", "SCHWING_MAX@", ParamField::SchwingMax}};
    for (const char* selector : {"SPANN", "LOES", "PLAN", "SCHWING"})
        for (const auto& [setter, getter, field] : pairs)
            QTest::addRow("%s %s", selector, setter) << selector << setter << getter << int(field);
}

void SimModelTest::setterGetterRoundTrip()
{
    QFETCH(QString, selector);
    QFETCH(QString, setter);
    QFETCH(QString, getter);
    QFETCH(int, field);

    SimEngine engine;
    Host host(engine);
    const PermanentStore defaults = PermanentStore::factoryDefaults();
    QCOMPARE(host.call(qPrintable(selector)), OkStatus);
    const ParamSetId set = engine.machine().selectedSet();
    QCOMPARE(paramSetName(set), selector);

    // -1 as the host sends it, and a word whose both bytes need escaping.
    for (quint16 value : {quint16(65535), quint16(0x1B13)}) {
        QCOMPARE(host.store(qPrintable(setter), value), OkStatus);
        QCOMPARE(host.read(qPrintable(getter)), int(value));
        QCOMPARE(engine.machine().workingSet(set)[ParamField(field)], value);
    }
    for (int other = 0; other < ParamSetCount; ++other)
        if (ParamSetId(other) != set)
            QCOMPARE(engine.machine().workingSet(ParamSetId(other)), defaults.sets[other]);
    QCOMPARE(engine.machine().permanentStore(), defaults); // setting alone saves nothing
}

void SimModelTest::speichernSavesSelectedSet_data()
{
    QTest::addColumn<int>("bios");
    QTest::addColumn<bool>("arm");
    QTest::addColumn<bool>("saved");
    QTest::newRow("armed") << 310 << true << true;
    QTest::newRow("not armed") << 310 << false << false;
    QTest::newRow("old BIOS, no arming step") << 150 << false << true;
}

void SimModelTest::speichernSavesSelectedSet()
{
    QFETCH(int, bios);
    QFETCH(bool, arm);
    QFETCH(bool, saved);

    QTemporaryDir dir;
    SimConfig config;
    config.bios = quint16(bios);
    config.stateFile = dir.filePath("state.json");
    const PermanentStore defaults = PermanentStore::factoryDefaults();
    {
        SimEngine engine(config);
        Host host(engine);
        host.store("KURZ", 1111); // in SPANN, which is not selected when saving
        host.call("LOES");
        host.store("LANG", 65535);
        if (bios >= 310) host.store("!HYDR_PULSE", 77);
        if (arm) host.call("SET_MEM_MODE");
        QCOMPARE(host.call("SPEICHERN"), OkStatus);
    }
    SimEngine restarted(config);
    Host host(restarted);
    QCOMPARE(restarted.machine().selectedSet(), ParamSetId::Spann);
    QCOMPARE(host.read("M_ZKLEIN@"), int(defaults.set(ParamSetId::Spann)[ParamField::ZKlein]));
    host.call("LOES");
    QCOMPARE(host.read("M_ZGROSS@"),
             saved ? 65535 : int(defaults.set(ParamSetId::Loes)[ParamField::ZGross]));
    if (bios >= 310)
        QCOMPARE(host.read("@HYDR_PULSE"), saved ? 77 : int(defaults.hydraulic["HYDR_PULSE"]));
}

void SimModelTest::unusableStateFileFallsBackToDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("cut short") << QByteArray("{\"version\": 1, \"sets\": ");
    QTest::newRow("sets missing") << QByteArray("{\"version\": 1}");
    QTest::newRow("word too big") << QByteArray(
        "{\"version\": 1, \"sets\": {\"SPANN\": {\"ZKLEIN\": 70000}}}");
}

void SimModelTest::unusableStateFileFallsBackToDefaults()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    SimConfig config;
    config.stateFile = dir.filePath("state.json");
    QFile file(config.stateFile);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("state\\.json is unusable .*defaults"));
    SimEngine engine(config);
    QCOMPARE(engine.machine().permanentStore(), PermanentStore::factoryDefaults());

    // Saving replaces the bad file with a good one.
    Host host(engine);
    host.store("KURZ", 4242);
    host.call("SET_MEM_MODE");
    host.call("SPEICHERN");
    SimEngine restarted(config);
    QVERIFY(restarted.machine().stateWarning().isEmpty());
    QCOMPARE(restarted.machine().workingSet(ParamSetId::Spann)[ParamField::ZKlein], 4242);
}

void SimModelTest::valuesByConvention()
{
    SimConfig config;
    config.serial = 0x1B11;
    SimEngine engine(config);
    Host host(engine);
    QCOMPARE(host.read("SV_NO?"), 310);
    QCOMPARE(host.read("HW_SER_NO?"), 0x1B11);

    host.store("!MIN2_3", 0x1311);
    QCOMPARE(host.read("@MIN2_3"), 0x1311);
    QCOMPARE(host.read("@MIN2_2"), 59); // a different stem keeps its factory setting
    host.strGet("0,5 bar");
    host.call("WRITE_STR_MAX1_2");
    host.call("READ_STR_MAX1_2");
    QCOMPARE(engine.machine().textFifo(), QList<QByteArray>{"0,5 bar"});

    host.call("_@HIST_ELEMENT");
    QCOMPARE(engine.machine().valueFifo().size(), 8);
}

void SimModelTest::readingsFollowSeedAndTestMode()
{
    auto readings = [](quint64 seed) {
        SimConfig config;
        config.seed = seed;
        SimEngine engine(config);
        Host host(engine);
        QList<int> values;
        for (const char* name : {"R_SENSOR", "F@", "M_SPANN@", "T_DAUER@", "R_SENSOR"})
            values << host.read(name);
        return values;
    };
    QCOMPARE(readings(7), readings(7));
    QVERIFY(readings(7) != readings(8));

    // The machine starts idle; TEST_START and TEST_STOP show in bit 3 of the measuring status.
    SimEngine engine;
    Host host(engine);
    QCOMPARE(host.read("ACT_FREQ"), 0);
    QCOMPARE(host.read("#MESSEN@"), 0);
    host.call("TEST_START");
    QCOMPARE(host.read("#MESSEN@"), 0x08);
    host.call("TEST_STOP");
    QCOMPARE(host.read("#MESSEN@"), 0);
}

QTEST_GUILESS_MAIN(SimModelTest)
#include "tst_sim_model.moc"
