// The number rules of the parameter pages: the vibration threshold in the system's number
// format, mm/s display and the logarithmic frequency gauge.

#include "ParamFormat.h"

#include <QLocale>
#include <QProgressBar>
#include <QTest>

using namespace r73;

class TstParamFormat : public QObject
{
    Q_OBJECT
private slots:
    void threshold_data();
    void threshold();
    void mmPerSecondDisplay_data();
    void mmPerSecondDisplay();
    void frequencyGaugeIsLogarithmic_data();
    void frequencyGaugeIsLogarithmic();
    void gaugeStandsAtItsEnds();
};

void TstParamFormat::threshold_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("raw");
    // The common cases run through the window in tst_param_pages.
    QTest::newRow("German comma") << "de_DE"
                                  << "2,5" << true << qint64(50);
    QTest::newRow("German point is no separator") << "de_DE"
                                                  << "2.500" << false << qint64(0);
    QTest::newRow("negative") << "C"
                              << "-1" << true << qint64(-20);
    QTest::newRow("not a number") << "C"
                                  << "nan" << false << qint64(0);
}

void TstParamFormat::threshold()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, raw);
    const std::optional<qint64> parsed = parseThreshold(text, QLocale(locale));
    QCOMPARE(parsed.has_value(), ok);
    if (ok) QCOMPARE(*parsed, raw);
}

void TstParamFormat::mmPerSecondDisplay_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << "C" << 0 << "0.00";
    QTest::newRow("one unit") << "C" << 1 << "0.05";
    QTest::newRow("bar top") << "C" << 200 << "10.00";
    QTest::newRow("largest word, no group separator") << "de_DE" << 65535 << "3276,75";
}

void TstParamFormat::mmPerSecondDisplay()
{
    QFETCH(QString, locale);
    QFETCH(int, raw);
    QFETCH(QString, shown);
    QCOMPARE(mmPerSecond(raw, QLocale(locale)), shown);
}

void TstParamFormat::frequencyGaugeIsLogarithmic_data()
{
    QTest::addColumn<int>("f");
    QTest::addColumn<int>("position");
    const int rows[][2] = {{0, 0},    {1, 0},     {5, 17},      {10, 25},    {100, 50},
                           {999, 74}, {1000, 75}, {10000, 100}, {65535, 120}};
    for (const auto& r : rows)
        QTest::newRow(qPrintable(QString::number(r[0]))) << r[0] << r[1];
}

void TstParamFormat::frequencyGaugeIsLogarithmic()
{
    QFETCH(int, f);
    QFETCH(int, position);
    QCOMPARE(frequencyGauge(quint16(f)), position);
}

void TstParamFormat::gaugeStandsAtItsEnds()
{
    QProgressBar bar;
    bar.setRange(0, 100);
    setGauge(&bar, 120);
    QCOMPARE(bar.value(), 100);
    setGauge(&bar, 40);
    QCOMPARE(bar.value(), 40);
    setGauge(&bar, -3);
    QCOMPARE(bar.value(), 0);
}

QTEST_MAIN(TstParamFormat)
#include "tst_param_format.moc"
