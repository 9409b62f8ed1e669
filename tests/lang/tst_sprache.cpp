#include "NorloIni.h"
#include "ProfileFile.h"
#include "Sprache.h"
#include "TestEnv.h"
#include "TextTable.h"
#include "Translate.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace r73;

class TestSprache : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionsAtCreation_data();
    void captionsAtCreation();
    void layout();
    void showSelectsCurrentLanguage_data();
    void showSelectsCurrentLanguage();
    void okStoresAndRecaptions_data();
    void okStoresAndRecaptions();
    void cancelChangesNothing();
    void wrongStoredLanguage();
    void unwritableConfigKeepsEverything_data();
    void unwritableConfigKeepsEverything();
    void ownCaptionsKeepTheirLanguage();

private:
    template <class T> static T* child(const QDialog& d, const char* name)
    {
        return d.findChild<T*>(QLatin1String(name));
    }
    static int storedLanguage();
    static QByteArray configBytes();

    std::unique_ptr<test::TestEnv> m_env;
    /// The main window as far as the dialog sees it: one caption and the port status refresh.
    std::unique_ptr<QWidget> m_form1;
    QPushButton* m_button3 = nullptr;
    int m_portStatusCalls = 0;
};

void TestSprache::init()
{
    m_env = std::make_unique<test::TestEnv>();
    CurrentLanguage = 0;
    BuildTextTable();
    m_form1 = std::make_unique<QWidget>();
    m_form1->setWindowTitle(QStringLiteral("R73-Controller"));
    m_button3 = new QPushButton(QStringLiteral("&Verbinden"), m_form1.get());
    m_button3->setObjectName(QStringLiteral("Button3"));
    m_portStatusCalls = 0;
}

void TestSprache::cleanup()
{
    m_form1.reset();
    CurrentLanguage = 0;
    ReleaseTextTable();
    m_env.reset();
}

int TestSprache::storedLanguage()
{
    return ProfileFile(configFilePath())
        .readInteger(QLatin1String(LanguageSection), QLatin1String(LanguageKey), -1);
}

QByteArray TestSprache::configBytes()
{
    QFile f(configFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestSprache::captionsAtCreation_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("expected"); // title, group, German, English, OK, Cancel

    QTest::newRow("German") << 0 << QStringList{"Sprache",   "Sprachauswahl", "&Deutsch",
                                                "&Englisch", "&OK",           "&Abbrechen"};
    QTest::newRow("English") << 1 << QStringList{"Language", "Language Selection",
                                                 "&German",  "&English",
                                                 "&OK",      "&Cancel"};
}

void TestSprache::captionsAtCreation()
{
    QFETCH(int, language);
    QFETCH(QStringList, expected);

    CurrentLanguage = language;
    TfrmSprache dialog;
    const QStringList actual{dialog.windowTitle(),
                             child<QGroupBox>(dialog, "GroupBox1")->title(),
                             child<QRadioButton>(dialog, "rbDeutsch")->text(),
                             child<QRadioButton>(dialog, "rbEnglisch")->text(),
                             child<QPushButton>(dialog, "BtOk")->text(),
                             child<QPushButton>(dialog, "BtCancel")->text()};
    QCOMPARE(actual, expected);
}

void TestSprache::layout()
{
    TfrmSprache dialog;
    QCOMPARE(child<QLabel>(dialog, "Image1")->pixmap().size(), QSize(24, 16));
    QCOMPARE(child<QLabel>(dialog, "Image2")->pixmap().size(), QSize(22, 14));
    QCOMPARE(child<QRadioButton>(dialog, "rbDeutsch")->geometry(), QRect(64, 32, 113, 17));
    QCOMPARE(child<QPushButton>(dialog, "BtCancel")->geometry(), QRect(136, 184, 115, 25));

    // Tab order: the buttons first, then the languages.
    QStringList order;
    QWidget* w = child<QPushButton>(dialog, "BtOk");
    for (int i = 0; i < 3; ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        order << w->objectName();
    }
    QCOMPARE(order, (QStringList{"BtCancel", "rbDeutsch", "rbEnglisch"}));
}

void TestSprache::showSelectsCurrentLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("selected");

    QTest::newRow("German") << 0 << "rbDeutsch";
    QTest::newRow("English") << 1 << "rbEnglisch";
}

void TestSprache::showSelectsCurrentLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, selected);

    CurrentLanguage = language;
    TfrmSprache dialog;
    // A choice left from an earlier showing must not win over the current language.
    child<QRadioButton>(dialog, language == 0 ? "rbEnglisch" : "rbDeutsch")->setChecked(true);
    dialog.show();
    auto* rb = dialog.findChild<QRadioButton*>(selected);
    QVERIFY(rb->isChecked());
    QCOMPARE(dialog.focusWidget(), rb);
    QVERIFY(child<QRadioButton>(dialog, "RadioButton3")->isHidden());
    QVERIFY(m_env->boxes.isEmpty());
}

void TestSprache::okStoresAndRecaptions_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("choice"); // empty: OK without touching the choice
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("button3");

    QTest::newRow("German to English") << 0 << "rbEnglisch" << 1 << "&Connect";
    QTest::newRow("English kept, stored again") << 1 << "" << 1 << "&Connect";
    QTest::newRow("English to German") << 1 << "rbDeutsch" << 0 << "&Verbinden";
}

void TestSprache::okStoresAndRecaptions()
{
    QFETCH(int, before);
    QFETCH(QString, choice);
    QFETCH(int, after);
    QFETCH(QString, button3);

    CurrentLanguage = before;
    TfrmSprache dialog(m_form1.get(), [this] { ++m_portStatusCalls; });
    dialog.show();
    if (!choice.isEmpty()) dialog.findChild<QRadioButton*>(choice)->click();
    child<QPushButton>(dialog, "BtOk")->click();

    QCOMPARE(CurrentLanguage, after);
    QCOMPARE(storedLanguage(), after);
    QCOMPARE(m_button3->text(), button3);
    QCOMPARE(m_portStatusCalls, 1);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(m_env->boxes.isEmpty());
}

void TestSprache::cancelChangesNothing()
{
    TfrmSprache dialog(m_form1.get(), [this] { ++m_portStatusCalls; });
    const QByteArray file = configBytes();
    dialog.show();
    child<QRadioButton>(dialog, "rbEnglisch")->click();
    child<QPushButton>(dialog, "BtCancel")->click();

    QCOMPARE(configBytes(), file);
    QCOMPARE(CurrentLanguage, 0);
    QCOMPARE(m_button3->text(), QStringLiteral("&Verbinden"));
    QCOMPARE(m_portStatusCalls, 0);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    // The next showing selects the current language again, not the cancelled choice.
    dialog.show();
    QVERIFY(child<QRadioButton>(dialog, "rbDeutsch")->isChecked());
}

void TestSprache::wrongStoredLanguage()
{
    TfrmSprache dialog(m_form1.get(), [this] { ++m_portStatusCalls; });
    // An earlier showing left German selected; a wrong number must not look like German.
    dialog.show();
    dialog.reject();
    CurrentLanguage = 5;
    dialog.show();

    QCOMPARE(m_env->boxes.size(), 1);
    QCOMPARE(m_env->boxes.at(0).text, QStringLiteral("Falsche Sprachwahl!"));
    QCOMPARE(m_env->boxes.at(0).icon, MsgIcon::None);
    QVERIFY(!child<QRadioButton>(dialog, "rbDeutsch")->isChecked());
    QVERIFY(!child<QRadioButton>(dialog, "rbEnglisch")->isChecked());

    child<QRadioButton>(dialog, "rbDeutsch")->click();
    child<QPushButton>(dialog, "BtOk")->click();
    QCOMPARE(CurrentLanguage, 0);
    QCOMPARE(storedLanguage(), 0);
    QCOMPARE(m_env->boxes.size(), 1);
}

void TestSprache::unwritableConfigKeepsEverything_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("caption"); // in the language still in force

    QTest::newRow("German, English chosen") << 0 << "rbEnglisch"
                                            << "Fehler";
    QTest::newRow("English, German chosen") << 1 << "rbDeutsch"
                                            << "Error";
}

void TestSprache::unwritableConfigKeepsEverything()
{
    QFETCH(int, before);
    QFETCH(QString, choice);
    QFETCH(QString, caption);

    // A folder in place of the file stops even root from writing it.
    QVERIFY(QFile::remove(configFilePath()));
    QVERIFY(QDir().mkdir(configFilePath()));
    CurrentLanguage = before;
    const QString button3 = m_button3->text();
    TfrmSprache dialog;
    dialog.setMainWindow(m_form1.get(), [this] { ++m_portStatusCalls; });
    dialog.show();
    dialog.findChild<QRadioButton*>(choice)->click();
    child<QPushButton>(dialog, "BtOk")->click();

    QCOMPARE(m_env->boxes.size(), 1);
    const MessageRequest& box = m_env->boxes.at(0);
    QCOMPARE(box.icon, MsgIcon::Error);
    QCOMPARE(box.caption, caption);
    QVERIFY2(box.text.contains(QStringLiteral("norlo.ini")), qPrintable(box.text));
    QCOMPARE(CurrentLanguage, before);
    QCOMPARE(m_button3->text(), button3);
    QCOMPARE(m_portStatusCalls, 0);
    QVERIFY(dialog.isVisible());
}

void TestSprache::ownCaptionsKeepTheirLanguage()
{
    TfrmSprache dialog(m_form1.get(), [this] { ++m_portStatusCalls; });
    dialog.show();
    child<QRadioButton>(dialog, "rbEnglisch")->click();
    child<QPushButton>(dialog, "BtOk")->click();
    QCOMPARE(m_button3->text(), QStringLiteral("&Connect"));

    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Sprache"));
    QCOMPARE(child<QRadioButton>(dialog, "rbDeutsch")->text(), QStringLiteral("&Deutsch"));
    QCOMPARE(child<QRadioButton>(dialog, "rbEnglisch")->text(), QStringLiteral("&Englisch"));
    QCOMPARE(child<QPushButton>(dialog, "BtCancel")->text(), QStringLiteral("&Abbrechen"));
    QVERIFY(child<QRadioButton>(dialog, "rbEnglisch")->isChecked());
}

QTEST_MAIN(TestSprache)
#include "tst_sprache.moc"
