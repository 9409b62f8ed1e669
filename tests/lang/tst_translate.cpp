#include "TextHook.h"
#include "TextTable.h"
#include "Translate.h"

#include <QTest>

using namespace r73;

class TestTranslate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void translate_data();
    void translate();
    void tableRows_data();
    void tableRows();
    void buildingTwiceKeepsRowNumbers();
    void linkTextsFollowTheLanguage();
    void releasedTableShowsGerman();
};

void TestTranslate::init()
{
    BuildTextTable();
    CurrentLanguage = 0;
}

void TestTranslate::cleanup()
{
    CurrentLanguage = 0;
    ReleaseTextTable();
    setTranslateFunction(nullptr);
}

void TestTranslate::translate_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("expected");

    QTest::newRow("German ignores the offset") << 0 << 1 << "Speichern"
                                               << "Speichern";
    QTest::newRow("a later message text has its English too") << 1 << 0 << "Warnung"
                                                              << "Warning";
    QTest::newRow("... but stays German in German") << 0 << 0 << "Warnung"
                                                    << "Warnung";
    QTest::newRow("German keeps unknown texts") << 0 << 0 << "Datei "
                                                << "Datei ";
    QTest::newRow("mixed case lands on the upper-case row") << 1 << 0 << "Speichern"
                                                            << "SAVE";
    QTest::newRow("offset 1 reaches the twin") << 1 << 1 << "Speichern"
                                               << "Save";
    QTest::newRow("lower case lands on the upper-case row") << 1 << 0 << "speichern"
                                                            << "SAVE";
    QTest::newRow("Lesen is READ") << 1 << 0 << "Lesen"
                                   << "READ";
    QTest::newRow("Lösen offset 1 is the second LÖSEN") << 1 << 1 << "Lösen"
                                                        << "RELEASE";
    QTest::newRow("umlaut compared without case") << 1 << 2 << "lÖsen"
                                                  << "Release";
    QTest::newRow("Spannen offset 1") << 1 << 1 << "Spannen"
                                      << "Clamp";
    QTest::newRow("kurz offset 0") << 1 << 0 << "kurz"
                                   << "Short";
    QTest::newRow("kurz offset 1") << 1 << 1 << "kurz"
                                   << "short";
    QTest::newRow("lang offset 1") << 1 << 1 << "lang"
                                   << "long";
    QTest::newRow("ok offset 1") << 1 << 1 << "ok"
                                 << "ok";
    QTest::newRow("timeout offset 1") << 1 << 1 << "timeout"
                                      << "timeout";
    QTest::newRow("Stop offset 1") << 1 << 1 << "Stop"
                                   << "Stop";
    QTest::newRow("upper-case umlaut") << 1 << 0 << "ZÄHLER1"
                                       << "Counter1";
    QTest::newRow("sharp s in upper case") << 1 << 0 << "MEßBEREICH"
                                           << "Range";
    QTest::newRow("Datei with blank is not Datei: ") << 1 << 0 << "Datei "
                                                     << "Datei ";
    QTest::newRow("empty German") << 0 << 0 << ""
                                  << "";
    QTest::newRow("empty English") << 1 << 0 << ""
                                   << "";
    QTest::newRow("trailing blank belongs to the text") << 1 << 0 << "Schwingung "
                                                        << "Vibration ";
    QTest::newRow("missing trailing blank is not found") << 1 << 0 << "Verzeichnis"
                                                         << "Verzeichnis";
    // Without its blank, "Schwingung " is the upper-case row's word, found by the case rule.
    QTest::newRow("without blank another row matches") << 1 << 0 << "Schwingung"
                                                       << "VIBRATION";
    QTest::newRow("inner blanks must match") << 1 << 0 << "int. Zustand"
                                             << "int. Zustand";
    QTest::newRow("double blank found") << 1 << 0 << "int.  Zustand"
                                        << "int. State";
    QTest::newRow("leading blank belongs to the text") << 1 << 0 << "Demo-Version"
                                                       << "Demo-Version";
    QTest::newRow("language 2 has no list") << 2 << 0 << "Speichern"
                                            << "Speichern";
    QTest::newRow("language 5 is German") << 5 << 0 << "Speichern"
                                          << "Speichern";
    QTest::newRow("language -1 is German") << -1 << 0 << "Fehler"
                                           << "Fehler";
    QTest::newRow("offset past the last row")
        << 1 << 1 << "Die Zahl liegt ausserhalb des Meßbereichs!"
        << "Die Zahl liegt ausserhalb des Meßbereichs!";
    QTest::newRow("offset far past the last row") << 1 << 1000 << "Fehler"
                                                  << "Fehler";
    QTest::newRow("offset before row 0") << 1 << -2 << "---"
                                         << "---";
    QTest::newRow("the page keeps the table's twin") << 1 << 0 << "ZU LANG"
                                                     << "TO LONG";
    QTest::newRow("beyond the pages its own twin") << 1 << OwnText << "ZU LANG"
                                                   << "TOO LONG";
    QTest::newRow("... German there too") << 0 << OwnText << "ZU LANG"
                                          << "ZU LANG";
    QTest::newRow("... where the table's twin is misspelt") << 1 << OwnText << "ANALOGWERTE"
                                                            << "ANALOG VALUES";
    QTest::newRow("... else the table's row itself") << 1 << OwnText << "Speichern"
                                                     << "SAVE";
    QTest::newRow("... language 2 has none") << 2 << OwnText << "ZU LANG"
                                             << "ZU LANG";
    QTest::newRow("... default name") << 1 << OwnText << "_bericht.pdf"
                                      << "_report.pdf";
}

void TestTranslate::translate()
{
    QFETCH(int, language);
    QFETCH(int, offset);
    QFETCH(QString, german);
    QFETCH(QString, expected);

    CurrentLanguage = language;
    QCOMPARE(Translate(offset, german), expected);
}

void TestTranslate::tableRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("english");

    QTest::newRow("0") << 0 << ""
                       << "";
    QTest::newRow("33") << 33 << "Datei: "
                        << " File: ";
    QTest::newRow("55") << 55 << "int.  Zustand"
                        << "int. State";
    QTest::newRow("62") << 62 << "kurz"
                        << "short";
    QTest::newRow("65") << 65 << "lang"
                        << "long";
    QTest::newRow("72") << 72 << "LÖSEN"
                        << "RELEASE";
    QTest::newRow("90") << 90 << "ok"
                        << "ok";
    QTest::newRow("106") << 106 << "Schwingung "
                         << "Vibration ";
    QTest::newRow("108") << 108 << "Schwingung: Speichern EEPROM"
                         << "Vibartion: Save EEPROM";
    QTest::newRow("115") << 115 << "Spannen"
                         << "Clamp";
    QTest::newRow("120") << 120 << "Spannen ohne Werkzeug muß größer sein als Lang"
                         << "Clamp without tool must be lager than Long";
    QTest::newRow("122") << 122 << "Speichern"
                         << "Save";
    QTest::newRow("128") << 128 << "Stop"
                         << "Stop";
    QTest::newRow("135") << 135 << "timeout"
                         << "timeout";
    QTest::newRow("175") << 175 << "Die Zahl liegt ausserhalb des Meßbereichs!"
                         << "Number out of range";
}

void TestTranslate::tableRows()
{
    QFETCH(int, row);
    QFETCH(QString, german);
    QFETCH(QString, english);

    QCOMPARE(GermanTexts.size(), TextTableRows);
    QCOMPARE(EnglishTexts.size(), TextTableRows);
    QCOMPARE(GermanTexts.at(row), german);
    QCOMPARE(EnglishTexts.at(row), english);
}

void TestTranslate::buildingTwiceKeepsRowNumbers()
{
    BuildTextTable();
    QCOMPARE(GermanTexts.size(), TextTableRows);
    QCOMPARE(EnglishTexts.size(), TextTableRows);
    QCOMPARE(GermanTexts.at(121), QStringLiteral("SPEICHERN"));
}

void TestTranslate::linkTextsFollowTheLanguage()
{
    // The link shows its messages through the hook that building the table installs.
    QCOMPARE(tr73(0, QStringLiteral("Fehler")), QStringLiteral("Fehler"));
    CurrentLanguage = 1;
    QCOMPARE(tr73(0, QStringLiteral("Fehler")), QStringLiteral("Error"));
}

void TestTranslate::releasedTableShowsGerman()
{
    CurrentLanguage = 1;
    ReleaseTextTable();
    QCOMPARE(Translate(0, QStringLiteral("Fehler")), QStringLiteral("Fehler"));
    QVERIFY(ThirdTexts.isEmpty());
}

QTEST_APPLESS_MAIN(TestTranslate)
#include "tst_translate.moc"
