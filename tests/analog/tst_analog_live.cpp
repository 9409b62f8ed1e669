// The live page "ANALOGWERTE" against the simulated controller: values in the system's format,
// bars, limit flags, inactive channels, and the re-read on returning to the page.

#include "AnalogFixture.h"
#include "AnalogwertePage.h"
#include "SimAnalog.h"
#include "TimerWrapper.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

using namespace r73;
using r73::test::AnalogFixture;

namespace {

QColor background(QLabel* label)
{
    return label->palette().color(QPalette::Window);
}

QColor menuColour()
{
    return QApplication::palette("QMenu").color(QPalette::Window);
}

} // namespace

class TstAnalogLive : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void liveValue_data();
    void liveValue();
    void limitFlags_data();
    void limitFlags();
    void inactiveChannelIsBlankAndNotPolled();
    void returningReadsAgain();
    void simulatedReadingMovesAndRepeats();
    void cleanupTestCase() { m_f.reset(); }

private:
    Ui::AnalogwertePage& live() { return m_f->ui().pgAnalogwerte->ui(); }
    std::unique_ptr<AnalogFixture> m_f;
};

void TstAnalogLive::initTestCase()
{
    m_f = std::make_unique<AnalogFixture>();
    m_f->store("WRITE_PHYS_ZERO1", "-100");
    m_f->store("WRITE_PHYS_RANGE1", "100");
}

void TstAnalogLive::cleanup()
{
    QLocale::setDefault(QLocale::c());
    for (int channel = 1; channel <= 3; ++channel) {
        sim::freezeAnalogReading(m_f->engine.machine(), channel, std::nullopt);
        sim::freezeAnalogFlags(m_f->engine.machine(), channel, std::nullopt);
    }
}

void TstAnalogLive::liveValue_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("title");     ///< of the channel's group box: its name
    QTest::addColumn<QList<int>>("limits"); ///< limit bars Max2, Max1, Min1, Min2
    // Channel 1: -100..100 on 0..255; channel 2: 0..250 at 4-20 mA, raw 51..255; channel 3
    // (made active for its row): 0..50 on 0..255.
    const QList<int> limits1{217, 191, 64, 38};
    QTest::newRow("English") << QLocale(QLocale::English) << 1 << 128 << "0.39" << 128
                             << "Temperatur" << limits1;
    QTest::newRow("German") << QLocale(QLocale::German) << 1 << 128 << "0,39" << 128 << "Temperatur"
                            << limits1;
    QTest::newRow("4-20 mA below the range")
        << QLocale::c() << 2 << 0 << "-62.50" << 51 << "Druck" << QList<int>{231, 214, 67, 59};
    QTest::newRow("channel 3") << QLocale::c() << 3 << 128 << "25.10" << 128 << "Weg"
                               << QList<int>{230, 204, 51, 26};
}

void TstAnalogLive::liveValue()
{
    QFETCH(QLocale, locale);
    QFETCH(int, channel);
    QFETCH(int, raw);
    QFETCH(QString, shown);
    QFETCH(int, bar);
    QFETCH(QString, title);
    QFETCH(QList<int>, limits);
    QLocale::setDefault(locale);
    QCheckBox* active3 = m_f->ui().pgAnalog3->ui().ckbKanalAktiv_3;
    if (channel == 3) active3->click(); // sent to the controller, which the live page reads
    sim::freezeAnalogReading(m_f->engine.machine(), channel, quint16(raw));
    m_f->show(9);
    const QString n = QString::number(channel);
    QWidget* page = m_f->ui().pgAnalogwerte;
    QCOMPARE(page->findChild<QLineEdit*>("edtAktWert_" + n)->text(), shown);
    QCOMPARE(page->findChild<QGroupBox*>("gbKanal_" + n)->title(), title);
    // Live bar first, then the limit bars, five in a row per channel.
    const int first = 6 + 5 * (channel - 1);
    auto barAt = [page](int i) {
        return page->findChild<QProgressBar*>(QString("ProgressBar%1").arg(i));
    };
    QProgressBar* liveBar = barAt(first);
    QCOMPARE(liveBar->value(), bar);
    QCOMPARE(liveBar->maximum(), 255);
    QList<int> shownLimits;
    for (int i = 1; i <= 4; ++i)
        shownLimits << barAt(first + i)->value();
    QCOMPARE(shownLimits, limits);
    if (channel == 3) active3->click();
}

void TstAnalogLive::limitFlags_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("flags");       ///< −1: as the controller computes them
    QTest::addColumn<QList<bool>>("red"); ///< Max2, Max1, Min1, Min2
    QTest::newRow("0x00F0") << 128 << 0x00F0 << QList<bool>{true, true, true, true};
    QTest::newRow("0x000F") << 128 << 0x000F << QList<bool>{false, false, false, false};
    // The controller's raw limits of channel 1: Min2 38, Min1 64, Max1 191, Max2 217.
    QTest::newRow("above both maxima") << 250 << -1 << QList<bool>{true, true, false, false};
    QTest::newRow("between Min2 and Min1") << 50 << -1 << QList<bool>{false, false, true, false};
}

void TstAnalogLive::limitFlags()
{
    QFETCH(int, raw);
    QFETCH(int, flags);
    QFETCH(QList<bool>, red);
    m_f->show(9);
    sim::freezeAnalogReading(m_f->engine.machine(), 1, quint16(raw));
    if (flags >= 0) sim::freezeAnalogFlags(m_f->engine.machine(), 1, quint16(flags));
    m_f->window->Timer4().fire();
    QLabel* const labels[] = {live().lbMax2_1, live().lbMax1_1, live().lbMin1_1, live().lbMin2_1};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(background(labels[i]), red[i] ? QColor(255, 0, 0) : menuColour());
}

void TstAnalogLive::inactiveChannelIsBlankAndNotPolled()
{
    // Channel 3 is inactive on the controller; something shown before must go.
    live().edtAktWert_3->setText("1.00");
    live().lbEinheit_3->setText("mm");
    m_f->engine.clearLog();
    m_f->show(9);
    m_f->window->Timer4().fire();
    QCOMPARE(live().edtAktWert_3->text(), QString());
    QCOMPARE(live().lbEinheit_3->text(), QString());
    for (QProgressBar* bar : {live().ProgressBar16, live().ProgressBar17, live().ProgressBar18,
                              live().ProgressBar19, live().ProgressBar20})
        QCOMPARE(bar->value(), bar->minimum());
    QCOMPARE(background(live().lbMax2_3), menuColour());
    const QStringList log = m_f->engine.summaries();
    QCOMPARE(log.count("call @ANA1"), 2);
    QVERIFY(!log.contains("call @ANA3") && !log.contains("call @PRUEFE_ANALOG3"));
}

void TstAnalogLive::returningReadsAgain()
{
    m_f->show(9);
    m_f->show(0);
    m_f->engine.clearLog();
    m_f->window->Timer4().fire();
    QVERIFY(!m_f->window->Timer4().Enabled());
    QCOMPARE(m_f->engine.summaries(), QStringList());
    m_f->show(9);
    const QStringList log = m_f->engine.summaries();
    for (const char* read : {"call READ_NAME1", "call READ_NAME2", "call READ_NAME3"})
        QVERIFY2(log.contains(read), read);
    QVERIFY(m_f->window->Timer4().Enabled());
}

void TstAnalogLive::simulatedReadingMovesAndRepeats()
{
    auto run = [] {
        sim::SimConfig config;
        config.seed = 7;
        sim::SimEngine engine(config);
        QHash<QString, quint16> values;
        const QHash<QString, QByteArray> texts;
        const sim::SimAnalog analog(values, texts, engine.machine().status().cycle());
        QList<int> readings;
        for (int tick = 0; tick < 600; ++tick, engine.machine().advance())
            readings << analog.reading(1 + tick % 3) << analog.flags(1 + tick % 3);
        return readings;
    };
    const QList<int> first = run();
    QCOMPARE(run(), first);
    QVERIFY(QSet<int>(first.begin(), first.end()).size() > 100);
}

QTEST_MAIN(TstAnalogLive)
#include "tst_analog_live.moc"
