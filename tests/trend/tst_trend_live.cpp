// The trend in the program and in r73ctl: what the poll and the live analog page read arrives
// as rows, is recorded and replays as recorded; a recorder killed mid-row leaves a file the
// replay opens; the window's strips read at any size and break their lines where nothing was
// read.

#include "AnalogFixture.h"
#include "AnalogPage1.h"
#include "Berechnung.h"
#include "ProgramWindows.h"
#include "SimProcess.h"
#include "TimerWrapper.h"
#include "TrendFeed.h"
#include "TrendRecorder.h"
#include "TrendTools.h"
#include "TrendWindow.h"
#include "ui_TrendWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>

using namespace r73;

class TstTrendLive : public QObject
{
    Q_OBJECT
private slots:
    void programRecordsWhatItShowsAndReplaysIt();
    void keysOfTheMenuExtrasReachTheTrend();
    void stripsReadAtAnySize_data();
    void stripsReadAtAnySize();
    void watchWritesTheSameRows_data();
    void watchWritesTheSameRows();
};

void TstTrendLive::programRecordsWhatItShowsAndReplaysIt()
{
    test::AnalogFixture f;
    QVERIFY(programState().connected);
    // The steps below are the only reads: no timer may add one on a slow machine.
    for (TTimer* t : {&f.window->Timer1(), &f.window->Timer4()})
        t->setInterval(3600000);
    TrendTools tools(f.window.get());
    TrendWindow& trend = tools.window();
    tools.showWindow();
    QTest::mouseClick(trend.form().btRecord, Qt::LeftButton);
    QVERIFY(tools.recorder().recording());
    const size_t recorded = trend.rows().size();
    while (f.window->PollPhase() != 0)
        f.window->Timer1Timer();
    QCoreApplication::processEvents();
    const size_t before = trend.rows().size();
    for (int step = 0; step < 2; ++step) {
        f.window->Timer1Timer();
        QCoreApplication::processEvents();
    }
    // The live analog page, as Ctrl+Tab reaches it: one full read of the channels.
    f.ui().TabbedNotebook1->setCurrentIndex(9);
    QCoreApplication::processEvents();
    QTest::mouseClick(trend.form().btRecord, Qt::LeftButton);
    QVERIFY(!tools.recorder().recording());

    // The last rows hold what the window shows now.
    const std::vector<TrendRow> live(trend.rows().begin() + qsizetype(before), trend.rows().end());
    QCOMPARE(live.size(), size_t(3)); // two poll steps, one page read
    const TrendRow& io = live[0];
    QCOMPARE(io.input, qint32(f.window->InputWord()));
    QCOMPARE(io.result, f.ui().Label62->text());
    QCOMPARE(io.selection, f.ui().Label6->text());
    QCOMPARE(live[1].status, f.ui().Edit1->text().toInt());
    QVERIFY(live[1].input < 0 && live[0].status < 0); // each step records its own reads
    const ChannelSample& ch1 = live[2].channels[0];
    QVERIFY(ch1.read);
    // The page's value to what one raw step resolves (a step of 0.78: one decimal).
    double shown = 0;
    QVERIFY(parsePhys(f.ui().pgAnalogwerte->ui().edtAktWert_1->text(), shown));
    QCOMPARE(ch1.decimals, qint8(1));
    QCOMPARE(ch1.phys, roundedTo(shown, 1));
    QCOMPARE(tools.feed().channels()[0].name, f.ui().pgAnalogwerte->ui().gbKanal_1->title());
    // Its limits as the controller states them on the page, not recomputed from raw words.
    double max2 = 0;
    QVERIFY(parsePhys(f.ui().pgAnalog1->ui().edtMax2_1->text(), max2));
    QCOMPARE(ch1.limits[3], max2); // Max2

    // The recorded files replay as recorded. The channels' names arrived with the page read:
    // a new file began there, so each header names its rows' channels.
    const std::vector<TrendRow> all(trend.rows().begin() + qsizetype(recorded), trend.rows().end());
    const QStringList files = tools.recorder().files();
    QCOMPARE(files.size(), 2);
    std::vector<TrendRow> replay;
    for (const QString& path : files) {
        QVERIFY(trend.openFile(path));
        replay.insert(replay.end(), trend.rows().begin(), trend.rows().end());
    }
    QVERIFY(trend.replaying());
    QCOMPARE(trend.channels()[0], tools.feed().channels()[0]);
    QCOMPARE(replay.size(), all.size());
    for (size_t i = 0; i < replay.size(); ++i)
        QVERIFY(sameRow(replay[i], all[i]));
    QVERIFY(trend.cursorText(replay.back().msecs)
                .contains(f.ui().pgAnalogwerte->ui().lbEinheit_1->text()));

    // The picture of the plots, and a place it cannot go.
    QVERIFY(trend.savePicture(f.env.path(QStringLiteral("trend.png"))));
    QVERIFY(QImage(f.env.path(QStringLiteral("trend.png"))).width() > 400);
    QVERIFY(!trend.savePicture(f.env.path(QStringLiteral("no/such/folder/trend.png"))));
    QCOMPARE(f.takeBoxes().size(), 1);
}

void TstTrendLive::keysOfTheMenuExtrasReachTheTrend()
{
    test::TestEnv env;
    sim::SimEngine engine{test::ConnectFixture::config(310)};
    resetProgramState();
    env.install(std::make_unique<test::SimPort>(engine));
    ProgramWindows windows;
    TForm1& w = windows.mainWindow;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* tools = w.findChild<TrendTools*>();
    QVERIFY(tools);
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier); // not connected: nothing to record
    QVERIFY(!tools->recorder().recording());
    QTest::keyClick(&w, Qt::Key_F7);
    QVERIFY(programState().connected);
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(tools->recorder().recording());
    // The status line says so, with the file, when it starts and when it ends.
    const QString file = QFileInfo(tools->recorder().fileName()).fileName();
    QVERIFY2(w.doneText().contains(QString::fromUtf8("Aufzeichnung läuft: ")) &&
                 w.doneText().endsWith(file),
             qPrintable(w.doneText()));
    QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(tools->window().isVisible());
    tools->window().close();
    auto* button = w.form().pgAnalogwerte->findChild<QToolButton*>(QStringLiteral("btTrend"));
    QVERIFY(button);
    button->click();
    QVERIFY(tools->window().isVisible());
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(!tools->recorder().recording());
    QVERIFY2(w.doneText().contains(QStringLiteral("Aufzeichnung beendet: ")) &&
                 w.doneText().endsWith(file),
             qPrintable(w.doneText()));
}

void TstTrendLive::stripsReadAtAnySize_data()
{
    QTest::addColumn<QSize>("size"); // empty: as the window opens
    QTest::newRow("as it opens") << QSize();
    QTest::newRow("large") << QSize(1600, 1100);
}

void TstTrendLive::stripsReadAtAnySize()
{
    QFETCH(QSize, size);
    TrendFeed feed;
    TrendRecorder recorder;
    TrendWindow w(feed, recorder);
    if (!size.isEmpty()) w.resize(size);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Five minutes of a poll; the channel's page read every three seconds but for a minute.
    const qint64 t0 = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 81)).toMSecsSinceEpoch();
    for (int s = 0; s <= 300; ++s) {
        TrendRow r;
        r.msecs = t0 + s * 1000;
        r.sensor = 40 + s % 7;
        if (s % 3 == 0 && (s < 120 || s > 180)) {
            r.channels[0].read = true;
            r.channels[0].phys = 49.2 + 86.7 * (s % 30) / 29.0;
        }
        w.appendLive(r);
    }
    QTest::qWait(50); // the strips align once laid out
    const QList<TrendPlot*> plots = w.findChildren<TrendPlot*>();
    QCOMPARE(plots.at(0)->polylines(0).size(), 2);
    QCOMPARE(plots.at(3)->polylines(0).size(), 1); // the sensor, read throughout
    const QRectF edges = plots.at(0)->chart()->plotArea();
    for (TrendPlot* p : plots) {
        if (p->isHidden()) continue;
        const QRectF area = p->chart()->plotArea();
        QCOMPARE(area.left(), edges.left());
        QVERIFY(qAbs(area.right() - edges.right()) < 1); // the margins are whole pixels
        // Round ticks, each label whole within the view and clear of the next.
        const QList<AxisLabel> values = p->valueLabels();
        QVERIFY(values.size() >= 3);
        const double step = values[1].value - values[0].value;
        const double power = std::pow(10.0, std::floor(std::log10(step)));
        QVERIFY2(QList<double>({1, 2, 5}).contains(std::round(step / power)),
                 qPrintable(values[1].text));
        for (qsizetype i = 0; i < values.size(); ++i) {
            QVERIFY(values[i].rect.left() >= 0 && values[i].rect.right() <= area.left());
            QVERIFY(values[i].rect.top() >= 0 && values[i].rect.bottom() <= p->height());
            if (p != plots.last()) // the lanes' names sit between their lines
                QCOMPARE(std::remainder(values[i].value, step), 0.0);
            if (i) QVERIFY(values[i].rect.bottom() <= values[i - 1].rect.top());
        }
        const QList<AxisLabel> times = p->timeLabels();
        QVERIFY(times.size() >= 4);
        const qint64 tick = qint64(times[1].value - times[0].value);
        for (qsizetype i = 0; i < times.size(); ++i) {
            const QTime at = QDateTime::fromMSecsSinceEpoch(qint64(times[i].value)).time();
            QCOMPARE(at.msecsSinceStartOfDay() % tick, 0);
            QVERIFY(times[i].rect.left() >= 0 && times[i].rect.right() <= p->width());
            if (i) QVERIFY(times[i].rect.left() > times[i - 1].rect.right());
        }
    }
}

void TstTrendLive::watchWritesTheSameRows_data()
{
    QTest::addColumn<bool>("toFile");
    QTest::newRow("into a file, killed while it runs") << true;
    QTest::newRow("on standard output for two seconds") << false;
}

void TstTrendLive::watchWritesTheSameRows()
{
    QFETCH(bool, toFile);
    test::SimProcess sim;
    QVERIFY(sim.started());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("watch.csv"));
    QProcess watch;
    QStringList args{"--device", sim.link(), "watch"};
    args << (toFile ? QStringList{"--csv", path} : QStringList{"--seconds", "2"});
    watch.start(qEnvironmentVariable("R73_CTL"), args);
    TrendFile file;
    if (toFile) {
        // Flushed each second: rows are there while it runs, and killing it loses no more.
        QTRY_VERIFY_WITH_TIMEOUT((file = readTrendFile(path)).rows.size() >= 3, 15000);
        watch.kill();
        watch.waitForFinished();
        sim.takeViolations(); // a frame cut off by the kill
        QFile cut(path);
        QVERIFY(cut.resize(cut.size() - 7)); // as if it had died in the middle of the row
        file = readTrendFile(path);
        QCOMPARE(file.problems.size(), 1);
    } else {
        QVERIFY(watch.waitForFinished(15000));
        QCOMPARE(watch.exitCode(), 0);
        file = parseTrendCsv(QString::fromUtf8(watch.readAllStandardOutput()));
        QVERIFY(file.problems.isEmpty());
    }
    QVERIFY2(file.error.isEmpty(), qPrintable(file.error));
    QVERIFY(file.rows.size() >= 2);
    // The poll's two phases in turn, a second apart: lines and sensor, then the status.
    for (size_t i = 0; i + 1 < file.rows.size(); ++i) {
        const TrendRow& a = file.rows[i];
        const TrendRow& b = file.rows[i + 1];
        QVERIFY(a.input >= 0 && a.output >= 0 && a.sensor >= 0 ? b.status >= 0 && b.input < 0
                                                               : b.input >= 0 && a.status >= 0);
        QVERIFY(qAbs(b.msecs - a.msecs - 1000) < 300);
        QVERIFY(a.input < 0 || !a.result.isEmpty());
    }
}

QTEST_MAIN(TstTrendLive)
#include "tst_trend_live.moc"
