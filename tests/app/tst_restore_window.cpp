// A restore in the window, as a technician runs it: the comparison marks what differs, the
// verification report offers the permanent save only after it, and the save reaches the line.

#include "AnalogPages.h"
#include "Archive.h"
#include "BackupFile.h"
#include "BackupWindows.h"
#include "ChangesView.h"
#include "ConnectFixture.h"
#include "FiPri.h"
#include "Forms.h"
#include "MessageFacade.h"
#include "ParamPages.h"
#include "ServiceRecord.h"
#include "ServiceReport.h"
#include "SpannenPage.h"
#include "ui_SpannenPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTableWidget>
#include <QTextDocument>
#include <QTimer>

using namespace r73;
using namespace r73::test;

class TstRestoreWindow : public QObject
{
    Q_OBJECT
private slots:
    void restoreMarksWritesVerifiesAndSaves();
};

void TstRestoreWindow::restoreMarksWritesVerifiesAndSaves()
{
    ConnectFixture f;
    f.connect();
    TBackupActions actions(*f.window, f.window->findChild<TParamPages*>(),
                           f.window->findChild<TAnalogPages*>(),
                           [&f] { f.window->TabbedNotebook1Click(); });
    TFileForm logbook(f.window.get());
    ServiceRecord record(*f.window, logbook);
    actions.setRecorder([&](bool restore, const QStringList& files) {
        return record.recordVisit(restore ? archive::KindRestore : archive::KindBackup, files);
    });
    actions.setChangeRecorder(
        {[&](const QString& file, const backup::Plan& plan, const backup::Outcome& outcome) {
             record.recordRestore(file, plan, outcome);
         },
         [&](const QList<SetId>& sets, const QString& file) { record.recordSaves(sets, file); }});
    const QString file = f.env.path(QStringLiteral("unit.json"));
    QString proposed;
    setSaveDialogHandler([&](const SaveDialogRequest& r) {
        proposed = r.fileName;
        return r.fileName.endsWith(QStringLiteral(".txt")) ? f.env.path(r.fileName) : file;
    });
    actions.Backup();
    QVERIFY(QFile::exists(file));
    // Another controller's backup: the report is named after the one it verifies.
    backup::Snapshot other;
    QVERIFY(backup::loadBackup(file, other, nullptr));
    other.id.serial = 4711;
    QVERIFY(backup::saveBackup(file, other, nullptr));

    // The technician changes "Kurz" on the controller, then restores the file.
    QLineEdit* shortLimit = f.window->form().pgSpannen->ui().Edit10;
    shortLimit->setFocus();
    shortLimit->setText(QStringLiteral("300"));
    shortLimit->setModified(true);
    QTest::keyClick(shortLimit, Qt::Key_Return);
    QTest::keyClick(f.window.get(), Qt::Key_F5);
    bool marked = false, savable = false, filtered = false;
    QString report;
    const auto answer = [&](auto self) -> void {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return QTimer::singleShot(20, [=] { self(self); });
        if (auto* table = box->findChild<QTableWidget*>(QStringLiteral("comparison"))) {
            marked = table->item(0, 0)->font().bold() && !table->item(1, 0)->font().bold();
            // Only what differs is shown, with its count, until the box asks for all.
            auto* all = box->findChild<QCheckBox*>(QStringLiteral("showAll"));
            filtered = !table->isRowHidden(0) && table->isRowHidden(1) &&
                       box->findChild<QLabel*>(QStringLiteral("differing"))
                           ->text()
                           .startsWith(QStringLiteral("1 von "));
            all->click();
            filtered = filtered && !table->isRowHidden(1);
            box->findChild<QPushButton*>(QStringLiteral("restore"))->click();
            return QTimer::singleShot(20, [=] { self(self); });
        }
        report = box->findChild<QPlainTextEdit*>(QStringLiteral("report"))->toPlainText();
        QPushButton* permanent = box->findChild<QPushButton*>(QStringLiteral("permanent"));
        savable = permanent->isEnabled() && permanent->isVisible();
        permanent->click();
        for (QPushButton* b : box->findChildren<QPushButton*>())
            if (b->text().startsWith(QStringLiteral("&Speichern"))) b->click();
        box->close();
    };
    QTimer::singleShot(20, [&] { answer(answer); });
    const qsizetype before = f.engine.summaries().size();
    actions.Restore();

    QVERIFY(marked);
    QVERIFY(filtered);
    QVERIFY2(report.contains(QStringLiteral("| OK")), qPrintable(report));
    QVERIFY(savable);
    const QStringList after = f.engine.summaries().mid(before);
    QVERIFY(after.contains(QStringLiteral("call SPEICHERN")));
    QCOMPARE(shortLimit->text(), QStringLiteral("275"));

    // Named after the controller verified, in UTF-8, and kept with the restore's visit.
    QFile saved(f.env.path(proposed));
    QVERIFY(proposed.startsWith(QStringLiteral("1234_")) && saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8); // leaves out the byte order mark
    const QString text = utf8(bytes);
    QVERIFY(!utf8.hasError() && bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(text.startsWith(QStringLiteral("Prüfbericht der Wiederherstellung\r\n")));
    QVERIFY(text.contains(QStringLiteral("Dauerhaft gespeichert.")));
    QVERIFY(
        text.contains(QStringLiteral("Ergebnis: die geschriebene Einstellung stimmt überein.")));
    QVERIFY(record.recorder()->flush());
    archive::Archive a;
    QVERIFY(a.open(record.recorder()->location(), nullptr));
    const QList<archive::Visit> visits = a.visits(QStringLiteral("1234"), nullptr);
    QVERIFY(visits.size() == 2 && visits[1].files.contains(proposed));
    QVERIFY(QFile::exists(f.env.path(QStringLiteral("Archive/1234/") + proposed)));

    // Every write on file, newest first: the page's send and save, the restore's and its save.
    QStringList changes;
    for (const archive::Change& c : a.changes(QStringLiteral("1234"), nullptr))
        changes << QStringList{archive::originName(c), c.caption, c.before, c.after}.join(u'|');
    const QString from = QStringLiteral("Wiederherstellung aus unit.json|");
    QCOMPARE(changes, QStringList({from + "Dauerhaft gespeichert: SPANNEN||",
                                   from + "SPANNEN: Kurz [Pulse]|300|275",
                                   "Seite SPANNEN|Dauerhaft gespeichert: SPANNEN||",
                                   "Seite SPANNEN|SPANNEN: Kurz [Pulse]|275|300"}));
    // The archive window lists them, a setting's alone when chosen.
    archive::ArchiveWindow w(record.recorder()->location(), f.env.path("Archive"));
    w.showController(QStringLiteral("1234"));
    QCOMPARE(w.changesView()->list()->topLevelItemCount(), 4);
    QComboBox* filter = w.changesView()->filter();
    filter->setCurrentIndex(filter->findData(QStringLiteral("clamp.short")));
    QCOMPARE(w.changesView()->list()->topLevelItemCount(), 2);
    QCOMPARE(w.changesView()->list()->topLevelItem(0)->text(5),
             QStringLiteral("Wiederherstellung aus unit.json"));

    // The field's tooltip names its last change.
    QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), shortLimit->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(shortLimit, &help);
    QVERIFY2(shortLimit->toolTip().contains("Zuletzt geändert: ") &&
                 shortLimit->toolTip().contains("(Wiederherstellung aus unit.json)"),
             qPrintable(shortLimit->toolTip()));

    // The customer's report names him, the replacement and the visit's writes, all in German.
    record.setCustomer({"Kühlwerk Nord", "Halle 3", "Presse 7", "A-4711"});
    QTextDocument doc;
    doc.setHtml(report::reportHtml(record.currentReport({})));
    const QString shown = doc.toPlainText();
    for (const char* part :
         {"Kühlwerk Nord", "Halle 3", "A-4711", "Austausch", "Seriennummer 4711, BIOS 3.10",
          "Geschriebene Einstellungen\n1", "alle stimmen überein", "Änderungen während des Besuchs",
          "Seite SPANNEN", "Letzter Übertragungsfehler", "Spannen ohne Werkzeug [Pulse]"})
        QVERIFY2(shown.contains(QString::fromUtf8(part)), part);
    QVERIFY(!shown.contains("Last ComErr") && shown.count("Frequenz") == 1);
    QVERIFY(record.saveReport(f.env.path("report.pdf"), {}));
    QVERIFY(record.recorder()->flush());
    QCOMPARE(a.visits(QStringLiteral("1234"), nullptr).last().order, QStringLiteral("A-4711"));
}

QTEST_MAIN(TstRestoreWindow)
#include "tst_restore_window.moc"
