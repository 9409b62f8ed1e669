// A backup prepared at the desk: opened as an offline controller, edited on the pages, saved,
// and restored later onto a controller, with no serial port opened meanwhile.

#include "BackupFile.h"
#include "ConnectFixture.h"
#include "Controller.h"
#include "ControllerModel.h"
#include "OfflineSession.h"
#include "PlanPage.h"
#include "Restore.h"
#include "SpannenPage.h"
#include "ui_Form1.h"
#include "ui_PlanPage.h"
#include "ui_SpannenPage.h"

#include <QLineEdit>
#include <QTreeWidget>

using namespace r73;
using namespace r73::test;

class TstOffline : public QObject
{
    Q_OBJECT
private slots:
    void editedOfflineRestoresExactly();
    void refusesOrLocksWhatItCannotTrust_data();
    void refusesOrLocksWhatItCannotTrust();
};

namespace {

/// The fixture's controller with a few values of its own, saved as a backup: a sister machine.
QString sisterBackup(ConnectFixture& f)
{
    f.connect();
    backup::LinkController controller(*f.window, {310, 1234});
    backup::Snapshot s = controller.read();
    s.values[QStringLiteral("clamp.short")].word = 420;
    s.values[QStringLiteral("channel1.name")].text = QStringLiteral("Druck");
    s.values[QStringLiteral("channel2.name")].text = QString(); // held as is
    s.service = ServiceWords{};
    s.service->clampPulses = 4321;
    s.history = QStringList{QStringLiteral("17 | 120 | OK | 80 | ZU LANG")};
    const QString path = f.env.path(QStringLiteral("sister.json"));
    [&] { QVERIFY(backup::saveBackup(path, s, nullptr)); }();
    f.window->Disconnect();
    return path;
}

} // namespace

void TstOffline::editedOfflineRestoresExactly()
{
    ConnectFixture f;
    const QString source = sisterBackup(f);
    OfflineSession offline;
    offline.attach(*f.window);
    const int portOpens = f.port->initCalls;
    QVERIFY(offline.open(source));
    QVERIFY(OfflineMode && offline.active() && !offline.readOnly());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Offline: sister.json"));
    QLineEdit* shortLimit = f.window->form().pgSpannen->ui().Edit10;
    QCOMPARE(shortLimit->text(), QStringLiteral("420"));
    // Read-only information is the file's, not a machine's invention.
    QCOMPARE(f.window->controllerModel().live().service->clampPulses, quint16(4321));
    const auto* history = f.window->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    QVERIFY(history->topLevelItemCount() == 1 && history->topLevelItem(0)->text(6) == "ZU LANG");
    QCOMPARE(model::valueOr(f.window->controllerModel(), QStringLiteral("channel2.name"), {1}).text,
             QString());

    // Type, Enter, F5: the page's own send, then a new file beside the old one.
    QString proposed;
    const QString edited = f.env.path(QStringLiteral("prepared.json"));
    setSaveDialogHandler([&](const SaveDialogRequest& r) {
        proposed = r.fileName;
        return edited;
    });
    shortLimit->setFocus();
    shortLimit->selectAll();
    QTest::keyClicks(shortLimit, QStringLiteral("345"));
    QTest::keyClick(shortLimit, Qt::Key_Return);
    QTest::keyClick(f.window.get(), Qt::Key_F5);
    QCOMPARE(proposed, QStringLiteral("sister_offline.json"));
    QCOMPARE(f.port->initCalls, portOpens); // no port while offline

    backup::Snapshot original, file;
    QVERIFY(backup::loadBackup(source, original, nullptr));
    QVERIFY(backup::loadBackup(edited, file, nullptr));
    QCOMPARE(file.editedOfflineFrom, QFileInfo(source).absoluteFilePath());
    QCOMPARE(file.service->clampPulses, quint16(4321));
    QCOMPARE(file.history, original.history);
    QCOMPARE(file.values.keys(), original.values.keys());
    for (const backup::Setting& s : backup::allSettings())
        if (s.key != QLatin1String("clamp.short") && original.values.contains(s.key))
            QVERIFY2(backup::sameValue(s, file.values[s.key], original.values[s.key]),
                     qPrintable(s.key));
    QCOMPARE(file.values[QStringLiteral("clamp.short")].word, quint16(345));
    QVERIFY(!file.values[QStringLiteral("channel2.name")].heldAsIs.isEmpty());

    // A save reads every set: a flat-contact field typed next still lands in its own set.
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QTest::keyClick(f.window.get(), Qt::Key_F5);
    QLineEdit* flat = f.window->form().pgPlan->ui().Edit30;
    flat->setFocus();
    flat->selectAll();
    QTest::keyClicks(flat, QStringLiteral("77"));
    QTest::keyClick(flat, Qt::Key_Return);
    QTest::keyClick(f.window.get(), Qt::Key_F5);
    QVERIFY(backup::loadBackup(edited, file, nullptr));
    QCOMPARE(file.values[QStringLiteral("flat.threshold")].word, quint16(77));
    QCOMPARE(file.values[QStringLiteral("vibration.threshold")].word,
             original.values[QStringLiteral("vibration.threshold")].word);
    QTest::keyClick(f.window.get(), Qt::Key_F2);
    QTest::keyClick(f.window.get(), Qt::Key_F2);

    // A change not yet in a file is offered for saving when the session ends.
    shortLimit->selectAll();
    QTest::keyClicks(shortLimit, QStringLiteral("346"));
    QTest::keyClick(shortLimit, Qt::Key_Return);
    f.env.boxes.clear();
    // Back to the port, and the prepared file restored onto the controller there.
    f.window->Disconnect();
    QVERIFY(!OfflineMode && !offline.active());
    QVERIFY(!f.env.boxes.isEmpty() &&
            f.env.boxes.first().text.contains(QStringLiteral("in keiner Datei")));
    QVERIFY(backup::loadBackup(edited, file, nullptr));
    QCOMPARE(file.values[QStringLiteral("clamp.short")].word, quint16(346));
    QVERIFY(f.port->initCalls > portOpens);
    f.connect();
    backup::LinkController controller(*f.window, {310, 1234});
    backup::restore(controller, backup::planRestore(file, controller.read()));
    const backup::Snapshot held = controller.read();
    for (const backup::Setting& s : backup::allSettings())
        if (file.values.contains(s.key) && file.values[s.key].heldAsIs.isEmpty())
            QVERIFY2(backup::sameValue(s, held.values[s.key], file.values[s.key]),
                     qPrintable(s.key));
}

void TstOffline::refusesOrLocksWhatItCannotTrust_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("message");
    QTest::newRow("cut short") << QByteArray("\"settings\"") << QByteArray("\n") << false
                               << QStringLiteral("sister.json\", Zeile ");
    QTest::newRow("unknown BIOS") << QByteArray("\"3.10\"") << QByteArray("\"3.20\"") << true
                                  << QStringLiteral("Die BIOS-Version 3.20 kennt");
}

void TstOffline::refusesOrLocksWhatItCannotTrust()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(bool, opens);
    QFETCH(QString, message);
    ConnectFixture f;
    const QString source = sisterBackup(f);
    QFile file(source);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray text = file.readAll();
    // "cut short" ends the file where its settings begin.
    text = to == "\n" ? text.left(text.indexOf(from)) : text.replace(from, to);
    QVERIFY(file.resize(0) && file.seek(0) && file.write(text) > 0);
    file.close();

    OfflineSession offline;
    offline.attach(*f.window);
    const QString title = f.window->windowTitle();
    f.env.boxes.clear();
    QCOMPARE(offline.open(source), opens);
    QVERIFY(!f.env.boxes.isEmpty());
    QVERIFY2(f.env.boxes.last().text.contains(message), qPrintable(f.env.boxes.last().text));
    QCOMPARE(OfflineMode, opens);
    if (!opens) {
        QCOMPARE(f.window->windowTitle(), title);
        return;
    }
    // Shown, but nothing to type into and nothing saved.
    QVERIFY(f.window->form().pgSpannen->ui().Edit10->isReadOnly());
    setSaveDialogHandler([&](const SaveDialogRequest&) { return f.env.path("never.json"); });
    QVERIFY(!offline.save(true));
    QVERIFY(!QFile::exists(f.env.path("never.json")));
}

QTEST_MAIN(TstOffline)
#include "tst_offline.moc"
