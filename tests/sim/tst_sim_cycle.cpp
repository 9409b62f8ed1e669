// The simulated machine running its own tests: course by seed, frozen words, every result the
// program can show, and values that fit the result and the parameter sets.

#include "SimHost.h"

#include <QSet>
#include <QTest>
#include <optional>

using namespace r73::sim;
using simtest::Host;

namespace {

// The machine promises every ending once per round of this many tests.
constexpr int TestsPerRound = 18;

/// The result text the program shows for an output word, by the program's own rules, so a word
/// the program would misread shows up here as the wrong text.
QString resultText(quint16 out, quint16 in)
{
    if ((out & 7) >= 5) return (out & 0xF0) || in == 0 ? "ANALOG ERR" : "ANALOG OK";
    QString text = "--";
    if (out & 0x10) text = "TEST OK";
    if (out & 0x20) text = "ZU KURZ";
    if (out & 0x40) text = out & 0x10 ? "kein Werkzeug" : "ZU LANG";
    if ((out & 0x60) == 0x60) text = "LECKAGE";
    if (out & 0x80) text = "TIMEOUT";
    return text;
}

/// What one finished test left behind, read through the protocol as the program reads it.
struct Finished
{
    quint16 in = 0;
    quint16 out = 0;
    int peakSensor = 0; ///< highest R_SENSOR seen while the test ran
    QHash<QString, int> values;

    int state() const { return out & 7; }
    QString text() const { return resultText(out, in); }
};

/// Polls R_OPORT, R_SENSOR, R_OPORT, R_INPORT round after round and reports each test as it
/// finishes. The sensor counts only when both output reads show the test running.
class Watcher
{
public:
    explicit Watcher(SimEngine& engine) : m_host(engine) {}

    Finished next(const QStringList& extra = {})
    {
        for (int guard = 0; guard < 10000; ++guard) {
            const int before = m_host.read("R_OPORT");
            const int sensor = m_host.read("R_SENSOR");
            const int after = m_host.read("R_OPORT");
            const int in = m_host.read("R_INPORT");
            if (before == after && (after & 7) && !(after & 0x08)) m_peak = qMax(m_peak, sensor);
            const bool finished = after & 0x08;
            if (finished && !m_wasFinished) {
                Finished f{quint16(in), quint16(after), m_peak, {}};
                for (const QString& name : extra)
                    f.values.insert(name, m_host.read(qPrintable(name)));
                m_wasFinished = true;
                m_peak = 0;
                return f;
            }
            m_wasFinished = finished;
        }
        qFatal("no test finished");
    }

    Host& host() { return m_host; }

private:
    Host m_host;
    bool m_wasFinished = false;
    int m_peak = 0;
};

QList<int> course(quint64 seed, const char* between, int exchanges)
{
    SimConfig config;
    config.seed = seed;
    SimEngine engine(config);
    Host host(engine);
    QList<int> words;
    while (engine.completedExchanges() < exchanges) {
        words << host.read("R_OPORT") << host.read("R_INPORT");
        host.read(between);
    }
    return words;
}

} // namespace

class SimCycleTest : public QObject
{
    Q_OBJECT

private slots:
    void courseFollowsSeedOnly_data();
    void courseFollowsSeedOnly();
    void frozenWordsAnsweredExactly_data();
    void frozenWordsAnsweredExactly();
    void everyResultWithinOneRound_data();
    void everyResultWithinOneRound();
    void valuesFitResultAndSets_data();
    void valuesFitResultAndSets();
    void liveReadingsFollowTheTest();
};

void SimCycleTest::courseFollowsSeedOnly_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::newRow("1") << quint64(1);
    QTest::newRow("0") << quint64(0);
    QTest::newRow("all ones") << ~quint64(0);
}

void SimCycleTest::courseFollowsSeedOnly()
{
    QFETCH(quint64, seed);
    const int exchanges = 4000; // more than a dozen tests
    const QList<int> first = course(seed, "R_SENSOR", exchanges);
    QCOMPARE(course(seed, "R_SENSOR", exchanges), first);
    // What the host reads in between must not change what the machine does.
    QCOMPARE(course(seed, "LAST_SPANN@", exchanges), first);
    QVERIFY(course(seed + 1, "R_SENSOR", exchanges) != first);
    QVERIFY(QSet<int>(first.begin(), first.end()).size() > 10);
}

void SimCycleTest::frozenWordsAnsweredExactly_data()
{
    QTest::addColumn<int>("input");  // -1: not frozen
    QTest::addColumn<int>("output"); // -1: not frozen
    QTest::addColumn<bool>("fromConfig");
    QTest::newRow("both") << 0x0081 << 0x0059 << false;
    QTest::newRow("both from start") << 0x0081 << 0x0059 << true;
    QTest::newRow("escaped bytes") << 0x1B13 << 0x1311 << false;
    QTest::newRow("zero") << 0 << 0 << true;
    QTest::newRow("all ones") << 0xFFFF << 0xFFFF << false;
    QTest::newRow("input only") << 0x0003 << -1 << true;
    QTest::newRow("output only") << -1 << 0x00F0 << false;
}

void SimCycleTest::frozenWordsAnsweredExactly()
{
    QFETCH(int, input);
    QFETCH(int, output);
    QFETCH(bool, fromConfig);
    auto word = [](int v) { return v < 0 ? std::nullopt : std::optional<quint16>(quint16(v)); };

    SimConfig config;
    if (fromConfig) {
        config.inputWord = word(input);
        config.outputWord = word(output);
    }
    SimEngine engine(config);
    if (!fromConfig) {
        engine.setInputWord(word(input));
        engine.setOutputWord(word(output));
    }
    Host host(engine);
    QSet<int> ins, outs;
    auto watch = [&] {
        ins.clear();
        outs.clear();
        const int until = engine.completedExchanges() + 3000;
        while (engine.completedExchanges() < until) {
            ins << host.read("R_INPORT");
            outs << host.read("R_OPORT");
        }
    };
    watch();
    QCOMPARE(ins, input < 0 ? ins : QSet<int>{input});
    QCOMPARE(outs, output < 0 ? outs : QSet<int>{output});
    if (input < 0) QVERIFY(ins.size() > 2);
    if (output < 0) QVERIFY(outs.size() > 2);
    QVERIFY(engine.machine().status().cycle().testsBegun() > 5); // the machine ran on

    engine.setInputWord(std::nullopt);
    engine.setOutputWord(std::nullopt);
    watch();
    QVERIFY(ins.size() > 2 && outs.size() > 2);
}

void SimCycleTest::everyResultWithinOneRound_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("bios");
    QTest::addColumn<QStringList>("texts");
    const QStringList common{"TEST OK", "ZU KURZ", "ZU LANG", "LECKAGE", "TIMEOUT"};
    const QStringList all = common + QStringList{"kein Werkzeug", "ANALOG OK", "ANALOG ERR"};
    for (quint64 seed : {1, 2, 99, 123456789})
        QTest::addRow("seed %llu", seed) << seed << 310 << all;
    QTest::newRow("3.00") << quint64(5) << 300 << all;
    // No clamping without tool before 2.10, no analog channels before 3.00.
    QTest::newRow("2.10") << quint64(5) << 210 << common + QStringList{"kein Werkzeug"};
    QTest::newRow("2.09") << quint64(5) << 209 << common;
    QTest::newRow("1.50") << quint64(5) << 150 << common;
}

void SimCycleTest::everyResultWithinOneRound()
{
    QFETCH(quint64, seed);
    QFETCH(int, bios);
    QFETCH(QStringList, texts);

    SimConfig config;
    config.seed = seed;
    config.bios = quint16(bios);
    SimEngine engine(config);
    Watcher watcher(engine);
    QSet<QString> seen;
    for (int n = 0; n < 2 * TestsPerRound; ++n) {
        const Finished f = watcher.next();
        // The finished test is still selected from outside, by exactly its own bit.
        QCOMPARE(f.in & 0x7F, 1 << (f.state() - 1));
        QVERIFY2(texts.contains(f.text()), qPrintable(f.text()));
        seen << f.text();
        if (n == TestsPerRound - 1) QCOMPARE(seen, QSet<QString>(texts.begin(), texts.end()));
    }
}

void SimCycleTest::valuesFitResultAndSets_data()
{
    QTest::addColumn<QList<int>>("spann"); // KURZ, LANG, M_OHNE_TOOL, !TIMEOUT; empty: as delivered
    QTest::addColumn<QList<int>>("loes");  // KURZ, LANG, !TIMEOUT
    QTest::addColumn<QList<int>>("schwing"); // MAX_SCHWING
    QTest::newRow("factory") << QList<int>{} << QList<int>{} << QList<int>{};
    QTest::newRow("demo") << QList<int>{180, 220, 260, 5000} << QList<int>{20, -20, 5000}
                          << QList<int>{100};
    // No room between the limits: the pulses decide the ending.
    QTest::newRow("tight") << QList<int>{0, 101, 102, 1000} << QList<int>{0, 0, 800}
                           << QList<int>{0};
    QTest::newRow("swapped") << QList<int>{500, 300, 0, 2000} << QList<int>{-7, 9, 3000}
                             << QList<int>{250};
}

void SimCycleTest::valuesFitResultAndSets()
{
    QFETCH(QList<int>, spann);
    QFETCH(QList<int>, loes);
    QFETCH(QList<int>, schwing);

    SimEngine engine;
    Watcher watcher(engine);
    Host& host = watcher.host();
    auto send = [&](const char* selector, const QList<const char*>& setters, const QList<int>& v) {
        host.call(selector);
        for (int i = 0; i < v.size(); ++i)
            host.store(setters[i], quint16(v[i]));
    };
    send("SPANN", {"KURZ", "LANG", "M_OHNE_TOOL", "!TIMEOUT"}, spann);
    send("LOES", {"KURZ", "LANG", "!TIMEOUT"}, loes);
    send("SCHWING", {"MAX_SCHWING"}, schwing);
    const ParamSet& s = engine.machine().workingSet(ParamSetId::Spann);
    const ParamSet& l = engine.machine().workingSet(ParamSetId::Loes);
    const int kurz = qint16(s[ParamField::ZKlein]), lang = qint16(s[ParamField::ZGross]);
    const int shortLimit = qMax(0, qMin(kurz, lang)), longLimit = qMax(kurz, lang);
    const int noTool = qint16(s[ParamField::FMin2]);
    const int pos = qAbs(qint16(l[ParamField::ZKlein])), neg = qAbs(qint16(l[ParamField::ZGross]));
    const int threshold = engine.machine().workingSet(ParamSetId::Schwing)[ParamField::SchwingMax];

    const QStringList service{"LAST_SPANN@", "LAST_LOES@", "ABW_LOES@", "M_SPANN@",
                              "T_DAUER@",    "F@",         "F_MAX@",    "F_SCHLEICH@"};
    for (int n = 0; n < 2 * TestsPerRound; ++n) {
        const Finished f = watcher.next(service);
        const auto& v = f.values;
        const QString text = f.text();
        const QByteArray what = QStringLiteral("state %1 %2, pulses %3/%4, sensor %5")
                                    .arg(f.state())
                                    .arg(text)
                                    .arg(v["LAST_SPANN@"])
                                    .arg(v["LAST_LOES@"])
                                    .arg(f.peakSensor)
                                    .toUtf8();
        if (f.state() == 1 || f.state() == 2) {
            const ParamSet& set = f.state() == 1 ? s : l;
            const int timeout = set[ParamField::TDauerTo];
            QCOMPARE(v["M_SPANN@"], v[f.state() == 1 ? "LAST_SPANN@" : "LAST_LOES@"]);
            QVERIFY2(text == "TIMEOUT" ? v["T_DAUER@"] >= timeout : v["T_DAUER@"] < timeout, what);
            QVERIFY2(v["F_MAX@"] >= v["F@"] && (v["F@"] > 0) == (v["M_SPANN@"] > 0), what);
            // Leakage keeps a quarter or more of the speed at the end, a good motion a few per
            // cent.
            const bool leaking = v["F_SCHLEICH@"] * 100 > v["F@"] * 15;
            if (v["F@"] >= 10) QVERIFY2(leaking == (text == "LECKAGE"), what);
        }
        if (f.state() == 1) {
            const int p = v["LAST_SPANN@"];
            if (text == "TEST OK" || text == "LECKAGE")
                QVERIFY2(p >= shortLimit && p <= longLimit, what);
            else if (text == "ZU KURZ" || (text == "TIMEOUT" && shortLimit > 0))
                QVERIFY2(p < shortLimit, what);
            else if (text == "TIMEOUT")
                QCOMPARE(p, 0);
            else if (text == "ZU LANG")
                QVERIFY2(p > longLimit && (noTool <= longLimit || p < noTool), what);
            else if (text == "kein Werkzeug")
                QVERIFY2(p > longLimit && p >= noTool, what);
            else
                QFAIL(what);
        } else if (f.state() == 2) {
            const int d = qint16(v["ABW_LOES@"]);
            QCOMPARE(d, v["LAST_LOES@"] - v["LAST_SPANN@"]);
            if (text == "TEST OK")
                QVERIFY2(d >= -neg && d <= pos, what);
            else if (text == "ZU KURZ" || text == "TIMEOUT")
                QVERIFY2(d < -neg || v["LAST_LOES@"] == 0, what);
            else if (text == "ZU LANG")
                QVERIFY2(d > pos, what);
            else
                QFAIL(what);
        } else if (f.state() == 3) {
            QVERIFY2(text == "TEST OK" || text == "TIMEOUT", what);
        } else if (f.state() == 4) {
            QVERIFY2(text == "TEST OK" ? f.peakSensor <= threshold : text == "ZU LANG", what);
            if (text == "ZU LANG") QVERIFY2(f.peakSensor > threshold, what);
        }
    }
}

void SimCycleTest::liveReadingsFollowTheTest()
{
    SimEngine engine;
    Host host(engine);
    host.call("TEST_START");
    int lastPulses = -1;
    int sawRunningMotion = 0;
    bool sawFrequency = false;
    while (engine.completedExchanges() < 8000) {
        const int before = host.read("R_OPORT");
        const int freq = host.read("ACT_FREQ");
        const int pulses = host.read("ACT_ZAEHLER");
        const int meas = host.read("#MESSEN@");
        const int sensor = host.read("R_SENSOR");
        const int in = host.read("R_INPORT");
        const int after = host.read("R_OPORT");
        QVERIFY(sensor >= 0 && sensor <= 1000);
        QVERIFY(meas & 0x08);          // test mode
        if (before != after) continue; // the phase changed under the reads
        const int state = after & 7;
        const bool running = state && !(after & 0x08);
        QCOMPARE(bool(meas & 0x02), running);
        QCOMPARE(bool(meas & 0x04), bool(after & 0x08));
        QCOMPARE(bool(in & 0x80), running); // the start request lasts as long as the test
        if (!state) QCOMPARE(freq, 0);
        if (running && (state == 1 || state == 2)) {
            ++sawRunningMotion;
            QVERIFY(freq <= engine.machine().status().cycle().plan().motion.maxFreq);
            sawFrequency = sawFrequency || freq > 0;
            if (lastPulses >= 0) QVERIFY(pulses >= lastPulses); // counts up through the motion
            lastPulses = pulses;
        } else {
            lastPulses = -1;
        }
    }
    QVERIFY(sawRunningMotion > 10 && sawFrequency);
    host.call("TEST_STOP");
    QCOMPARE(host.read("#MESSEN@") & 0x08, 0);
}

QTEST_GUILESS_MAIN(SimCycleTest)
#include "tst_sim_cycle.moc"
