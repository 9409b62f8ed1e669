#include "MessageFacade.h"
#include "NorloIni.h"
#include "PortCheck.h"
#include "SimProcess.h"
#include "SuperCom.h"
#include "TextHook.h"
#include "comport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

class TestComPort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionsPassThroughTranslation_data();
    void captionsPassThroughTranslation();
    void showChecksStoredPort_data();
    void showChecksStoredPort();
    void okStoresChoice();
    void okWithoutChoiceStaysOpen();
    void cancelLeavesFileUntouched();
    void failedWriteKeepsDialogOpen();
    void radioClickFocusesOk_data();
    void radioClickFocusesOk();
    void statesAndSearchFindTheController();
    void listedPortIsGivenToTheCheckedNumber_data();
    void listedPortIsGivenToTheCheckedNumber();
    void portLeftBehindIsClosed();

private:
    static QRadioButton* radio(const QDialog& d, int n);
    static QPushButton* button(const QDialog& d, const char* name);
    void put(const QByteArray& bytes);
    QByteArray contents() const;

    QString m_oldCurrent;
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<r73::MessageRequest> m_messages;
};

void TestComPort::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkdir(QStringLiteral("ini")));
    m_messages.clear();
    r73::setMessageHandler([this](const r73::MessageRequest& r) {
        m_messages.append(r);
        return r73::MsgAnswer::Ok;
    });
}

void TestComPort::cleanup()
{
    r73::setMessageHandler({});
    r73::setTranslateFunction(nullptr);
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

QRadioButton* TestComPort::radio(const QDialog& d, int n)
{
    return d.findChild<QRadioButton*>(QStringLiteral("rbCOM%1").arg(n));
}

QPushButton* TestComPort::button(const QDialog& d, const char* name)
{
    return d.findChild<QPushButton*>(QLatin1String(name));
}

void TestComPort::put(const QByteArray& bytes)
{
    QFile f(r73::configFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray TestComPort::contents() const
{
    QFile f(r73::configFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestComPort::captionsPassThroughTranslation_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("german");

    QTest::newRow("title") << "TfrmComPort"
                           << "Schnittstelle";
    for (int n = 1; n <= 4; ++n)
        QTest::addRow("rbCOM%d", n)
            << QStringLiteral("rbCOM%1").arg(n) << QStringLiteral("COM&%1").arg(n);
    QTest::newRow("ok") << "BtOK"
                        << "&OK";
    QTest::newRow("cancel") << "BtCancel"
                            << "&Abbruch";
}

void TestComPort::captionsPassThroughTranslation()
{
    QFETCH(QString, object);
    QFETCH(QString, german);

    r73::setTranslateFunction(
        [](int offset, const QString& text) { return QStringLiteral("%1:").arg(offset) + text; });
    TfrmComPort dialog;
    const QString expected = QStringLiteral("0:") + german;
    if (object == dialog.objectName()) {
        QCOMPARE(dialog.windowTitle(), expected);
    } else {
        auto* b = dialog.findChild<QAbstractButton*>(object);
        QVERIFY(b);
        QCOMPARE(b->text(), expected);
    }
}

void TestComPort::showChecksStoredPort_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<int>("checked");     // 0: none

    QTest::newRow("no file: default port 1") << QByteArray() << 1;
    QTest::newRow("COM2") << QByteArray("[Comunication]\r\nCOM=2\r\n") << 2;
    QTest::newRow("COM4") << QByteArray("[Comunication]\r\nCOM=4\r\n") << 4;
    QTest::newRow("COM7") << QByteArray("[Comunication]\r\nCOM=7\r\n") << 0;
    QTest::newRow("COM0") << QByteArray("[Comunication]\r\nCOM=0\r\n") << 0;
}

void TestComPort::showChecksStoredPort()
{
    QFETCH(QByteArray, file);
    QFETCH(int, checked);
    if (!file.isNull()) put(file);

    TfrmComPort dialog;
    dialog.show();
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(radio(dialog, n)->isChecked(), n == checked);
    QVERIFY(contents().contains("COM="));
}

void TestComPort::okStoresChoice()
{
    put("[Comunication]\r\nCOM=1\r\n[Language]\r\nLanguage=0\r\n");
    TfrmComPort dialog;
    dialog.show();
    radio(dialog, 3)->click();
    button(dialog, "BtOK")->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(contents(), QByteArray("[Comunication]\r\nCOM=3\r\n[Language]\r\nLanguage=0\r\n"));
    QVERIFY(m_messages.isEmpty());
}

void TestComPort::okWithoutChoiceStaysOpen()
{
    put("[Comunication]\r\nCOM=7\r\n");
    TfrmComPort dialog;
    dialog.show();
    button(dialog, "BtOK")->click();

    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(contents(), QByteArray("[Comunication]\r\nCOM=7\r\n"));
    QVERIFY(m_messages.isEmpty());
}

void TestComPort::cancelLeavesFileUntouched()
{
    const QByteArray before = "; port\r\n[Comunication]\r\nCOM=2\r\n";
    put(before);
    TfrmComPort dialog;
    dialog.show();
    radio(dialog, 4)->click();
    button(dialog, "BtCancel")->click();

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(contents(), before);
}

void TestComPort::failedWriteKeepsDialogOpen()
{
    TfrmComPort dialog;
    dialog.show();
    QVERIFY(QFile::remove(r73::configFilePath()));
    QVERIFY(QDir().rmdir(QStringLiteral("ini")));
    radio(dialog, 2)->click();
    button(dialog, "BtOK")->click();

    QCOMPARE(m_messages.size(), 1);
    const r73::MessageRequest& m = m_messages.first();
    QCOMPARE(m.owner, &dialog);
    QCOMPARE(m.caption, QStringLiteral("Fehler"));
    QCOMPARE(m.icon, r73::MsgIcon::Error);
    QCOMPARE(m.buttons, r73::MsgButtons::Ok);
    QVERIFY2(m.text.contains(QDir::toNativeSeparators(r73::configFilePath())), qPrintable(m.text));
    QVERIFY2(m.text.contains(QLatin1String("does not exist")), qPrintable(m.text));

    QVERIFY(dialog.isVisible());
    QVERIFY(radio(dialog, 2)->isChecked());

    // Once the folder is back, the same choice can be stored.
    QVERIFY(QDir().mkdir(QStringLiteral("ini")));
    button(dialog, "BtOK")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(r73::readComPort(), 2);
}

void TestComPort::radioClickFocusesOk_data()
{
    QTest::addColumn<int>("port");
    for (int n = 1; n <= 4; ++n)
        QTest::addRow("rbCOM%d", n) << n;
}

void TestComPort::radioClickFocusesOk()
{
    QFETCH(int, port);
    TfrmComPort dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    button(dialog, "BtCancel")->setFocus();
    QCOMPARE(QApplication::focusWidget(), button(dialog, "BtCancel"));

    QTest::mouseClick(radio(dialog, port), Qt::LeftButton);
    QVERIFY(radio(dialog, port)->isChecked());
    QCOMPARE(QApplication::focusWidget(), button(dialog, "BtOK"));
}

void TestComPort::statesAndSearchFindTheController()
{
    r73::test::SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    put(QStringLiteral("[Comunication]\r\nCOM=1\r\nDevice1=/dev/r73-none\r\nDevice2=%1\r\n")
            .arg(sim.link())
            .toLocal8Bit());
    TfrmComPort dialog;
    dialog.show();
    auto label = [&](int n) {
        return dialog.findChild<QLabel*>(QStringLiteral("lbCOM%1").arg(n))->text();
    };
    QCOMPARE(label(1), QString::fromUtf8("/dev/r73-none \u2013 nicht vorhanden"));
    QCOMPARE(label(2), sim.link() + QString::fromUtf8(" \u2013 frei"));
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QPushButton* search = button(dialog, "BtSuchen");
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Space);
    QCOMPARE(label(2), sim.link() + QString::fromUtf8(" \u2013 R73 gefunden"));
    QVERIFY(radio(dialog, 2)->isChecked());
    QCOMPARE(QApplication::focusWidget(), button(dialog, "BtOK"));
    // The search asked for a session and nothing else.
    QVERIFY(sim.stop());
    QFile log(sim.logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].contains("\"kind\":\"session\""), lines[0].constData());
}

void TestComPort::listedPortIsGivenToTheCheckedNumber_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK stores it") << true;
    QTest::newRow("Cancel forgets it") << false;
}

void TestComPort::listedPortIsGivenToTheCheckedNumber()
{
    QFETCH(bool, ok);
    // No USB adapter to plug in here: the simulator's line stands for one, its link for the
    // stable name.
    r73::test::SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const auto old = r73::setPortLister([&sim] {
        return QList<r73::SystemPort>{
            {sim.device(), sim.link(), "USB-Serial Controller", "Prolific", "A1B2"}};
    });
    const QByteArray before = "[Comunication]\r\nCOM=4\r\n";
    put(before);
    TfrmComPort dialog;
    dialog.show();
    auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvPorts"));
    QCOMPARE(list->topLevelItemCount(), 1);
    QTreeWidgetItem* item = list->topLevelItem(0);
    QCOMPARE(item->text(0), sim.link());
    QCOMPARE(item->text(1), QString("USB-Serial Controller, Prolific, Nr. A1B2"));
    QCOMPARE(item->text(2), QString("frei"));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    QCOMPARE(dialog.findChild<QLabel*>("lbCOM4")->text(),
             sim.link() + QString::fromUtf8(" \u2013 frei"));
    button(dialog, ok ? "BtOK" : "BtCancel")->click();
    r73::setPortLister(old);
    QCOMPARE(contents(), ok ? before + "Device4=" + sim.link().toLocal8Bit() + "\r\n" : before);
}

void TestComPort::portLeftBehindIsClosed()
{
    r73::test::SimProcess first, second;
    QVERIFY2(first.started() && second.started(), qPrintable(first.errors() + second.errors()));
    put(QStringLiteral("[Comunication]\r\nCOM=1\r\nDevice1=%1\r\nDevice2=%2\r\n")
            .arg(first.link(), second.link())
            .toLocal8Bit());
    r73::ComInit(0); // as the window's link holds its port from the start
    QCOMPARE(r73::checkPort(first.link()).state, r73::PortState::OwnPort);
    TfrmComPort dialog;
    dialog.show();
    auto label = [&](int n) {
        return dialog.findChild<QLabel*>(QStringLiteral("lbCOM%1").arg(n))->text();
    };
    // The search asks the other port and leaves the choice on the one this program holds.
    button(dialog, "BtSuchen")->click();
    QCOMPARE(label(1), first.link() + QString::fromUtf8(" \u2013 von diesem Programm geöffnet"));
    QCOMPARE(label(2), second.link() + QString::fromUtf8(" \u2013 R73 gefunden"));
    QVERIFY(radio(dialog, 1)->isChecked());
    radio(dialog, 2)->click();
    button(dialog, "BtOK")->click();
    QCOMPARE(r73::checkPort(first.link()).state, r73::PortState::Free);
}

QTEST_MAIN(TestComPort)
#include "tst_comport.moc"
