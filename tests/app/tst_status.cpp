// The status panel: lamps, external selection, internal state and the test result with its
// colour, from the input and output words the controller reports.

#include "ConnectFixture.h"
#include "Forms.h"

using namespace r73;
using r73::test::ConnectFixture;

namespace {

QColor background(QLabel* label)
{
    return label->palette().color(QPalette::Window);
}

} // namespace

class TstStatus : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void resultTextAndColour_data();
    void resultTextAndColour();
    void noResultKeepsTheColour();
    void lampsAndSelection_data();
    void lampsAndSelection();
    void olderControllerNamesThePulseField();
    void cleanupTestCase() { m_f.reset(); } // the line is checked while a test still runs

private:
    std::unique_ptr<ConnectFixture> m_f;
};

void TstStatus::initTestCase()
{
    m_f = std::make_unique<ConnectFixture>(310);
    m_f->connect();
}

void TstStatus::resultTextAndColour_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("state");
    const QColor green(0x00, 0x80, 0x00), red(0xFF, 0, 0), yellow(0xFF, 0xFF, 0);
    QTest::newRow("test ok") << 0x0011 << 1 << "TEST OK" << green << "SPANNEN";
    QTest::newRow("too short") << 0x0022 << 2 << "ZU KURZ" << red << QString::fromUtf8("LÖSEN");
    QTest::newRow("too long") << 0x0041 << 1 << "ZU LANG" << red << "SPANNEN";
    QTest::newRow("no tool, not too long") << 0x0050 << 0 << "kein Werkzeug" << yellow << "IDLE";
    QTest::newRow("leakage wins over the rest") << 0x0070 << 0 << "LECKAGE" << red << "IDLE";
    QTest::newRow("time-out wins over all") << 0x00F0 << 0 << "TIMEOUT" << red << "IDLE";
    QTest::newRow("analog without input") << 0x0005 << 0 << "ANALOG ERR" << red << "ANALOG";
    QTest::newRow("analog with a result bit") << 0x0026 << 0x20 << "ANALOG ERR" << red << "ANALOG";
    QTest::newRow("analog ok") << 0x0005 << 0x10 << "ANALOG OK" << green << "ANALOG";
    QTest::newRow("flat contact finished") << 0x001B << 4 << "TEST OK" << green << "PLANANLAGE";
}

void TstStatus::resultTextAndColour()
{
    QFETCH(int, output);
    QFETCH(int, input);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(QString, state);
    m_f->engine.setOutputWord(quint16(output));
    m_f->engine.setInputWord(quint16(input));
    m_f->window->ReadIO();
    Ui::TForm1& ui = m_f->window->form();
    QCOMPARE(ui.Label62->text(), text);
    QCOMPARE(background(ui.Label62), colour);
    QCOMPARE(ui.Label35->text(), state);
    QCOMPARE(ui.Label59->text(), (output & 0x08) ? QString("Test beendet") : QString("--"));
}

void TstStatus::noResultKeepsTheColour()
{
    m_f->engine.setOutputWord(0x0020);
    m_f->window->ReadIO();
    m_f->engine.setOutputWord(0x0000);
    m_f->window->ReadIO();
    Ui::TForm1& ui = m_f->window->form();
    QCOMPARE(ui.Label62->text(), QString("--"));
    QCOMPARE(background(ui.Label62), QColor(0xFF, 0, 0));
}

void TstStatus::lampsAndSelection_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("selection");
    QTest::newRow("two lines: no single selection") << 0x0003 << "---";
    QTest::newRow("release, test requested") << 0x0082 << QString::fromUtf8("LÖSEN");
    QTest::newRow("analog 3") << 0x0040 << "ANALOG3";
    QTest::newRow("idle") << 0x0000 << "IDLE";
}

void TstStatus::lampsAndSelection()
{
    QFETCH(int, input);
    QFETCH(QString, selection);
    m_f->engine.setInputWord(quint16(input));
    m_f->engine.setOutputWord(0x00A5);
    m_f->window->ReadIO();
    Ui::TForm1& ui = m_f->window->form();
    QCOMPARE(ui.Label6->text(), selection);
    QLabel* const in[] = {ui.Label100, ui.Label101, ui.Label102, ui.Label103,
                          ui.Label104, ui.Label105, ui.Label106, ui.Label107};
    QLabel* const out[] = {ui.Label110, ui.Label111, ui.Label112, ui.Label113,
                           ui.Label114, ui.Label115, ui.Label116, ui.Label117};
    const QColor on(0xFF, 0xFF, 0x00);
    for (int bit = 0; bit < 8; ++bit) {
        QCOMPARE(background(in[bit]) == on, bool(input & (1 << bit)));
        QCOMPARE(background(out[bit]) == on, bool(0xA5 & (1 << bit)));
    }
}

void TstStatus::olderControllerNamesThePulseField()
{
    ConnectFixture f{207};
    f.connect();
    f.engine.setOutputWord(0x0001);
    f.window->ReadIO();
    QCOMPARE(f.window->form().pgService->ui().Label50->text(), QString("Pulse Spannen"));
    f.engine.setOutputWord(0x0003); // release wins
    f.window->ReadIO();
    QCOMPARE(f.window->form().pgService->ui().Label50->text(), QString::fromUtf8("Pulse Lösen"));
}

QTEST_MAIN(TstStatus)
#include "tst_status.moc"
