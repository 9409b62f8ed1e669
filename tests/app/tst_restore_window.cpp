// A restore in the window, as a technician runs it: the comparison marks what differs, the
// verification report offers the permanent save only after it, and the save reaches the line.

#include "AnalogPages.h"
#include "BackupWindows.h"
#include "ConnectFixture.h"
#include "Forms.h"
#include "MessageFacade.h"
#include "ParamPages.h"
#include "SpannenPage.h"
#include "ui_SpannenPage.h"

#include <QCheckBox>
#include <QLabel>
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
    QLineEdit* shortLimit = f.window->form().pgSpannen->ui().Edit10;
    shortLimit->setFocus();
    shortLimit->setText(QStringLiteral("300"));
    shortLimit->setModified(true);
    QTest::keyClick(shortLimit, Qt::Key_Return);
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
}

QTEST_MAIN(TstRestoreWindow)
#include "tst_restore_window.moc"
