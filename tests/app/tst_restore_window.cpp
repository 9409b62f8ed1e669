// A restore in the window, as a technician runs it: the comparison marks what differs, the
// verification report offers the permanent save only after it, and the save reaches the line.

#include "AnalogPages.h"
#include "BackupWindows.h"
#include "ConnectFixture.h"
#include "MessageFacade.h"
#include "ParamPages.h"
#include "SpannenPage.h"
#include "ui_Form1.h"
#include "ui_SpannenPage.h"

#include <QDate>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

using namespace r73;
using namespace r73::test;

class TstRestoreWindow : public QObject
{
    Q_OBJECT
private slots:
    void restoreMarksWritesVerifiesAndSaves();
    void unwritableJournalRefusesTheRestore();
};

void TstRestoreWindow::restoreMarksWritesVerifiesAndSaves()
{
    ConnectFixture f;
    f.connect();
    TBackupActions actions(*f.window, f.window->findChild<TParamPages*>(),
                           f.window->findChild<TAnalogPages*>(),
                           [&f] { f.window->TabbedNotebook1Click(); });
    const QString file = f.env.path(QStringLiteral("unit.json"));
    setSaveDialogHandler([&](const SaveDialogRequest&) { return file; });
    actions.Backup();
    QVERIFY(QFile::exists(file));

    // The technician changes "Kurz" on the controller, then restores the file.
    QLineEdit* shortLimit = f.window->form().pgSpannen->ui.Edit10;
    shortLimit->setFocus();
    shortLimit->setText(QStringLiteral("300"));
    shortLimit->setModified(true);
    QTest::keyClick(shortLimit, Qt::Key_Return);
    bool marked = false, savable = false;
    QString report;
    const auto answer = [&](auto self) -> void {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return QTimer::singleShot(20, [=] { self(self); });
        if (auto* table = box->findChild<QTableWidget*>(QStringLiteral("comparison"))) {
            marked = table->item(0, 0)->font().bold() && !table->item(1, 0)->font().bold();
            box->findChild<QPushButton*>(QStringLiteral("restore"))->click();
            return QTimer::singleShot(20, [=] { self(self); });
        }
        report = box->findChild<QPlainTextEdit*>(QStringLiteral("report"))->toPlainText();
        QPushButton* permanent = box->findChild<QPushButton*>(QStringLiteral("permanent"));
        savable = permanent->isEnabled() && permanent->isVisible();
        permanent->click();
        box->close();
    };
    QTimer::singleShot(20, [&] { answer(answer); });
    const qsizetype before = f.engine.summaries().size();
    actions.Restore();

    QVERIFY(marked);
    QVERIFY2(report.contains(QStringLiteral("| OK")), qPrintable(report));
    QVERIFY(savable);
    const QStringList after = f.engine.summaries().mid(before);
    QVERIFY(after.contains(QStringLiteral("call SPEICHERN")));
    QCOMPARE(shortLimit->text(), QStringLiteral("275"));
}

void TstRestoreWindow::unwritableJournalRefusesTheRestore()
{
    ConnectFixture f;
    f.connect();
    TBackupActions actions(*f.window, f.window->findChild<TParamPages*>(),
                           f.window->findChild<TAnalogPages*>(),
                           [&f] { f.window->TabbedNotebook1Click(); });
    const QString file = f.env.path(QStringLiteral("unit.json"));
    setSaveDialogHandler([&](const SaveDialogRequest&) { return file; });
    actions.Backup();
    QLineEdit* shortLimit = f.window->form().pgSpannen->ui.Edit10;
    shortLimit->setText(QStringLiteral("300"));
    shortLimit->setModified(true);
    QTest::keyClick(shortLimit, Qt::Key_Return);
    // A folder where the journal should go.
    QVERIFY(QDir().mkpath(QStringLiteral("Backup/restore_%1_%2.log")
                              .arg(f.window->findChild<QLineEdit*>("Edit4")->text(),
                                   QDate::currentDate().toString("yyyyMMdd"))));
    QStringList boxes;
    setMessageHandler([&](const MessageRequest& r) {
        boxes << r.text;
        return MsgAnswer::Ok;
    });
    qsizetype before = -1; // once the controller was read for the comparison
    QTimer::singleShot(20, [&] {
        before = f.engine.summaries().size();
        QApplication::activeModalWidget()
            ->findChild<QPushButton*>(QStringLiteral("restore"))
            ->click();
    });
    actions.Restore();
    QVERIFY(before >= 0);
    QVERIFY2(boxes.size() == 1 && boxes[0].contains(QStringLiteral("ist ein Ordner")),
             qPrintable(boxes.join('\n')));
    QCOMPARE(f.engine.summaries().mid(before), QStringList{});
    QCOMPARE(shortLimit->text(), QStringLiteral("300"));
}

QTEST_MAIN(TstRestoreWindow)
#include "tst_restore_window.moc"
