// The rules of the parameter pages beyond the plain send: the clamp-without-tool limit, the
// hydraulic switch, the service gauges, demo mode, and the fields' tab order and length limit.

#include "HistoryPage.h"
#include "ParamsFixture.h"
#include "ProgramState.h"
#include "TimerWrapper.h"

#include <QClipboard>
#include <QGroupBox>

using namespace r73;
using r73::test::ParamsFixture;

class TstParamRules : public QObject
{
    Q_OBJECT
private slots:
    void clampWithoutTool_data();
    void clampWithoutTool();
    void hydraulicSwitchSends();
    void readOfAChangedSwitchSendsItBack();
    void serviceGauges_data();
    void serviceGauges();
    void demoValuesAfterPageChange();
    void tabWalksThePage_data();
    void tabWalksThePage();
    void fieldsHoldFiveCharactersButShowLongerValues();
    void valueTheWordCannotCarryIsRefused_data();
    void valueTheWordCannotCarryIsRefused();
    void flatSendSelectsItsSetWhenThePageWasNotRead();
    void keyboardPageChangeReadsThePage();
};

void TstParamRules::clampWithoutTool_data()
{
    // A text starting with '*' is typed (modified), any other is written by the program.
    QTest::addColumn<int>("bios");
    QTest::addColumn<QString>("longText");
    QTest::addColumn<QString>("withoutTool");
    QTest::addColumn<QString>("releaseLong");
    QTest::addColumn<QString>("enterIn");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("box"); // "warning", "error" or ""
    QTest::addColumn<QString>("shown16");
    QTest::addColumn<bool>("modified16");
    QTest::newRow("long limit raises the limit, long not sent")
        << 210 << "220"
        << "200"
        << "-20"
        << "Edit11"
        << QStringList{"call SPANN", "GET 260", "call M_OHNE_TOOL", "call F_MIN2@", "PUT 260"}
        << "warning"
        << "260" << false;
    QTest::newRow("equal limits raised, then long sent")
        << 310 << "*300"
        << "300"
        << "50"
        << "Edit11"
        << QStringList{"call SPANN", "GET 400", "call M_OHNE_TOOL", "call F_MIN2@",   "PUT 400",
                       "call SPANN", "GET 300", "call LANG",        "call M_ZGROSS@", "PUT 300"}
        << "warning"
        << "400" << false;
    QTest::newRow("rule kept: long sent alone")
        << 210 << "*300"
        << "301"
        << "50"
        << "Edit11"
        << QStringList{"call SPANN", "GET 300", "call LANG", "call M_ZGROSS@", "PUT 300"} << ""
        << "301" << false;
    QTest::newRow("2.09 has no rule")
        << 209 << "*300"
        << "200"
        << "-20"
        << "Edit11"
        << QStringList{"call SPANN", "GET 300", "call LANG", "call M_ZGROSS@", "PUT 300"} << ""
        << "200" << false;
    QTest::newRow("limit not above long: controller's value again")
        << 210 << "220"
        << "*220"
        << "-20"
        << "Edit16" << QStringList{"call SPANN", "call F_MIN2@", "PUT 40"} << "error"
        << "40" << true;
    QTest::newRow("limit above long is sent")
        << 210 << "220"
        << "*221"
        << "-20"
        << "Edit16"
        << QStringList{"call SPANN", "GET 221", "call M_OHNE_TOOL", "call F_MIN2@", "PUT 221"} << ""
        << "221" << false;
    QTest::newRow("raise beyond the word: said, long sent alone")
        << 210 << "*65000"
        << "200"
        << "-600"
        << "Edit11"
        << QStringList{"call SPANN", "GET 65000", "call LANG", "call M_ZGROSS@", "PUT 65000"}
        << "unfit"
        << "200" << false;
    QTest::newRow("no raise possible with release 0: said once")
        << 210 << "*300"
        << "300"
        << "0"
        << "Edit11"
        << QStringList{"call SPANN", "GET 300", "call LANG", "call M_ZGROSS@", "PUT 300"} << "once"
        << "300" << false;
    QTest::newRow("release value not a number") << 210 << "*220"
                                                << "200"
                                                << "x"
                                                << "Edit11" << QStringList() << "LANG"
                                                << "200" << false;
}

void TstParamRules::clampWithoutTool()
{
    QFETCH(int, bios);
    QFETCH(QString, longText);
    QFETCH(QString, withoutTool);
    QFETCH(QString, releaseLong);
    QFETCH(QString, enterIn);
    QFETCH(QStringList, expected);
    QFETCH(QString, box);
    QFETCH(QString, shown16);
    QFETCH(bool, modified16);
    ParamsFixture f{quint16(bios)};
    f.connect();
    f.showPage(0);
    QCOMPARE(!f.edit("Edit16")->isHidden(), bios >= 210);
    const std::pair<const char*, QString> texts[] = {
        {"Edit11", longText}, {"Edit16", withoutTool}, {"Edit21", releaseLong}};
    for (const auto& [name, text] : texts) {
        if (text.startsWith('*'))
            f.type(f.edit(name), text.mid(1));
        else
            f.edit(name)->setText(text);
    }
    f.enter(f.edit(enterIn));
    QCOMPARE(f.engine.summaries(), expected);
    QCOMPARE(f.edit("Edit16")->text(), shown16);
    QCOMPARE(f.edit("Edit16")->isModified(), modified16);
    QCOMPARE(programState().clampChanged,
             expected.contains("call M_OHNE_TOOL") || expected.contains("call LANG"));
    if (box.isEmpty()) {
        QVERIFY(f.env.boxes.isEmpty());
    } else {
        QCOMPARE(f.env.boxes.size(), 1);
        const MessageRequest& b = f.env.boxes.first();
        if (box == "warning") {
            QCOMPARE(b.icon, MsgIcon::Warning);
            QCOMPARE(b.text, QString::fromUtf8("Spannen ohne Werkzeug wurde verändert"));
        } else if (box == "unfit" || box == "once") {
            QCOMPARE(b.icon, MsgIcon::Warning);
            QVERIFY2(b.text.contains(box == "unfit" ? "66200" : "solange"), qPrintable(b.text));
            if (box == "once") {
                f.enter(f.edit(enterIn)); // the same again: not said and not sent twice
                QCOMPARE(f.env.boxes.size(), 1);
                QCOMPARE(f.engine.summaries(), expected);
            }
        } else if (box == "error") {
            QCOMPARE(b.icon, MsgIcon::Error);
            QCOMPARE(b.text, QString::fromUtf8("Spannen ohne Werkzeug muß größer sein als Lang"));
            QCOMPARE(f.ui().pgSpannen->ui().Panel11->text(), QString());
        } else {
            QCOMPARE(b.caption, box);
            QCOMPARE(b.text, QString("Nur Zahlen erlaubt"));
        }
        QCOMPARE(b.buttons, MsgButtons::Ok);
    }
}

void TstParamRules::hydraulicSwitchSends()
{
    ParamsFixture f(310);
    f.connect();
    f.showPage(0);
    QCheckBox* box = f.ui().pgSpannen->ui().cbHydr;
    QVERIFY(!box->isChecked());
    QVERIFY(!f.engine.summaries().contains("call !EN_HYDR"));
    box->click();
    QCOMPARE(f.engine.summaries(), (QStringList{"GET 65535", "call !EN_HYDR"}));
    QVERIFY(programState().clampChanged);
    f.engine.clearLog();
    box->click();
    QCOMPARE(f.engine.summaries(), (QStringList{"GET 0", "call !EN_HYDR"}));
}

void TstParamRules::readOfAChangedSwitchSendsItBack()
{
    ParamsFixture f(310);
    f.connect();
    f.showPage(0);
    f.ui().pgSpannen->ui().cbHydr->click(); // the controller now holds "on"
    f.typeAndEnter("edHydrPulse", "40000");
    f.ui().pgSpannen->ui().cbHydr->blockSignals(true);
    f.ui().pgSpannen->ui().cbHydr->setChecked(false);
    f.ui().pgSpannen->ui().cbHydr->blockSignals(false);
    programState().clampChanged = false;
    f.showPage(1); // reads the release set and the hydraulics first
    QVERIFY(f.ui().pgSpannen->ui().cbHydr->isChecked());
    QVERIFY(programState().clampChanged);
    // Read as a word: unsigned, unlike the read-back of a send.
    QCOMPARE(f.edit("edHydrPulse")->text(), QString("40000"));
    f.engine.clearLog();
    f.window->TabbedNotebook1Click();
    QVERIFY(!f.engine.summaries().contains("call !EN_HYDR"));
}

void TstParamRules::serviceGauges_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("gauge");
    QTest::newRow("0") << 0 << "0" << 0;
    QTest::newRow("5") << 5 << "5" << 17;
    QTest::newRow("1000") << 1000 << "1000" << 75;
    QTest::newRow("4000.0 Hz, unsigned") << 40000 << "40000" << 100;
    QTest::newRow("65535 unsigned, gauge at top") << 65535 << "65535" << 100;
}

void TstParamRules::serviceGauges()
{
    QFETCH(int, frequency);
    QFETCH(QString, shown);
    QFETCH(int, gauge);
    ParamsFixture f(310);
    f.connect();
    f.ui().pgService->ui().ProgressBar1->setValue(50);
    TParamPages::ServiceValues v;
    v.frequency = quint16(frequency);
    v.releaseDeviation = 0xFFFE;
    v.duration = 40000;
    f.window->controllerModel().serviceRead(v); // as the service read tells it
    f.pages().ShowService(v);
    const Ui::ServicePage& s = f.ui().pgService->ui();
    QCOMPARE(s.Edit53->text(), shown);
    QCOMPARE(s.ProgressBar2->value(), gauge);
    QCOMPARE(s.Edit52->text(), QString("-2")); // the deviation alone is signed
    QCOMPARE(s.Edit56->text(), QString("40000"));
    QCOMPARE(s.Edit57->text(), QString("2.50"));
    // The logbook states what the page shows.
    bool confirmed = true;
    const QStringList log = f.window->findChild<HistoryPage*>()->logbookLines(&confirmed);
    QVERIFY(log.contains(QString("\t%1 : %2").arg(s.Label53->text(), shown)));
    QVERIFY(log.contains(QString("\t%1 : 40000").arg(s.Label56->text())));
}

void TstParamRules::demoValuesAfterPageChange()
{
    ParamsFixture f(310, "[DemoMode]\r\nACTIVE=1\r\n");
    f.connect();
    f.edit("edtBezeichnung_1")->setText("Temperatur");
    f.edit("edtPhysEinh_1")->setText("Grad C");
    f.key(Qt::Key_F3);
    const std::pair<const char*, const char*> demo[] = {
        {"Edit10", "18"},   {"Edit11", "220"}, {"Edit16", "260"},  {"Edit20", "20"},
        {"Edit21", "-20"},  {"Edit12", "0"},   {"Edit14", "180"},  {"Edit15", "5000"},
        {"Edit22", "0"},    {"Edit24", "200"}, {"Edit25", "5000"}, {"Edit30", "110"},
        {"Edit31", "4000"}, {"Edit40", "100"}, {"Edit41", "4000"}, {"Edit50", "0"},
        {"Edit53", "0"},    {"Edit55", "0"},   {"Edit56", "10"},   {"Edit57", "0"}};
    for (const auto& [name, value] : demo)
        QCOMPARE(f.edit(name)->text(), QString(value));
    QCOMPARE(f.window->findChild<QGroupBox*>("gbKanal_1")->title(), QString("Temperatur"));
    QCOMPARE(f.window->findChild<QLabel*>("lbEinheit_1")->text(), QString("Grad C"));
    // The link echoes a send, so the field shows the sent value again.
    f.typeAndEnter("Edit12", "30");
    QCOMPARE(f.edit("Edit12")->text(), QString("30"));
    QVERIFY(f.engine.summaries().isEmpty());
}

void TstParamRules::tabWalksThePage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("SPANNEN") << 0 << QStringList{"Edit10", "Edit11", "Edit16",      "Edit20",
                                                 "Edit21", "cbHydr", "edHydrPulse", "edHydrDauer"};
    QTest::newRow("ZEITEN") << 1 << QStringList{"Edit12", "Edit14", "Edit15",
                                                "Edit22", "Edit24", "Edit25"};
    QTest::newRow("PLANANLAGE") << 2 << QStringList{"Edit30", "Edit31"};
    QTest::newRow("SCHWINGUNG") << 3 << QStringList{"Edit40", "Edit41"};
}

void TstParamRules::tabWalksThePage()
{
    QFETCH(int, page);
    QFETCH(QStringList, order);
    ParamsFixture f(310);
    f.connect();
    f.showPage(page);
    QCOMPARE(QApplication::focusWidget()->objectName(), order.first());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
}

void TstParamRules::fieldsHoldFiveCharactersButShowLongerValues()
{
    ParamsFixture f(310);
    f.connect();
    f.showPage(0);
    QLineEdit* e = f.edit("Edit20");
    f.type(e, "1234567");
    QCOMPARE(e->text(), QString("12345"));
    // A paste is cut like typing, not refused.
    QApplication::clipboard()->setText("9876543");
    e->selectAll();
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e->text(), QString("98765"));
    f.typeAndEnter("Edit20", "40000");
    QCOMPARE(e->text(), QString("-25536"));
    // The hydraulic fields have no limit.
    f.type(f.edit("edHydrPulse"), "1234567");
    QCOMPARE(f.edit("edHydrPulse")->text(), QString("1234567"));
}

void TstParamRules::valueTheWordCannotCarryIsRefused_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal"); // the box's caption; empty: the value goes out
    QTest::addColumn<QString>("sent");
    const QString words = "Der Wert passt nicht in das Feld. Erlaubt sind -32768 bis 65535.";
    QTest::newRow("clamp 66000") << 0 << "Edit10"
                                 << "66000"
                                 << "KURZ" << words;
    QTest::newRow("long 99999") << 0 << "Edit11"
                                << "99999"
                                << "LANG" << words;
    QTest::newRow("hydraulic 70000") << 0 << "edHydrPulse"
                                     << "70000"
                                     << "Pulse Hydraulik" << words;
    QTest::newRow("hydraulic -32769") << 0 << "edHydrDauer"
                                      << "-32769"
                                      << "Dauer Hydraulik" << words;
    const QString mmPerS = "Der Wert passt nicht in das Feld. Erlaubt sind 0.00 bis 3276.75.";
    QTest::newRow("vibration -1") << 3 << "Edit40"
                                  << "-1"
                                  << "SCHWELLE" << mmPerS;
    QTest::newRow("vibration 3277") << 3 << "Edit40"
                                    << "3277"
                                    << "SCHWELLE" << mmPerS;
    QTest::newRow("clamp 65535 fits") << 0 << "Edit10"
                                      << "65535"
                                      << ""
                                      << "GET 65535";
    QTest::newRow("hydraulic -32768 fits") << 0 << "edHydrDauer"
                                           << "-32768"
                                           << ""
                                           << "GET 32768";
    QTest::newRow("vibration 3276 fits") << 3 << "Edit40"
                                         << "3276"
                                         << ""
                                         << "GET 65520";
    QTest::newRow("stop frequency held, not refused") << 1 << "Edit14"
                                                      << "99999"
                                                      << ""
                                                      << "GET 1000";
}

void TstParamRules::valueTheWordCannotCarryIsRefused()
{
    QFETCH(int, page);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(QString, sent);
    ParamsFixture f(310);
    f.connect();
    f.showPage(page);
    f.typeAndEnter(field, typed);
    if (refusal.isEmpty()) {
        QVERIFY(f.env.boxes.isEmpty());
        QVERIFY2(f.engine.summaries().contains(sent), qPrintable(f.engine.summaries().join(", ")));
        return;
    }
    QCOMPARE(f.env.boxes.size(), 1);
    QCOMPARE(f.env.boxes[0].caption, refusal);
    QCOMPARE(f.env.boxes[0].text, sent);
    QVERIFY(f.engine.summaries().isEmpty()); // nothing sent
    QCOMPARE(f.edit(field)->text(), typed);
    QVERIFY(f.edit(field)->isModified());
}

void TstParamRules::flatSendSelectsItsSetWhenThePageWasNotRead()
{
    ParamsFixture f(310);
    f.connect();
    f.showPage(0); // the release set is selected last
    const sim::ParamSet release = f.engine.machine().workingSet(sim::ParamSetId::Loes);
    // Enter in a field of a page that was not read: the set must be selected first.
    f.typeAndEnter("Edit30", "77");
    QCOMPARE(f.engine.summaries(),
             (QStringList{"call PLAN", "GET 77", "call F_PLAN", "call F_MIN1@", "PUT 77"}));
    QVERIFY(f.engine.machine().workingSet(sim::ParamSetId::Loes) == release);
    // Selected now: the next send goes straight to the value.
    f.engine.clearLog();
    f.typeAndEnter("Edit31", "900");
    QCOMPARE(f.engine.summaries().first(), QString("GET 900"));
}

void TstParamRules::keyboardPageChangeReadsThePage()
{
    ParamsFixture f(310);
    f.connect();
    f.showPage(0);
    QTest::keyClick(f.edit("Edit10"), Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.ui().TabbedNotebook1->currentIndex(), 2);
    QVERIFY(f.engine.summaries().contains("call LOES"));
    QCOMPARE(f.engine.summaries().mid(f.engine.summaries().lastIndexOf("call PLAN"), 2),
             (QStringList{"call PLAN", "call F_MIN1@"}));
}

QTEST_MAIN(TstParamRules)
#include "tst_param_rules.moc"
