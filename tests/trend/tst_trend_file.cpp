// The trend's files: header, units, time stamps and separators, values to their resolution and
// texts in English; rows read back as recorded, from damaged files too; a recorder that cannot
// write says so; decimation keeps the extremes and the gaps.

#include "Decimate.h"
#include "SmallDisk.h"
#include "TextTable.h"
#include "Translate.h"
#include "TrendCsv.h"
#include "TrendFeed.h"
#include "TrendRecorder.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace r73;

namespace {

const ChannelInfos Channels{{{QStringLiteral("Druck"), QStringLiteral("Bar")},
                             {QStringLiteral("Größe, außen"), QStringLiteral("mm")},
                             {}}};

/// Rows as a poll makes them: I/O steps, status steps, channel refreshes, awkward texts.
std::vector<TrendRow> sampleRows()
{
    std::vector<TrendRow> rows;
    const qint64 t0 = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 81)).toMSecsSinceEpoch();
    for (int i = 0; i < 40; ++i) {
        TrendRow r;
        r.msecs = t0 + i * 1001;
        if (i % 2 == 0) {
            r.sensor = 3 * i;
            r.input = i & 0xFF;
            r.output = 0x0050 + i;
            r.selection = QStringLiteral("SPANNEN");
            r.state = QString::fromUtf8("LÖSEN");
            r.finished = QStringLiteral("--");
            r.result = i == 10 ? QStringLiteral("say \"no\", twice") : QStringLiteral("TEST OK");
        } else {
            r.status = 65535 - i;
        }
        if (i % 3 == 0) {
            ChannelSample& c = r.channels[i % 2];
            c.read = true;
            c.raw = quint16(i * 6);
            c.flags = 0x00F0;
            c.phys = -100 + i * 0.7843137254901961;
            c.limits = {-80.5, -60, 60, i == 9 ? NAN : 75.25};
        }
        rows.push_back(r);
    }
    return rows;
}

QString readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

} // namespace

class TstTrendFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { BuildTextTable(); } // a German session
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void formatOfHeaderAndCells_data();
    void formatOfHeaderAndCells();
    void recordedRowsReadBack_data();
    void recordedRowsReadBack();
    void damagedFilesKeepTheirReadableRows_data();
    void damagedFilesKeepTheirReadableRows();
    void recorderFailuresAreReported();
    void decimationKeepsExtremes_data();
    void decimationKeepsExtremes();
};

void TstTrendFile::formatOfHeaderAndCells_data()
{
    QTest::addColumn<bool>("localeDecimal");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("channelCells");
    QTest::addColumn<QString>("fedCells"); // a channel of 0..50 over 255 steps, as fed
    QTest::newRow("default: point and comma, whatever the locale")
        << false << QLocale(QLocale::German)
        << "time,sensor [0.05 mm/s],inputs,outputs,status,selection,state,finished,result,"
           "ch1 raw,ch1 Druck [Bar],ch1 flags,ch1 Min2 [Bar],"
        << ",CLAMP,RELEASE,--,TEST OK,0,-100,240,-80.5,-60,60,75.25,"
        << ",1,0.20,0,0.2,,,,";
    QTest::newRow("German decimal comma asked for: semicolons")
        << true << QLocale(QLocale::German)
        << "time;sensor [0.05 mm/s];inputs;outputs;status;selection;state;finished;result;"
           "ch1 raw;ch1 Druck [Bar];ch1 flags;ch1 Min2 [Bar];"
        << ";CLAMP;RELEASE;--;TEST OK;0;-100;240;-80,5;-60;60;75,25;"
        << ";1;0,20;0;0,2;;;;";
    QTest::newRow("English decimal point asked for: stays a comma")
        << true << QLocale(QLocale::English) << "time,sensor [0.05 mm/s],inputs,"
        << ",0,-100,240,-80.5,"
        << ",1,0.20,0,";
}

void TstTrendFile::formatOfHeaderAndCells()
{
    QFETCH(bool, localeDecimal);
    QFETCH(QLocale, locale);
    QFETCH(QString, header);
    QFETCH(QString, channelCells);
    QFETCH(QString, fedCells);
    QLocale::setDefault(locale);
    const CsvFormat f = localeDecimal ? CsvFormat::localeDecimal() : CsvFormat{};
    const QString head = csvHeader(Channels, f);
    QVERIFY2(head.startsWith(header), qPrintable(head));
    const std::vector<TrendRow> rows = sampleRows();
    const QString line = csvLine(rows[0], f);
    // ISO 8601 with milliseconds and the offset from UTC, the one way pandas and spreadsheets
    // read without being told.
    const QDateTime t = QDateTime::fromString(line.section(f.separator, 0, 0), Qt::ISODateWithMs);
    QCOMPARE(t.toMSecsSinceEpoch(), rows[0].msecs);
    QVERIFY(line.section(f.separator, 0, 0).contains(QStringLiteral(".081")));
    QVERIFY2(line.contains(channelCells), qPrintable(line));
    // A name with the separator in it is quoted and reads back whole.
    const TrendFile back = parseTrendCsv(head + line);
    QCOMPARE(back.rows.size(), size_t(1));
    QCOMPARE(back.channels[1].name, QString::fromUtf8("Größe, außen"));
    // The window's German texts come back as shown.
    QCOMPARE(back.rows[0].state, rows[0].state);

    // What the feed makes of a reading: to a tenth of a raw step, not the scaling's noise; a
    // switched-off channel still named in the header.
    TrendFeed feed;
    TrendRow fed;
    connect(&feed, &TrendFeed::rowReady, this, [&](const TrendRow& r) { fed = r; });
    const double step = 50.0 / 255;
    feed.channelRead(
        {2, QStringLiteral("Weg"), QStringLiteral("mm"), 1, 0, step, {0.2, NAN, NAN, NAN}, step});
    feed.channelInactive(3, QStringLiteral("Temperatur"), QString::fromUtf8("°C"));
    feed.commit();
    QVERIFY2(csvHeader(feed.channels(), f).contains(QString::fromUtf8("ch3 Temperatur [°C]")),
             qPrintable(csvHeader(feed.channels(), f)));
    const QString fedLine = csvLine(fed, f);
    QVERIFY2(fedLine.contains(fedCells), qPrintable(fedLine));
    QCOMPARE(parseTrendCsv(csvHeader(feed.channels(), f) + fedLine).rows.at(0).channels[1].phys,
             0.2);
}

void TstTrendFile::recordedRowsReadBack_data()
{
    QTest::addColumn<bool>("localeDecimal");
    QTest::addColumn<qint64>("fileLimit");
    QTest::newRow("one file") << false << qint64(1 << 20);
    QTest::newRow("decimal comma, rotated every few rows") << true << qint64(900);
}

void TstTrendFile::recordedRowsReadBack()
{
    QFETCH(bool, localeDecimal);
    QFETCH(qint64, fileLimit);
    QLocale::setDefault(QLocale(QLocale::German));
    QTemporaryDir dir;
    RecorderSettings s;
    s.folder = dir.filePath(QStringLiteral("Log"));
    s.fileLimit = fileLimit;
    s.format = localeDecimal ? CsvFormat::localeDecimal() : CsvFormat{};
    TrendRecorder recorder;
    QString error;
    QVERIFY2(recorder.start(s, Channels, error), qPrintable(error));
    const std::vector<TrendRow> rows = sampleRows();
    for (const TrendRow& r : rows)
        QVERIFY(recorder.write(r));
    recorder.stop();
    QCOMPARE(recorder.files().size() > 1, fileLimit < 1000);
    std::vector<TrendRow> back;
    for (const QString& path : recorder.files()) {
        QVERIFY(readAll(path).size() <= fileLimit);
        const TrendFile file = readTrendFile(path);
        QVERIFY2(file.error.isEmpty() && file.problems.isEmpty(),
                 qPrintable(file.error + file.problems.join(u'\n')));
        QVERIFY(file.channels == Channels);
        back.insert(back.end(), file.rows.begin(), file.rows.end());
    }
    QCOMPARE(back.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        QVERIFY2(sameRow(back[i], rows[i]), qPrintable(QString::number(i)));
}

void TstTrendFile::damagedFilesKeepTheirReadableRows_data()
{
    QTest::addColumn<QString>("damage"); // applied to the text of a recorded file
    QTest::addColumn<int>("rowsKept");
    QTest::addColumn<QString>("problem");
    QTest::newRow("cut off in the middle of the last row")
        << "cut" << 39 << QString::fromUtf8("Zeile 41: unvollständig");
    QTest::newRow("a garbled row in between") << "garble" << 39 << "Zeile 6: Zeitstempel";
    QTest::newRow("a row with cells missing") << "short" << 39 << "Zeile 3: 9 statt 30";
    QTest::newRow("not a trend file") << "header" << 0 << "Keine Trend-Datei";
}

void TstTrendFile::damagedFilesKeepTheirReadableRows()
{
    QFETCH(QString, damage);
    QFETCH(int, rowsKept);
    QFETCH(QString, problem);
    QString text = csvHeader(Channels, {});
    for (const TrendRow& r : sampleRows())
        text += csvLine(r, {});
    QStringList lines = text.split(u'\n');
    if (damage == "cut") text.chop(text.size() - text.lastIndexOf(u',', text.size() - 20));
    if (damage == "garble") lines[5].replace(0, 4, QStringLiteral("x?"));
    if (damage == "short") lines[2] = lines[2].section(u',', 0, 8);
    if (damage == "header") lines[0] = QStringLiteral("a,b,c");
    if (damage != "cut") text = lines.join(u'\n');
    const TrendFile file = parseTrendCsv(text);
    QCOMPARE(int(file.rows.size()), rowsKept);
    const QString all = file.error + file.problems.join(u'\n');
    QVERIFY2(all.startsWith(problem), qPrintable(all));
    QCOMPARE(file.problems.size() + (file.error.isEmpty() ? 0 : 1), 1);
}

void TstTrendFile::recorderFailuresAreReported()
{
    QTemporaryDir dir;
    QString error;
    TrendRecorder recorder;
    // "Log" taken by a file: no folder, a message, and nothing recording.
    QFile taken(dir.filePath(QStringLiteral("Log")));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    RecorderSettings s;
    s.folder = taken.fileName();
    QVERIFY(!recorder.start(s, Channels, error));
    QVERIFY2(error.contains(taken.fileName()), qPrintable(error));
    QVERIFY(!recorder.recording());

    // An existing file is never emptied: refused, as it was.
    QFile earlier(dir.filePath(QStringLiteral("earlier.csv")));
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("kept\n") == 5);
    earlier.close();
    QVERIFY(!recorder.startFile(earlier.fileName(), {}, Channels, error));
    QVERIFY2(error.contains(QStringLiteral("die Datei gibt es schon")), qPrintable(error));
    QCOMPARE(earlier.size(), 5);

    // A full disk: the failed write stops the recording with its reason in words.
    const QString full = dir.filePath(QStringLiteral("full.csv"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
    QStringList reported;
    connect(&recorder, &TrendRecorder::failed, this, [&](const QString& m) { reported << m; });
    error.clear();
    if (recorder.startFile(full, {}, Channels, error, GrowingFile::Mode::Truncate)) {
        TrendRow r = sampleRows()[0];
        for (int i = 0; i < 2000 && recorder.recording(); ++i)
            recorder.write(r);
        recorder.stop();
    }
    QVERIFY(!recorder.recording());

    // The disk fills during the recording: it stops with the reason; the rows before stay.
    const QString partial = dir.filePath(QStringLiteral("partial.csv"));
    QString stopped;
    QVERIFY(!test::inSmallFileSystem(
        4000,
        [&](QString* why) {
            connect(&recorder, &TrendRecorder::failed, [why](const QString& m) { *why = m; });
            if (!recorder.startFile(partial, {}, Channels, error)) return false;
            for (int i = 0; i < 200; ++i)
                recorder.write(sampleRows()[0]);
            recorder.stop();
            return why->isEmpty();
        },
        &stopped));
    QVERIFY2(stopped.contains(QStringLiteral("Datei zu groß")), qPrintable(stopped));
    QCOMPARE(readTrendFile(partial).error, QString());

    const QString all = reported.join(u'\n') + error;
    QVERIFY2(reported.size() + !error.isEmpty() == 1 && all.contains(full) &&
                 all.contains(QStringLiteral("kein Platz auf dem Datenträger")),
             qPrintable(all));
}

void TstTrendFile::decimationKeepsExtremes_data()
{
    QTest::addColumn<int>("spikeAt");
    QTest::addColumn<double>("spike");
    QTest::addColumn<int>("gapFrom"); // three samples not read
    QTest::newRow("one sample up, early") << 1234 << 1000.0 << 0;
    QTest::newRow("one sample down, late, after a gap") << 98765 << -1000.0 << 50101;
}

void TstTrendFile::decimationKeepsExtremes()
{
    QFETCH(int, spikeAt);
    QFETCH(double, spike);
    QFETCH(int, gapFrom);
    QList<QPointF> points;
    for (int i = 0; i < 100000; ++i)
        points << QPointF(i, i == spikeAt                        ? spike
                             : gapFrom && qAbs(i - gapFrom) <= 1 ? qQNaN()
                                                                 : std::sin(i / 500.0));
    const int columns = 300;
    const QList<QPointF> shown = decimate(points, 1000, 99000, columns);
    QVERIFY(shown.size() <= 4 * columns + 2);
    QVERIFY(std::is_sorted(shown.begin(), shown.end(),
                           [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
    // The spike, the sine's extremes and the neighbours outside the span are all there.
    QVERIFY(shown.contains(points[spikeAt]));
    // A gap stays one, once, where it was.
    const auto gaps = std::count_if(shown.begin(), shown.end(),
                                    [](const QPointF& p) { return std::isnan(p.y()); });
    QCOMPARE(gaps, gapFrom ? 1 : 0);
    double low = 0, high = 0;
    for (const QPointF& p : shown) {
        if (std::isnan(p.y())) {
            QCOMPARE(p.x(), double(gapFrom - 1));
            continue;
        }
        low = qMin(low, p.y());
        high = qMax(high, p.y());
    }
    QCOMPARE(spike > 0 ? high : low, spike);
    QVERIFY(qAbs(spike > 0 ? low : high) > 0.9999);
    QCOMPARE(shown.first(), points[999]);
    QCOMPARE(shown.last(), points[99001]);
}

QTEST_GUILESS_MAIN(TstTrendFile)
#include "tst_trend_file.moc"
