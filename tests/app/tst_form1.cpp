// The main window before connect: creation, captions, port display, dialogs and closing.

#include "AppWindows.h"
#include "ApplyLanguage.h"
#include "FiPri.h"
#include "Form_cy.h"
#include "Forms.h"
#include "LinkState.h"
#include "MainVer.h"
#include "MessageBoxes.h"
#include "ProfileFile.h"
#include "ProgramState.h"
#include "ScriptedPort.h"
#include "Sprache.h"
#include "Target.h"
#include "Terminate.h"
#include "TestEnv.h"
#include "TimerWrapper.h"
#include "Translate.h"
#include "comport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace r73;
using r73::test::ScriptedPort;
using r73::test::TestEnv;

namespace {

void writeIni(const QByteArray& text)
{
    QFile f(QStringLiteral("ini/norlo.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

/// Runs action on the next modal window that opens, while the caller blocks in it.
void onNextModal(std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start(10);
}

/// The text a caption sets on a widget; null for widgets without one.
QString captionOf(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
    return {};
}

} // namespace

class TstForm1 : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void firstStartCreatesKeysFoldersAndUnconnectedState();
    void demoModeCaptionAndLink_data();
    void demoModeCaptionAndLink();
    void unusablePortIsReportedOnceAndShown();
    void englishCaptionsAndEmptiedFields();
    void closingBeforeConnectRemindsAndSendsNothing();
    void folderThatCannotBeMadeEndsTheProgramCleanly();
    void portDialogMakesANewLink();
    void languageDialogRecaptionsTheWindow();
    void plainBoxIsTitledWithTheProgramsName();
    void f1ShowsTheVersionWindow();
    void minimisingRestoresAtOnce();
    void enablingARunningTimerDoesNotRestartIt();
};

void TstForm1::init()
{
    resetProgramState();
    CurrentLanguage = 0;
    frmComPort = nullptr;
    frmSprache = nullptr;
}

void TstForm1::firstStartCreatesKeysFoldersAndUnconnectedState()
{
    TestEnv env(-1);
    QDir().rmdir(QStringLiteral("ini"));
    auto& port = env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    Ui::TForm1& ui = w.form();
    ProfileFile ini(QStringLiteral("ini/norlo.ini"));
    QCOMPARE(ini.readString("Comunication", "COM", "?"), QString("1"));
    QCOMPARE(ini.readString("DemoMode", "ACTIVE", "?"), QString("0"));
    QCOMPARE(ini.readString("Language", "Language", "?"), QString("0"));
    QVERIFY(QDir(QStringLiteral("Log")).exists());
    QVERIFY(env.boxes.isEmpty());

    QCOMPARE(port.initCalls, 1);
    QVERIFY(w.link());
    QCOMPARE(w.windowTitle(), QString("R73-Controller"));
    QCOMPARE(ui.Panel17->text(), QString(" Schnittstelle: Com1"));
    QVERIFY(!ui.GroupBox10->isHidden() && ui.TabbedNotebook1->isHidden());
    QCOMPARE(ui.TabbedNotebook1->currentIndex(), 0);
    for (QWidget* key : {static_cast<QWidget*>(ui.bbtnZurueck), static_cast<QWidget*>(ui.bbtnVor),
                         static_cast<QWidget*>(ui.BitBtn7), static_cast<QWidget*>(ui.BitBtn8),
                         static_cast<QWidget*>(ui.BitBtn9)})
        QVERIFY(!key->isEnabled());
    QVERIFY(ui.BitBtn10->isEnabled());
    QCOMPARE(ui.BitBtn10->text(), QString("F7:VERBINDEN"));
    QVERIFY(ui.pgSpannen->ui().gbHydr->isHidden());
    QCOMPARE(ui.pgService->ui().Label51->text(), QString("Pulse"));
    QCOMPARE(ui.pgAnalog2->ui().edtMax1_2->property("Tag").toInt(), 23);
    QCOMPARE(ui.pgAnalog3->ui().edtMin2_3->property("Tag").toInt(), 31);
    QVERIFY(!w.Timer1().Enabled() && !w.Timer3().Enabled());
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    // The identification is readable: read-only, not greyed out.
    for (QLineEdit* id : {ui.Edit3, ui.Edit4})
        QVERIFY(id->isEnabled() && id->isReadOnly() && id->focusPolicy() == Qt::NoFocus);
    QCOMPARE(w.Timer3().Interval(), 3000);
    QCOMPARE(w.Timer4().Interval(), 3000);
}

void TstForm1::demoModeCaptionAndLink_data()
{
    QTest::addColumn<int>("com");
    QTest::addColumn<bool>("hasLink");
    QTest::newRow("COM 1") << 1 << true;
    QTest::newRow("COM 0") << 0 << false;
}

void TstForm1::demoModeCaptionAndLink()
{
    QFETCH(int, com);
    QFETCH(bool, hasLink);
    TestEnv env;
    writeIni(QStringLiteral("[Comunication]\r\nCOM=%1\r\n[DemoMode]\r\nACTIVE=1\r\n")
                 .arg(com)
                 .toLatin1());
    auto& port = env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    QVERIFY(DemoMode);
    QCOMPARE(w.windowTitle(), QString("R73-Controller Demo-Version"));
    QCOMPARE(port.initCalls, 0);
    QCOMPARE(w.link() != nullptr, hasLink);
    QCOMPARE(w.form().Panel17->text(),
             hasLink ? QString(" Schnittstelle: Com1") : QString(" Schnittstelle: Fehler!"));
}

void TstForm1::unusablePortIsReportedOnceAndShown()
{
    TestEnv env(2);
    auto& port = env.install(std::make_unique<ScriptedPort>());
    port.openFails = true;
    TForm1 w;
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, QString::fromUtf8("Schnittstelle nicht verfügbar!"));
    QCOMPARE(env.boxes[0].icon, MsgIcon::Error);
    QVERIFY(!w.link());
    QCOMPARE(ComPortNumber, 0);
    // The device and why, below the message and in the panel.
    const QString detail = env.boxes[0].detail;
    QVERIFY2(detail.startsWith("COM2 (/dev/ttyS1): "), qPrintable(detail));
    QCOMPARE(w.form().Panel17->text(), QString(" Schnittstelle: Fehler!\n ") + detail);
}

void TstForm1::englishCaptionsAndEmptiedFields()
{
    TestEnv env;
    writeIni("[Comunication]\r\nCOM=1\r\n[Language]\r\nLanguage=1\r\n");
    env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    Ui::TForm1& ui = w.form();
    QCOMPARE(CurrentLanguage, 1);
    QCOMPARE(ui.GroupBox10->title(), QString("Connection"));
    QCOMPARE(ui.Button3->text(), QString("&Connect"));
    QCOMPARE(ui.Panel17->text(), QString(" Interface: Com1"));
    QCOMPARE(ui.BitBtn10->text(), QString("F7:CONNECT"));
    QCOMPARE(ui.TabbedNotebook1->tabText(0), QString("CLAMP"));
    QCOMPARE(ui.TabbedNotebook1->tabText(1), QString("TIMES"));
    QCOMPARE(ui.TabbedNotebook1->tabText(6), QString("ANALOG1")); // until the channel is named
    QCOMPARE(ui.pgSpannen->ui().Button1->text(), QString("Save"));
    QVERIFY(ui.Label29->text().endsWith("3.14"));

    ui.Edit1->setText("1");
    ui.Edit3->setText("3.10");
    ui.Edit4->setText("1234");
    ApplyLanguage(&w, [&w] { w.SetCaptionComStat(); });
    QVERIFY(ui.Edit1->text().isEmpty() && ui.Edit3->text().isEmpty() && ui.Edit4->text().isEmpty());
    QCOMPARE(ui.Label37->text(), QString("xx"));
}

void TstForm1::closingBeforeConnectRemindsAndSendsNothing()
{
    TestEnv env;
    auto& port = env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    w.show();
    w.Timer3().setEnabled(true);
    QVERIFY(w.close());
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, QString("Verbindung zum R73 trennen!"));
    QVERIFY(port.written.isEmpty());
    QVERIFY(!w.Timer3().Enabled());
    QVERIFY(!w.isVisible());
}

void TstForm1::folderThatCannotBeMadeEndsTheProgramCleanly()
{
    TestEnv env;
    QFile blocker(QStringLiteral("Log"));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].caption, QString("Error"));
    QCOMPARE(env.boxes[0].text, QString("Unable to create Directory 'Log' !"));
    QVERIFY(terminateRequested());
    QVERIFY(w.link()); // creation went on to the end
}

void TstForm1::portDialogMakesANewLink()
{
    TestEnv env;
    auto& port = env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    TfrmComPort dialog(&w);
    frmComPort = &dialog;
    TTarget* first = w.link();
    onNextModal([](QWidget* modal) {
        modal->findChild<QRadioButton*>("rbCOM3")->click();
        modal->findChild<QPushButton*>("BtOK")->click();
    });
    w.Button7Click();
    QCOMPARE(ComPortNumber, 3);
    QVERIFY(w.link() && w.link() != first);
    QCOMPARE(port.initCalls, 2);
    QCOMPARE(w.form().Panel17->text(), QString(" Schnittstelle: Com3"));
}

void TstForm1::languageDialogRecaptionsTheWindow()
{
    TestEnv env;
    env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    TfrmSprache dialog(
        &w, [&w] { w.SetCaptionComStat(); }, &w);
    frmSprache = &dialog;
    onNextModal([](QWidget* modal) {
        modal->findChild<QRadioButton*>("rbEnglisch")->click();
        modal->findChild<QPushButton*>("BtOk")->click();
    });
    TfrmComPort portDialog(&w);
    frmComPort = &portDialog;
    TFileForm logbook(&w);
    FileForm = &logbook;
    w.BtSpracheClick();
    QCOMPARE(CurrentLanguage, 1);
    QCOMPARE(w.form().Button7->text(), QString("&Interface"));
    // The other windows follow, twice over (their German captions are kept as the keys).
    QCOMPARE(portDialog.windowTitle(), QString("Interface"));
    QCOMPARE(logbook.ui().BtClose->text(), QString("&Close"));
    CurrentLanguage = 0;
    portDialog.translateCaptions();
    QCOMPARE(portDialog.findChild<QPushButton*>("BtCancel")->text(), QString("&Abbruch"));
    FileForm = nullptr;
    QCOMPARE(w.form().Panel17->text(), QString(" Interface: Com1"));
    QCOMPARE(ProfileFile("ini/norlo.ini").readInteger("Language", "Language", -1), 1);

    // Back to German: every caption is the form's own again, except where the captioning gives
    // a text of its own; so no element carries another's caption.
    onNextModal([](QWidget* modal) {
        modal->findChild<QRadioButton*>("rbDeutsch")->click();
        modal->findChild<QPushButton*>("BtOk")->click();
    });
    w.BtSpracheClick();
    QCOMPARE(CurrentLanguage, 0);
    QDialog plain;
    Ui::TForm1 form;
    form.setupUi(&plain);
    const QHash<QString, QString> captioned{
        {"GroupBox7", "Service Informationen"}, {"Label51", "Lösen [Pulse]"},
        {"Label53", "Frequenz  [0,1 Hz]"},      {"Label54", "F_Max  [0,1 Hz]"},
        {"Label56", "T_Dauer  [ms]"},           {"Label66", "Schwingung "},
        {"Label40", "Schwelle [mm/sek]"},       {"Label30", "Schwelle [ms]"},
        {"Label14", "Stopfreq [ms]"},           {"Label24", "Stopfreq [ms]"},
        {"Label49", "weiter mit TAB"},          {"Label58", "weiter mit TAB"},
        {"Label60", "weiter mit TAB"},          {"Label61", "weiter mit TAB"},
        {"Label65", "Spannen ohne Werkzeug"},   {"cbHydr", "aktiv"}};
    // Set by the program itself, not by the captions: port, version and last-error texts.
    const QStringList ownTexts{"Panel17", "Label29", "Label37", "Label38"};
    int compared = 0;
    for (const QWidget* original : plain.findChildren<QWidget*>()) {
        const QString name = original->objectName();
        if (captionOf(original).isNull() || original->window() != &plain || ownTexts.contains(name))
            continue;
        const QWidget* shown = nullptr;
        for (const QWidget* candidate : w.findChildren<QWidget*>(name))
            if (candidate->window() == &w) shown = candidate;
        QVERIFY2(shown, qPrintable(name));
        QCOMPARE(name + ": " + captionOf(shown),
                 name + ": " + captioned.value(name, captionOf(original)));
        ++compared;
    }
    QVERIFY(compared > 100);
    for (int page = 0; page < 10; ++page)
        QCOMPARE(w.form().TabbedNotebook1->tabText(page), form.TabbedNotebook1->tabText(page));
}

void TstForm1::plainBoxIsTitledWithTheProgramsName()
{
    TestEnv env;
    env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    installQtMessageBoxes();
    QString title;
    onNextModal([&title](QWidget* box) {
        title = box->windowTitle();
        box->close();
    });
    showMessage({&w, QStringLiteral("Verbindung zum R73 trennen!"), QString(), MsgIcon::None,
                 MsgButtons::Ok});
    setMessageHandler([&env](const MessageRequest& r) {
        env.boxes << r;
        return defaultAnswer(r.buttons);
    });
    QCOMPARE(title, QString("R73"));
}

void TstForm1::f1ShowsTheVersionWindow()
{
    TestEnv env;
    env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QString shown;
    onNextModal([&shown](QWidget* modal) {
        shown = QString::fromLatin1(modal->metaObject()->className());
        modal->close();
        if (auto* d = qobject_cast<QDialog*>(modal)) d->done(0);
    });
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(shown, QString("TVersInfoForm"));
}

void TstForm1::minimisingRestoresAtOnce()
{
    TestEnv env;
    env.install(std::make_unique<ScriptedPort>());
    TForm1 w;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.setWindowState(Qt::WindowMinimized);
    QVERIFY(!w.isMinimized());
}

void TstForm1::enablingARunningTimerDoesNotRestartIt()
{
    TTimer timer(nullptr, 200);
    QElapsedTimer clock;
    qint64 firedAt = -1;
    timer.setOnTimer([&] {
        if (firedAt < 0) firedAt = clock.elapsed();
    });
    clock.start();
    timer.setEnabled(true);
    QTest::qWait(120);
    timer.setEnabled(true); // must not push the tick back
    QVERIFY(QTest::qWaitFor([&] { return firedAt >= 0; }, 2000));
    QVERIFY2(firedAt < 300, qPrintable(QString::number(firedAt)));
}

QTEST_MAIN(TstForm1)
#include "tst_form1.moc"
