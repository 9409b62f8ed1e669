// The history readout against the simulated controller: the passes and their exchanges, the
// list's order, invalid elements, the result texts, the bound on a pass, and the step codes.

#include "ConnectFixture.h"
#include "Forms.h"
#include "HistoryList.h"
#include "TextTable.h"

#include <QScrollBar>

using namespace r73;
using r73::test::ConnectFixture;
using sim::SimHistElement;

namespace {

SimHistElement element(quint16 number, quint16 clamp = 255, quint16 release = 255)
{
    SimHistElement e;
    e.number = number;
    e.clampResult = clamp;
    e.releaseResult = release;
    e.clampTravel = quint16(1000 + number);
    e.releaseTravel = quint16(2000 + number);
    return e;
}

/// A connected window whose controller holds exactly these elements, oldest first.
std::unique_ptr<ConnectFixture> connectedWith(const QList<SimHistElement>& elements)
{
    auto f = std::make_unique<ConnectFixture>(310);
    f->connect();
    sim::SimHistory& history = f->engine.machine().history();
    history.setLive(false);
    history.clear();
    for (const SimHistElement& e : elements)
        history.append(e);
    return f;
}

/// Runs the poll cycle up to its history step and logs only that step.
void historyStep(ConnectFixture& f)
{
    while (f.window->PollPhase() != 2)
        f.window->Timer1Timer();
    f.engine.clearLog();
    f.window->Timer1Timer();
}

QStringList captions(QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

QStringList elementExchanges(const SimHistElement& e)
{
    QStringList out{"call _@HIST_ELEMENT"};
    for (quint16 v : {e.marker, e.number, e.type, e.subtype, e.clampResult, e.releaseResult,
                      e.clampTravel, e.releaseTravel})
        out << QStringLiteral("PUT %1").arg(v);
    return out;
}

QStringList endExchanges(bool end)
{
    return {"call _@HIST_?READ_END", end ? "PUT 1" : "PUT 0"};
}

} // namespace

class TstHistory : public QObject
{
    Q_OBJECT
private slots:
    void passesReadNewestFirstAndStopAtAKnownNumber();
    void factoryHistoryIsListedUnsigned();
    void resultTexts_data();
    void resultTexts();
    void passAgainstEndlessControllerIsBounded();
    void failedCallReportsItsStep_data();
    void failedCallReportsItsStep();
};

void TstHistory::passesReadNewestFirstAndStopAtAKnownNumber()
{
    const SimHistElement e9 = element(9), e100 = element(100, 1, 2), e10 = element(10, 4, 0);
    SimHistElement invalid = element(50);
    invalid.marker = 0x1234;
    auto f = connectedWith({e9, e100, invalid, e10});
    Ui::LogbuchPage& page = f->window->form().pgLogbuch->ui();
    historyStep(*f);
    QVERIFY2(f->engine.summaries().isEmpty(), qPrintable(f->engine.summaries().join(",")));

    page.Button8->click();
    QCOMPARE(page.Button8->text(), QString("Stop"));
    historyStep(*f);
    // An invalid element is dropped; the pass goes on with the end check.
    QCOMPARE(f->engine.summaries(), elementExchanges(e10) + endExchanges(false) +
                                        elementExchanges(invalid) + endExchanges(false) +
                                        elementExchanges(e100) + endExchanges(false) +
                                        elementExchanges(e9) + endExchanges(true));
    QCOMPARE(captions(page.ListView1), (QStringList{"100", "10", "9"}));
    const QTreeWidgetItem* row = page.ListView1->topLevelItem(0);
    QCOMPARE(row->text(3) + "|" + row->text(4) + "|" + row->text(5) + "|" + row->text(6),
             QString("1100|kurz|2100|lang"));
    QCOMPARE(page.ProgressBar4->value(), 0);
    QVERIFY(f->window->doneText().endsWith(QString::fromUtf8("Durchgang beendet: 3 Einträge")));

    // The controller repeats its newest: known, the pass stops without the end check.
    historyStep(*f);
    QCOMPARE(f->engine.summaries(), elementExchanges(e10));
    QCOMPARE(page.ListView1->topLevelItemCount(), 3);

    // A cycle recorded meanwhile arrives with the next pass.
    const SimHistElement e101 = element(101);
    f->engine.machine().history().append(e101);
    historyStep(*f);
    QCOMPARE(f->engine.summaries(), elementExchanges(e101) + endExchanges(true));
    QCOMPARE(captions(page.ListView1), (QStringList{"101", "100", "10", "9"}));

    // Emptied while reading: the next pass lists what the controller delivers.
    page.Button9->click();
    historyStep(*f);
    QCOMPARE(captions(page.ListView1), QStringList{"101"});

    page.Button8->click();
    QCOMPARE(page.Button8->text(), QString("Lesen"));
    historyStep(*f);
    QVERIFY(f->engine.summaries().isEmpty());
    QVERIFY(f->env.boxes.isEmpty());
}

void TstHistory::factoryHistoryIsListedUnsigned()
{
    // The controller as it comes: its numbers run from 32763 across 0x8000 to 32786.
    ConnectFixture f(310);
    f.connect();
    f.engine.machine().history().setLive(false);
    Ui::LogbuchPage& page = f.window->form().pgLogbuch->ui();
    page.Button8->click();
    historyStep(f);
    const QStringList shown = captions(page.ListView1);
    QCOMPARE(shown.size(), 24);
    QCOMPARE(shown.first() + ' ' + shown.last(), QString("32786 32763"));
    QCOMPARE(shown.indexOf("32768") + 1, shown.indexOf("32767"));
}

void TstHistory::resultTexts_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    const std::tuple<int, const char*, const char*> rows[] = {{1, "kurz", "short"},
                                                              {2, "lang", "long"},
                                                              {3, "timeout", "timeout"},
                                                              {4, "kein Werkzeug", "NO TOOL"},
                                                              {255, "ok", "ok"},
                                                              {0, "", ""},
                                                              {5, "", ""},
                                                              {7, "", ""},
                                                              {254, "", ""}};
    for (const auto& [code, german, english] : rows) {
        QTest::addRow("%d de", code) << 0 << code << QString(german);
        QTest::addRow("%d en", code) << 1 << code << QString(english);
    }
}

void TstHistory::resultTexts()
{
    QFETCH(int, language);
    QFETCH(int, code);
    QFETCH(QString, text);
    BuildTextTable();
    CurrentLanguage = language;
    QCOMPARE(HistResultText(quint16(code)), text);
    CurrentLanguage = 0;
}

void TstHistory::passAgainstEndlessControllerIsBounded()
{
    auto f = connectedWith({element(1)});
    QVERIFY(f->engine.addFault("endless-history=1"));
    Ui::LogbuchPage& page = f->window->form().pgLogbuch->ui();
    page.Button8->click();
    historyStep(*f);
    const QStringList log = f->engine.summaries();
    QCOMPARE(log.count("call _@HIST_ELEMENT"), 100);
    QCOMPARE(log.count("call _@HIST_?READ_END"), 100);
    QCOMPARE(page.ListView1->topLevelItemCount(), 100);
    QCOMPARE(page.ProgressBar4->value(), 0);
    QVERIFY(f->window->doneText().endsWith(
        QString::fromUtf8("Durchgang beendet: 100 Einträge, weitere folgen")));
    // The rest arrives with the following passes, one per poll cycle.
    historyStep(*f);
    QCOMPARE(page.ListView1->topLevelItemCount(), 200);
    QVERIFY(f->env.boxes.isEmpty());

    // Cursor-up on the long list scrolls it down a fine step, then moves the selection up.
    page.Button8->click(); // the readout off, so nothing changes the list meanwhile
    f->window->form().TabbedNotebook1->setCurrentIndex(5);
    QTreeWidget* list = page.ListView1;
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(100));
    list->scrollToItem(list->currentItem(), QAbstractItemView::PositionAtCenter);
    const int before = list->verticalScrollBar()->value();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->verticalScrollBar()->value(), before + 10);
    QCOMPARE(list->currentItem(), list->topLevelItem(99));
}

void TstHistory::failedCallReportsItsStep_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("silentAfter"); // exchanges into the pass, -1: none
    QTest::addColumn<QString>("location");
    QTest::newRow("element") << "bad-status=_@HIST_ELEMENT" << -1 << "4100";
    QTest::newRow("end") << "bad-status=_@HIST_?READ_END" << -1 << "4301";
    QTest::newRow("end value") << "" << 10 << "4302";
}

void TstHistory::failedCallReportsItsStep()
{
    QFETCH(QString, fault);
    QFETCH(int, silentAfter);
    QFETCH(QString, location);
    auto f = connectedWith({element(1), element(2)});
    f->window->form().pgLogbuch->ui().Button8->click();
    while (f->window->PollPhase() != 2)
        f->window->Timer1Timer();
    if (!fault.isEmpty()) QVERIFY(f->engine.addFault(fault));
    if (silentAfter >= 0)
        f->engine.faults().silentAfter = f->engine.completedExchanges() + silentAfter;
    // Unarmed, so the code stays that of the failed step: the fatal report ends the program, and
    // every call after it fails too.
    programState().reportCommErrors = false;
    f->window->Timer1Timer();
    QVERIFY(programState().commErrorSeen);
    QCOMPARE(f->window->form().Label38->text(), location);
    // The pass ends at the failure.
    QCOMPARE(f->engine.summaries().filter("call _@HIST_ELEMENT").size(), 1);
}

QTEST_MAIN(TstHistory)
#include "tst_history.moc"
