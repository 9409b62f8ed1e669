// The channel pages against the simulated controller: reads and writes with their place
// numbers, Enter in each kind of field, the refusals and their messages, the demo fill.

#include "AnalogFixture.h"
#include "AnalogPage1.h"
#include "AnalogPage2.h"
#include "AnalogPage3.h"
#include "AnalogwertePage.h"
#include "FiPri.h"
#include "TimerWrapper.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>

using namespace r73;
using r73::test::AnalogFixture;

namespace {

/// Hands every call to the window and keeps its place number.
class RecordingHost : public PageHost
{
public:
    explicit RecordingHost(TForm1& w) : m_w(w) {}
    TTarget* link() const override { return m_w.link(); }
    void CommErr(quint16 status, quint16 location) override
    {
        places << location;
        m_w.CommErr(status, location);
    }
    TTimer& Timer1() override { return m_w.Timer1(); }
    TTimer& Timer2() override { return m_w.Timer2(); }
    TTimer& Timer3() override { return m_w.Timer3(); }
    TTimer& Timer4() override { return m_w.Timer4(); }
    QWidget* window() override { return &m_w; }
    model::ControllerModel& controllerModel() override { return m_w.controllerModel(); }
    QString pageCaption(int page) const override { return m_w.pageCaption(page); }
    LastCommError lastCommError() const override { return m_w.lastCommError(); }
    void showDone(const QString& text) override { m_w.showDone(text); }
    QList<quint16> places;

private:
    TForm1& m_w;
};

/// Every host call is one exchange: "place summary" for each.
QStringList withPlaces(const QStringList& log, const QList<quint16>& places)
{
    QStringList out;
    for (qsizetype i = 0; i < log.size(); ++i)
        out << QString::number(places.value(i)) + ' ' + log[i];
    return out;
}

QString strget(const QString& text)
{
    return "STRGET \"" + text + '"';
}

} // namespace

class TstAnalogPages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void enterInLimitField_data();
    void enterInLimitField();
    void rangeRefusals_data();
    void rangeRefusals();
    void nameAndUnit_data();
    void nameAndUnit();
    void parameterWordClicks_data();
    void parameterWordClicks();
    void enterInMinimumWritesTheChannel();
    void readAndWriteWithPlaceNumbers();
    void demoValuesStand();
    void cleanupTestCase() { m_f.reset(); }

private:
    /// Page 6 freshly read, nothing logged, no boxes.
    void freshChannel1();
    std::unique_ptr<AnalogFixture> m_f;
};

void TstAnalogPages::initTestCase()
{
    m_f = std::make_unique<AnalogFixture>();
    QVERIFY(m_f->pages);
    // The channel names were read at connect.
    QTabWidget* book = m_f->ui().TabbedNotebook1;
    QCOMPARE(QStringList({book->tabText(6), book->tabText(7), book->tabText(8)}),
             QStringList({"TEMPERATUR", "DRUCK", "WEG"}));
}

void TstAnalogPages::freshChannel1()
{
    m_f->show(6);
    m_f->engine.clearLog();
    m_f->takeBoxes();
}

void TstAnalogPages::readAndWriteWithPlaceNumbers()
{
    // A controller of its own on fresh pages, so the place of every call can be kept.
    AnalogPage1 p1;
    AnalogPage2 p2;
    AnalogPage3 p3;
    AnalogwertePage live;
    QTabWidget book;
    RecordingHost host(*m_f->window);
    TAnalogPages pages(host, &p1, &p2, &p3, &live, &book);
    m_f->store("!ANA_PARA2", quint16(0x9313)); // as the controller came, before any click
    m_f->engine.clearLog();

    // Parameter word 0x9313: active and 4-20 mA (the other bits ignored), BinMin 51, and nothing
    // sent back.
    pages.ReadAnalog(2);
    QCOMPARE(withPlaces(m_f->engine.summaries(), host.places),
             QStringList({"5148 call @ANA_PARA2",       "5149 PUT 37651",
                          "5116 call READ_NAME2",       "5117 STRPUT \"Druck\"",
                          "5118 call READ_EINH2",       "5119 STRPUT \"bar\"",
                          "5120 call READ_PHYS_ZERO2",  "5121 STRPUT \"0\"",
                          "5122 call READ_PHYS_RANGE2", "5123 STRPUT \"250\"",
                          "5112 call @MIN2_2",          "5113 PUT 59",
                          "5108 call READ_STR_MIN2_2",  "5109 STRPUT \"10\"",
                          "5112 call @MIN1_2",          "5113 PUT 67",
                          "5108 call READ_STR_MIN1_2",  "5109 STRPUT \"20\"",
                          "5112 call @MAX2_2",          "5113 PUT 231",
                          "5108 call READ_STR_MAX2_2",  "5109 STRPUT \"220\"",
                          "5112 call @MAX1_2",          "5113 PUT 214",
                          "5108 call READ_STR_MAX1_2",  "5109 STRPUT \"200\""}));
    QVERIFY(p2.ui().ckbKanalAktiv_2->isChecked() && p2.ui().rbPos2_2->isChecked());
    QCOMPARE(pages.Scale(2).BinMin, 51);
    QCOMPARE(pages.Scale(2).PhysMax, 250.0);
    QCOMPARE(pages.RawLimits(2).Max2, 231);

    pages.ReadAnalog(1);
    const Ui::AnalogPage1& u = p1.ui();
    const std::pair<QLineEdit*, const char*> typed[] = {
        {u.edtMin_1, "-100"},   {u.edtMax_1, "100"}, {u.edtBezeichnung_1, "Temp"},
        {u.edtPhysEinh_1, "C"}, {u.edtMax2_1, "75"}, {u.edtMax1_1, "60"},
        {u.edtMin1_1, "-60"},   {u.edtMin2_1, "-80"}};
    for (const auto& [edit, text] : typed)
        edit->setText(text);
    m_f->engine.clearLog();
    host.places.clear();
    pages.WriteAnalog(1);
    const QStringList log = withPlaces(m_f->engine.summaries(), host.places);
    // clang-format off
    QCOMPARE(log.mid(0, 28), QStringList({
        "5315 " + strget("-100"), "5316 call WRITE_PHYS_ZERO1", "5310 " + strget("100"),
        "5311 call WRITE_PHYS_RANGE1", "5302 " + strget("Temp"), "5303 call WRITE_NAME1",
        "5304 " + strget("C"), "5305 call WRITE_EINH1",
        "5306 GET 223", "5307 call !MAX2_1", "5308 " + strget("75"), "5309 call WRITE_STR_MAX2_1",
        "5306 GET 204", "5307 call !MAX1_1", "5308 " + strget("60"), "5309 call WRITE_STR_MAX1_1",
        "5306 GET 51", "5307 call !MIN1_1", "5308 " + strget("-60"), "5309 call WRITE_STR_MIN1_1",
        "5306 GET 25", "5307 call !MIN2_1", "5308 " + strget("-80"), "5309 call WRITE_STR_MIN2_1",
        "5148 call @ANA_PARA1", "5149 PUT 6929", "5100 call READ_NAME1", "5101 STRPUT \"Temp\""}));
    // clang-format on
    QCOMPARE(log.size(), 24 + 26); // the write, then the whole read
    QCOMPARE(pages.RawLimits(1).Min2, 25);

    // Range texts from the controller that are no numbers: a box each, the texts stand, the
    // scaling keeps its values.
    const double min = pages.Scale(3).PhysMin, max = pages.Scale(3).PhysMax;
    m_f->store("WRITE_PHYS_ZERO3", "null");
    m_f->store("WRITE_PHYS_RANGE3", "5O");
    m_f->takeBoxes();
    pages.ReadAnalog(3);
    const QString invalid =
        QString::fromUtf8(": Die Zahl aus dem R73 ist keine gültige Floatzahl!");
    QCOMPARE(m_f->takeBoxes(),
             QStringList({"Physikalisches Minimum" + invalid, "Physikalisches Maximum" + invalid}));
    QCOMPARE(p3.ui().edtMin_3->text() + ' ' + p3.ui().edtMax_3->text(), QString("null 5O"));
    QCOMPARE(pages.Scale(3).PhysMin, min);
    QCOMPARE(pages.Scale(3).PhysMax, max);
    m_f->store("WRITE_PHYS_ZERO3", "0");
    m_f->store("WRITE_PHYS_RANGE3", "50");
}

void TstAnalogPages::enterInLimitField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("raw"); ///< sent and kept; −1: refused, the old value stays
    QTest::addColumn<QString>("box");
    // Channel 1 reads -50..150 on 0..255.
    QTest::newRow("inside") << "75" << 159 << "";
    QTest::newRow("top") << "150" << 255 << "";
    QTest::newRow("bottom") << "-50" << 0 << "";
    QTest::newRow("just above") << "150.001" << -1
                                << "Max2: Die Zahl liegt ausserhalb des Meßbereichs!";
    QTest::newRow("not a number") << "abc" << -1 << "Max2: Nur Zahlen erlaubt";
    QTest::newRow("character the wire cannot carry")
        << QString("10\u2003") << -1
        << "Max2: Das Zeichen \"\u2003\" (U+2003) kann nicht zum R73 gesendet werden!";
}

void TstAnalogPages::enterInLimitField()
{
    QFETCH(QString, text);
    QFETCH(int, raw);
    QFETCH(QString, box);
    freshChannel1();
    const qint32 before = m_f->pages->RawLimits(1).Max2;
    QLineEdit* edit = m_f->window->form().pgAnalog1->ui().edtMax2_1;
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
    if (raw < 0) {
        QCOMPARE(m_f->engine.summaries(), QStringList());
        QCOMPARE(m_f->takeBoxes(), QStringList{box});
        QCOMPARE(m_f->pages->RawLimits(1).Max2, before);
    } else {
        QCOMPARE(m_f->engine.summaries(), QStringList({QString("GET %1").arg(raw), "call !MAX2_1",
                                                       strget(text), "call WRITE_STR_MAX2_1"}));
        QCOMPARE(m_f->takeBoxes(), QStringList());
        QCOMPARE(m_f->pages->RawLimits(1).Max2, raw);
    }
}

void TstAnalogPages::enterInMinimumWritesTheChannel()
{
    freshChannel1();
    m_f->window->showDone({});
    Ui::AnalogPage1& u = m_f->window->form().pgAnalog1->ui();
    u.edtMin_1->setText("-40");
    u.edtMax2_1->setText("120");
    u.edtMax1_1->setText("abc"); // must not stop the write after the range went out
    u.edtMin1_1->setText("0");
    u.edtMin2_1->setText("-20");
    QTest::keyClick(u.edtMin_1, Qt::Key_Return);
    const QStringList log = m_f->engine.summaries();
    QCOMPARE(log.mid(0, 8),
             QStringList({strget("-40"), "call WRITE_PHYS_ZERO1", "call READ_PHYS_ZERO1",
                          "STRPUT \"-40\"", strget("-40"), "call WRITE_PHYS_ZERO1", strget("150"),
                          "call WRITE_PHYS_RANGE1"}));
    QVERIFY(!log.contains("call WRITE_STR_MAX1_1"));
    QCOMPARE(log.last(), QString("STRPUT \"100\"")); // the whole channel read back
    QCOMPARE(u.edtMax1_1->text(), QString("100"));
    QCOMPARE(m_f->takeBoxes(), QStringList{"Max1: Nur Zahlen erlaubt"});
    // A refused field is no success to report; a whole write is, by F5 too.
    QCOMPARE(m_f->window->doneText(), QString());
    m_f->key(Qt::Key_F5);
    QCOMPARE(m_f->takeBoxes(), QStringList());
    QCOMPARE(m_f->window->doneText(),
             QString("R73 1234: Kanal 1 (%1) gesendet und gelesen; der Controller hält es sofort")
                 .arg(u.edtBezeichnung_1->text().trimmed()));
}

void TstAnalogPages::rangeRefusals_data()
{
    QTest::addColumn<QString>("min");
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("trigger"); ///< F4, or Enter in "Minimum" or "Maximum"
    QTest::addColumn<QStringList>("boxes");
    const QString order = "Falscher Meßbereich: Das ";
    // clang-format off
    QTest::newRow("neither a number") << "abc" << "x" << "F4"
        << QStringList{"Minimum: Nur Zahlen erlaubt", "Maximum: Nur Zahlen erlaubt"};
    QTest::newRow("reversed, Enter in Minimum") << "10" << "5" << "Minimum"
        << QStringList{order + "Minimum darf nicht größer als das Maximum sein!"};
    QTest::newRow("reversed, Enter in Maximum") << "10" << "5" << "Maximum"
        << QStringList{order + "Maximum darf nicht kleiner als das Minimum sein!"};
    // clang-format on
}

void TstAnalogPages::rangeRefusals()
{
    QFETCH(QString, min);
    QFETCH(QString, max);
    QFETCH(QString, trigger);
    QFETCH(QStringList, boxes);
    freshChannel1();
    Ui::AnalogPage1& u = m_f->window->form().pgAnalog1->ui();
    u.edtMin_1->setText(min);
    u.edtMax_1->setText(max);
    if (trigger == "F4")
        m_f->key(Qt::Key_F4);
    else
        QTest::keyClick(trigger == "Minimum" ? u.edtMin_1 : u.edtMax_1, Qt::Key_Return);
    QCOMPARE(m_f->engine.summaries(), QStringList());
    QCOMPARE(m_f->takeBoxes(), boxes);
}

void TstAnalogPages::nameAndUnit_data()
{
    QTest::addColumn<bool>("unit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("caption"); ///< of the tab afterwards; empty: unchanged
    QTest::newRow("blank name refused")
        << false << "   " << QStringList() << "Bezeichnung: Bitte geben Sie die Bezeichnung ein!"
        << "";
    QTest::newRow("blanks kept, a to z in capitals")
        << false << " Größe " << QStringList({strget(" Größe "), "call WRITE_NAME1"}) << ""
        << " GRößE ";
    QTest::newRow("name the wire cannot carry")
        << false << "Ωmega" << QStringList()
        << "Bezeichnung: Das Zeichen \"Ω\" (U+03A9) kann nicht zum R73 gesendet werden!"
        << "";
    QTest::newRow("empty unit sent as a blank")
        << true << "" << QStringList({strget(" "), "call WRITE_EINH1"}) << ""
        << "";
}

void TstAnalogPages::nameAndUnit()
{
    QFETCH(bool, unit);
    QFETCH(QString, text);
    QFETCH(QStringList, log);
    QFETCH(QString, box);
    QFETCH(QString, caption);
    freshChannel1();
    const QString before = m_f->ui().TabbedNotebook1->tabText(6);
    Ui::AnalogPage1& u = m_f->window->form().pgAnalog1->ui();
    QLineEdit* edit = unit ? u.edtPhysEinh_1 : u.edtBezeichnung_1;
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(m_f->engine.summaries(), log);
    QCOMPARE(m_f->takeBoxes(), box.isEmpty() ? QStringList() : QStringList{box});
    QCOMPARE(m_f->ui().TabbedNotebook1->tabText(6), caption.isEmpty() ? before : caption);
    if (unit) QCOMPARE(edit->text(), QString(" "));
    // What goes on the wire is at most 255 bytes.
    edit->setText(QString(300, u'x'));
    QCOMPARE(edit->text().size(), 255);
}

void TstAnalogPages::parameterWordClicks_data()
{
    QTest::addColumn<QStringList>("clicks"); ///< on page "ANALOG2", 4-20 mA and active
    QTest::addColumn<QStringList>("sent");   ///< the beginning of the log
    QTest::addColumn<QString>("last");       ///< its end
    QTest::addColumn<int>("binMin");
    const QStringList active{"GET 2", "call !ANA_PARA2", "GET 3", "call !ANA_PARA2"};
    QTest::newRow("Kanal aktiv, off and on again")
        << QStringList{"ckbKanalAktiv_2", "ckbKanalAktiv_2"} << active << active.last() << 51;
    // The input level is sent, then the whole channel is written and read back.
    QTest::newRow("input level 0-10 V")
        << QStringList{"rbPos1_2"}
        << QStringList{"GET 1", "call !ANA_PARA2", strget("0"), "call WRITE_PHYS_ZERO2"}
        << "STRPUT \"200\"" << 0;
}

void TstAnalogPages::parameterWordClicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, sent);
    QFETCH(QString, last);
    QFETCH(int, binMin);
    m_f->show(7);
    m_f->engine.clearLog();
    for (const QString& name : clicks)
        m_f->window->form().pgAnalog2->findChild<QAbstractButton*>(name)->click();
    const QStringList log = m_f->engine.summaries();
    QCOMPARE(log.mid(0, sent.size()), sent);
    QCOMPARE(log.last(), last);
    QCOMPARE(m_f->pages->Scale(2).BinMin, binMin);
    m_f->window->form().pgAnalog2->ui().rbPos2_2->click(); // back to the controller's setting
}

void TstAnalogPages::demoValuesStand()
{
    m_f.reset();
    AnalogFixture f("[DemoMode]\r\nACTIVE=1\r\n");
    Ui::TForm1& ui = f.ui();
    QCOMPARE(QStringList({ui.TabbedNotebook1->tabText(6), ui.TabbedNotebook1->tabText(7),
                          ui.TabbedNotebook1->tabText(8)}),
             QStringList({"TEMPERATUR", "DRUCK", "GROESSE"})); // from the connect on
    f.show(7);
    // Were the box handlers to send, the demo link's echoes would stand here instead.
    QCOMPARE(QStringList({ui.pgAnalog1->ui().edtMin_1->text(), ui.pgAnalog2->ui().edtMax2_2->text(),
                          ui.pgAnalog2->ui().edtPhysEinh_2->text(),
                          ui.pgAnalog3->ui().edtBezeichnung_3->text()}),
             QStringList({"-100", "8670", "Bar", "Größe"}));
    QVERIFY(ui.pgAnalog1->ui().rbPos1_1->isChecked() && ui.pgAnalog2->ui().rbPos2_2->isChecked());
    QVERIFY(!ui.pgAnalog3->ui().ckbKanalAktiv_3->isChecked());
    QCOMPARE(f.pages->Scale(2).BinMin, 51);
    QVERIFY(!programState().paramLoading);

    f.key(Qt::Key_F6); // reads the channels back: no box about the demo link's echoes
    for (const MessageRequest& r : f.env.boxes) // only the empty history's questions
        QVERIFY2(r.buttons == MsgButtons::CancelIgnore, qPrintable(r.text));
    QVERIFY(f.window->findChild<TFileForm*>()->lines().contains("\tMaximum : 9000"));

    // Live, channel 1 sweeps past Max2 75 and Min1 -80 (raw 223, 26); the labels follow.
    f.show(9);
    const Ui::AnalogwertePage& live = ui.pgAnalogwerte->ui();
    QCOMPARE(live.ProgressBar7->value(), 223);
    auto red = [](QLabel* l) { return l->palette().color(QPalette::Window) == QColor(255, 0, 0); };
    QList<int> raws;
    for (int tick = 0; tick < 40; ++tick, f.window->Timer4().fire()) {
        raws << live.ProgressBar6->value();
        QCOMPARE(live.edtAktWert_1->text(), formatPhys(f.pages->Scale(1).BinToPhys(raws.last())));
        QCOMPARE(red(live.lbMax2_1), raws.last() > 223);
        QCOMPARE(red(live.lbMin1_1), raws.last() < 26);
    }
    QVERIFY(std::ranges::min(raws) < 26 && std::ranges::max(raws) > 223 && raws[0] != raws[1]);
}

QTEST_MAIN(TstAnalogPages)
#include "tst_analog_pages.moc"
