// The logbook text composed from the main window, line by line by BIOS version; the history
// questions and their Cancel; F6 shows the logbook window with the focus on "Speichern".

#include "ConnectFixture.h"
#include "FiPri.h"
#include "Forms.h"
#include "HistoryPage.h"
#include "LogFile.h"

#include <QRegularExpression>

using namespace r73;
using r73::test::ConnectFixture;

namespace {

/// A main window control's text by its form name.
QString text(ConnectFixture& f, const char* name)
{
    for (QWidget* w : f.window->findChildren<QWidget*>(name)) {
        if (w->window() != f.window.get()) continue;
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    }
    return "<missing " + QString(name) + ">";
}

QString value(ConnectFixture& f, const char* label, const char* field)
{
    return "\t" + text(f, label) + " : " + text(f, field);
}

QStringList logbook(ConnectFixture& f, bool* confirmed = nullptr)
{
    auto* history = f.window->findChild<HistoryPage*>();
    const bool ok = history->GetLogbuch();
    if (confirmed) *confirmed = ok;
    return history->logbookWindow()->lines();
}

} // namespace

class TstLogbook : public QObject
{
    Q_OBJECT
private slots:
    void linesByVersion_data();
    void linesByVersion();
    void emptyHistoryAsks_data();
    void emptyHistoryAsks();
    void f6ShowsTheWindowWithFocusOnSave();
};

void TstLogbook::linesByVersion_data()
{
    QTest::addColumn<int>("bios");
    QTest::newRow("2.07") << 207;
    QTest::newRow("2.50") << 250;
    QTest::newRow("3.10") << 310;
}

void TstLogbook::linesByVersion()
{
    QFETCH(int, bios);
    resetShortDateFormat();
    ConnectFixture f{quint16(bios)};
    f.connect();
    sim::SimHistory& h = f.engine.machine().history();
    h.setLive(false);
    h.clear();
    for (auto [n, clamp, release] : {std::tuple{12, 255, 255}, std::tuple{11, 1, 7}})
        h.append({8271, quint16(n), 1, 0, quint16(clamp), quint16(release), quint16(n * 100),
                  quint16(n * 100)});
    f.engine.setInputWord(0x81);
    f.engine.setOutputWord(0x11);
    if (bios >= 208) f.window->form().pgLogbuch->ui().Button8->click();
    for (int i = 0; i < 3; ++i)
        f.window->Timer1Timer();                      // one poll cycle with its history pass
    f.window->form().pgService->ui().Label57->hide(); // a hidden service label gives no line
    f.engine.clearLog();
    const QStringList lines = logbook(f);
    // Only the channels are read back from the controller.
    QCOMPARE(f.engine.summaries().isEmpty(), bios < 300);

    auto v = [&f](const char* label, const char* field) { return value(f, label, field); };
    QStringList expected{QString("SW-Version: 3.14\tSer. Nr. : 1234\tBios-Version : %1")
                             .arg(bios / 100.0, 0, 'f', 2),
                         "Datum : *\t*:*:*",
                         v("Label3", "Edit1"),
                         "\tLast ComErr: : " + text(f, "Label37") + "  " + text(f, "Label38"),
                         " ",
                         "SPANNEN",
                         v("Label1", "Edit10"),
                         v("Label2", "Edit11")};
    if (bios >= 210) expected << v("Label65", "Edit16");
    expected << v("Label20", "Edit20") << v("Label21", "Edit21") << " "
             << "ZEITEN" << v("Label12", "Edit12") << v("Label14", "Edit14")
             << v("Label15", "Edit15") << v("Label22", "Edit22") << v("Label24", "Edit24")
             << v("Label25", "Edit25") << " "
             << "PLANANLAGE" << v("Label30", "Edit30") << v("Label31", "Edit31") << " "
             << "SCHWINGUNG" << v("Label40", "Edit40") << v("Label41", "Edit41") << " "
             << "SERVICE" << v("Label50", "Edit50");
    if (bios >= 208) expected << v("Label51", "Edit51") << v("Label52", "Edit52");
    expected << v("Label53", "Edit53") << v("Label56", "Edit56") << " ";
    // The controller's channel settings: unit, range top and bottom, Max2, Max1, Min1, Min2.
    const QStringList channels[] = {{"Grad C", "150", "-50", "120", "100", "0", "-20"},
                                    {"bar", "250", "0", "220", "200", "20", "10"},
                                    {"mm", "50", "0", "45", "40", "10", "5"}};
    const char* const levels[] = {"0-5V / 0-10V / 0-20mA", "4-20 mA", "0-5V / 0-10V / 0-20mA"};
    for (int c = 0; bios >= 300 && c < 3; ++c) {
        expected << f.window->form().TabbedNotebook1->tabText(6 + c);
        int i = 0;
        for (const char* caption :
             {"physikalische Einheit", "Maximum", "Minimum", "Max2", "Max1", "Min1", "Min2"})
            expected << QString("\t%1 : %2").arg(caption, channels[c][i++]);
        expected << QString("\tKanal aktiv : %1").arg(c < 2 ? "aktiv" : "inaktiv")
                 << QString("\tEingangspegel : %1").arg(levels[c]);
        if (c < 2) expected << " ";
    }
    expected << " ";
    for (const auto& [io, word] : {std::pair{"E", 0x81}, std::pair{"A", 0x11}})
        for (int bit = 0; bit < 8; ++bit)
            expected << QString("\t%1%2 : %3")
                            .arg(io)
                            .arg(bit)
                            .arg(word & (1 << bit) ? "aktiv" : "inaktiv");
    expected << " "
             << "\text. Anwahl"
             << "\t" + text(f, "Label6") << "\tint.  Zustand"
             << "\t" + text(f, "Label35") << "\tErgebnis:"
             << "\t" + text(f, "Label59") << "\t" + text(f, "Label62");
    if (bios >= 208)
        expected << " "
                 << "LOGBUCH" << QString::fromUtf8("\tNr\tSpannen\tErgebnis\tLösen\tErgebnis\t")
                 << "\t12\t1200\tok\t1200\tok\t"
                 << "\t11\t1100\tkurz\t1100\t\t";

    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i) {
        // A '*' in the expected line stands for any text.
        const QString re = QRegularExpression::escape(expected[i]).replace("\\*", ".*");
        const bool ok =
            QRegularExpression(QRegularExpression::anchoredPattern(re)).match(lines[i]).hasMatch();
        QVERIFY2(
            ok, qPrintable(
                    QString("line %1: \"%2\", expected \"%3\"").arg(i).arg(lines[i], expected[i])));
    }
    QVERIFY(f.env.boxes.isEmpty());
}

void TstLogbook::emptyHistoryAsks_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QList<int>>("answers"); // MsgAnswer per box, in order
    QTest::addColumn<bool>("shown");
    const int cancel = int(MsgAnswer::Cancel), ignore = int(MsgAnswer::Ignore);
    QTest::newRow("reading, Cancel") << true << QList<int>{cancel} << false;
    QTest::newRow("reading, Ignore") << true << QList<int>{ignore} << true;
    QTest::newRow("off, Cancel") << false << QList<int>{cancel} << false;
    QTest::newRow("off, Ignore, Cancel") << false << QList<int>{ignore, cancel} << false;
    QTest::newRow("off, Ignore, Ignore") << false << QList<int>{ignore, ignore} << true;
}

void TstLogbook::emptyHistoryAsks()
{
    QFETCH(bool, reading);
    QFETCH(QList<int>, answers);
    QFETCH(bool, shown);
    ConnectFixture f{310}; // not connected: F6 works all the same, with an empty history list
    programState().historyReading = reading;
    QStringList texts;
    const MessageHandler old = setMessageHandler([&](const MessageRequest& r) {
        texts << r.text;
        if (r.icon != MsgIcon::Information || r.buttons != MsgButtons::CancelIgnore)
            return MsgAnswer::Ok;
        return MsgAnswer(answers.value(texts.size() - 1, int(MsgAnswer::Ok)));
    });
    f.key(Qt::Key_F6);
    setMessageHandler(old);
    const QStringList asked{"LOGBUCH nicht eingeschaltet", "LOGBUCH liest nicht"};
    QCOMPARE(texts, asked.mid(0, answers.size()));
    auto* form = f.window->findChild<TFileForm*>();
    QCOMPARE(form->isVisible(), shown);
    // The text is complete either way: the history heading ends it.
    QCOMPARE(
        form->lines().mid(form->lines().size() - 2),
        (QStringList{"LOGBUCH", QString::fromUtf8("\tNr\tSpannen\tErgebnis\tLösen\tErgebnis\t")}));
}

void TstLogbook::f6ShowsTheWindowWithFocusOnSave()
{
    ConnectFixture f{207};
    f.connect();
    f.key(Qt::Key_F6);
    auto* form = f.window->findChild<TFileForm*>();
    QVERIFY(form->isVisible());
    QCOMPARE(form->focusWidget(), form->ui().BtSave);
    QCOMPARE(form->windowTitle(), QString("R73-Controller: Speichern und Drucken"));
    QVERIFY(form->ui().Memo1->isReadOnly());
    QVERIFY(f.env.boxes.isEmpty());
    form->ui().BtClose->click();
    QVERIFY(!form->isVisible());
}

QTEST_MAIN(TstLogbook)
#include "tst_logbook.moc"
