// The service report and the archive on the simulated controller: the PDF read back with
// pdftotext in both languages, the visits recorded with their files, the archive window with a
// file deleted by hand, the history as CSV, and the pause a record costs the window.

#include "Archive.h"
#include "ArchiveConfig.h"
#include "ConnectFixture.h"
#include "ControllerModel.h"
#include "FiPri.h"
#include "Forms.h"
#include "LogbuchPage.h"
#include "ReportFromWindow.h"
#include "ServiceRecord.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTreeWidget>

using namespace r73;
using r73::test::ConnectFixture;

namespace {

QString pdfText(const QString& path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TstReport : public QObject
{
    Q_OBJECT
private slots:
    void reportAndArchiveOnTheController_data();
    void reportAndArchiveOnTheController();
    void unwritableReportIsSaidAndNotRecorded();
    void recordingCostsTheWindowNoPause();
};

void TstReport::reportAndArchiveOnTheController_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("German") << 0
                            << QStringList{"Servicebericht R73-Controller", "Parametersatz",
                                           "Seite 1 von", "Unterschrift Kunde"};
    QTest::newRow("English") << 1
                             << QStringList{"Service report R73 controller", "Parameter set",
                                            "Page 1 of", "customer's signature"};
}

void TstReport::reportAndArchiveOnTheController()
{
    QFETCH(int, language);
    QFETCH(QStringList, texts);
    ConnectFixture f{310, QString("[Language]\r\nLanguage=%1\r\n[Servicebericht]\r\nTechniker="
                                  "Anna Weiß\r\n")
                              .arg(language)
                              .toLatin1()};
    TFileForm logbook(f.window.get());
    ServiceRecord record(*f.window, logbook);
    f.connect();
    Ui::TForm1& ui = f.window->form();
    const QString clampShort = ui.pgSpannen->ui().Edit10->text();
    const QString frequency = ui.pgService->ui().Edit53->text();
    QVERIFY(!clampShort.isEmpty() && !frequency.isEmpty());
    // Typed and not sent: the report states the controller's value, not the field's.
    ui.pgSpannen->ui().Edit10->setText("abc");

    const QString pdf = f.env.path("bericht.pdf");
    QVERIFY(record.saveReport(pdf, "Dichtung am Spannzylinder getauscht"));
    const QString text = pdfText(pdf);
    QVERIFY2(!text.contains("abc"), qPrintable(text));
    for (const QString& t : texts + QStringList{"1234", "3.10", "Anna Weiß", clampShort,
                                                "Dichtung am Spannzylinder getauscht"})
        QVERIFY2(text.contains(t), qPrintable(t + " missing in:\n" + text));
    QVERIFY(
        text.contains(QRegularExpression("\\s" + QRegularExpression::escape(frequency) + "\\s")));

    // The logbook saved from its window is a visit too; all land in the controller's folder.
    logbook.setLines({"Logbuch"});
    QVERIFY(logbook.SaveFile(f.env.path("Log/1234.log")));
    QVERIFY(record.recorder()->flush());
    archive::Archive a;
    QString error;
    QVERIFY(a.open(record.recorder()->location(), &error));
    const QList<archive::Visit> visits = a.visits("1234", &error);
    QStringList kinds;
    for (const archive::Visit& v : visits)
        kinds << v.kind;
    QCOMPARE(kinds, (QStringList{"connect", "report", "logbook"}));
    QCOMPARE(visits[1].technician, QString("Anna Weiß"));
    QCOMPARE(visits[1].files, QStringList{"bericht.pdf"});
    QVERIFY(QFile::exists(f.env.path("Archive/1234/bericht.pdf")));
    QVERIFY(!visits[0].counters.isEmpty());
    // The lamps are the poll's bits: selection clamp with start, state clamp finished, no tool.
    f.window->controllerModel().inputRead(0x81);
    f.window->controllerModel().outputRead(0x59);
    const report::ServiceReport r = reportFromWindow(*f.window);
    QString lit;
    for (const report::Lamp& l : r.inputs + r.outputs)
        if (l.on) lit += l.caption;
    QCOMPARE(lit, QString("E0E7A0A3A4A6"));

    if (language != 0) return;
    // For the documentation: the report and the window, looked at by people.
    if (const QString docs = qEnvironmentVariable("R73_SHOTS"); !docs.isEmpty()) {
        QFile::copy(pdf, docs + "/service-report-de.pdf");
        record.showArchive();
        record.archiveWindow()->visitList()->setCurrentItem(
            record.archiveWindow()->visitList()->topLevelItem(1));
        record.archiveWindow()->grab().save(docs + "/archive-window-de.png");
        record.archiveWindow()->close();
    }
    // A file deleted by hand: the window says it is missing, and opening it says why.
    QVERIFY(QFile::remove(f.env.path("Archive/1234/bericht.pdf")));
    record.showArchive();
    archive::ArchiveWindow* w = record.archiveWindow();
    QVERIFY(w);
    QCOMPARE(w->controllerList()->topLevelItemCount(), 1);
    QCOMPARE(w->visitList()->topLevelItemCount(), 3);
    w->visitList()->setCurrentItem(w->visitList()->topLevelItem(1)); // the report
    QVERIFY(w->fileList()->item(0)->text().contains("fehlt"));
    // The year in full: an archive spans decades.
    QVERIFY(w->visitList()->currentItem()->text(0).startsWith(
        QDate::currentDate().toString("dd.MM.yyyy ")));
    f.env.boxes.clear();
    w->openFile();
    QCOMPARE(f.env.boxes.size(), 1);
    QVERIFY(f.env.boxes[0].text.contains("von Hand"));
    QVERIFY(w->exportCounters(f.env.path("zaehler.csv")));
    QFile csv(f.env.path("zaehler.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(csv.readLine().startsWith("Datum,Art,BIOS,Spannen [Pulse]"));
    QCOMPARE(csv.readAll().count('\n'), 3);
}

void TstReport::unwritableReportIsSaidAndNotRecorded()
{
    ConnectFixture f{208, "[Servicebericht]\r\nTechniker=T\r\n"};
    TFileForm logbook(f.window.get());
    ServiceRecord record(*f.window, logbook);
    f.connect();
    f.env.boxes.clear();
    QVERIFY(!record.saveReport(f.env.path("no/such/folder/b.pdf"), {}));
    QCOMPARE(f.env.boxes.size(), 1);
    QVERIFY(f.env.boxes[0].text.contains("b.pdf"));
    // Asked for before anything was read: said, and no file.
    f.env.boxes.clear();
    record.exportHistoryAsked();
    QCOMPARE(f.env.boxes.size(), 1);
    QVERIFY(f.env.boxes[0].text.contains("keine Historie"));
    // The history list as CSV: header with units, then the list as it stands.
    QVERIFY(record.exportHistory(f.env.path("h.csv")));
    QFile csv(f.env.path("h.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), QByteArray("Nr,Spannen [Pulse],Ergebnis,Lösen [Pulse],Ergebnis\r\n"));
    QVERIFY(record.recorder()->flush());
    archive::Archive a;
    QString error;
    QVERIFY(a.open(record.recorder()->location(), &error));
    QCOMPARE(a.visits("1234", &error).size(), 1); // the connect only
    // The same archive for scripts.
    QProcess ctl;
    ctl.start(qEnvironmentVariable("R73_CTL"), {"archive", "list"});
    QVERIFY(ctl.waitForFinished(10000));
    QVERIFY(ctl.readAllStandardOutput().contains("\n1234\t"));
    ctl.start(qEnvironmentVariable("R73_CTL"), {"archive", "show", "99"});
    QVERIFY(ctl.waitForFinished(10000));
    QCOMPARE(ctl.exitCode(), 1);
}

void TstReport::recordingCostsTheWindowNoPause()
{
    ConnectFixture f{310};
    TFileForm logbook(f.window.get());
    ServiceRecord record(*f.window, logbook);
    f.connect();
    QFile big(f.env.path("big.bin"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(8 << 20, 'x')); // a large file to copy into the archive
    big.close();
    qint64 longest = 0;
    QElapsedTimer t;
    for (int i = 0; i < 20; ++i) {
        t.start();
        record.recordVisit(archive::KindBackup, {big.fileName()});
        longest = std::max(longest, t.nsecsElapsed());
        QTest::qWait(1);
    }
    QVERIFY(record.recorder()->flush());
    qInfo("longest pause of the window while recording: %.2f ms", longest / 1e6);
    QVERIFY(longest < 50'000'000);
}

QTEST_MAIN(TstReport)
#include "tst_report.moc"
