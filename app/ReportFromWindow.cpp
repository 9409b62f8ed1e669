#include "ReportFromWindow.h"

#include "Form_cy.h"
#include "HistoryPage.h"
#include "LogbuchPage.h"
#include "ProgramState.h"
#include "TextHook.h"
#include "Translate.h"
#include "WindowReader.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QProgressBar>
#include <QTreeWidget>

namespace r73 {

namespace {

QString tr(const char* german)
{
    return tr73own(QString::fromUtf8(german));
}

/// A caption of the page in the report's own wording where the table's twin is misspelt.
QString caption(const WindowReader& w, const char* label)
{
    static const char* const misspelt[] = {"Frequenz  [0,1 Hz]", "Frequenz", "F_Max  [0,1 Hz]",
                                           "F_Schleich [0,1 Hz]"};
    const QString shown = w.text(label);
    for (const char* german : misspelt)
        if (shown == tr73(0, QString::fromUtf8(german))) return tr(german);
    return shown;
}

/// A caption / value table of the pairs whose label the window shows.
report::Table pairs(const WindowReader& w, const QString& title, std::initializer_list<Pair> list)
{
    report::Table t{title, {}, {}};
    for (const Pair& p : list)
        if (w.shown(p.label)) t.rows.append({caption(w, p.label), w.text(p.field)});
    return t;
}

QString setTitle(const WindowReader& w, const char* group)
{
    return tr("Parametersatz") + u' ' + w.text(group);
}

bool lit(const QLabel* lamp)
{
    return lamp->palette().color(QPalette::Window) !=
           QApplication::palette().color(QPalette::Window);
}

double fraction(const QProgressBar* bar)
{
    const int span = bar->maximum() - bar->minimum();
    return span > 0 ? double(bar->value() - bar->minimum()) / span : 0.0;
}

report::Table channelsTable(const WindowReader& w)
{
    const Channel& first = ChannelControls[0];
    report::Table t{tr("Analogkanäle"), {QString()}, {}};
    for (int c = 0; c < 3; ++c)
        t.header << w.text(c == 0   ? "edtBezeichnung_1"
                           : c == 1 ? "edtBezeichnung_2"
                                    : "edtBezeichnung_3");
    for (int item = 0; item < 7; ++item) {
        QStringList row{w.text(first.values[item].label)};
        for (const Channel& c : ChannelControls)
            row << w.text(c.values[item].field);
        t.rows << row;
    }
    QStringList active{w.text(first.active)}, level{w.text(first.level)},
        live{tr("Aktueller Wert")};
    static const char* const values[] = {"edtAktWert_1", "edtAktWert_2", "edtAktWert_3"};
    static const char* const units[] = {"lbEinheit_1", "lbEinheit_2", "lbEinheit_3"};
    for (int c = 0; c < 3; ++c) {
        const Channel& ch = ChannelControls[c];
        active << (w.checked(ch.active) ? tr("ja") : tr("nein"));
        level << w.text(w.checked(ch.firstLevel) ? ch.firstLevel : ch.secondLevel);
        live << (w.text(values[c]) + u' ' + w.text(units[c])).trimmed();
    }
    t.rows << active << level << live;
    return t;
}

} // namespace

report::Table historyTable(const QTreeWidget* list)
{
    report::Table t;
    const QTreeWidgetItem* header = list->headerItem();
    for (int c = 0; c < list->columnCount(); ++c)
        if (c != 1 && c != 2) t.header << header->text(c);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < list->columnCount(); ++c)
            if (c != 1 && c != 2) row << list->topLevelItem(i)->text(c);
        t.rows << row;
    }
    return t;
}

report::ServiceReport reportFromWindow(TForm1& window)
{
    const WindowReader w(&window);
    Ui::TForm1& ui = window.form();
    report::ServiceReport r;
    r.serialNumber = ui.Edit4->text();
    r.biosVersion = ui.Edit3->text();
    r.programVersion = ui.Label29->text().section(u' ', -1); // "SW-Version: 3.14"
    r.when = QDateTime::currentDateTime();
    r.locale = LanguageLocale();

    r.tables << pairs(w, setTitle(w, "GroupBox2"),
                      {{"Label1", "Edit10"},
                       {"Label2", "Edit11"},
                       {"Label65", "Edit16"},
                       {"Label12", "Edit12"},
                       {"Label14", "Edit14"},
                       {"Label15", "Edit15"}});
    r.tables << pairs(w, setTitle(w, "GroupBox1"),
                      {{"Label20", "Edit20"},
                       {"Label21", "Edit21"},
                       {"Label22", "Edit22"},
                       {"Label24", "Edit24"},
                       {"Label25", "Edit25"}});
    r.tables << pairs(w, tr("Parametersatz") + u' ' + w.pageCaption(2),
                      {{"Label30", "Edit30"}, {"Label31", "Edit31"}});
    r.tables << pairs(w, tr("Parametersatz") + u' ' + w.pageCaption(3),
                      {{"Label40", "Edit40"}, {"Label41", "Edit41"}});
    if (w.shown("gbHydr")) {
        report::Table hydr =
            pairs(w, w.text("gbHydr"), {{"Label7", "edHydrPulse"}, {"Label8", "edHydrDauer"}});
        hydr.rows.prepend({w.text("cbHydr"), w.checked("cbHydr") ? tr("ein") : tr("aus")});
        r.tables << hydr;
    }
    r.tables << pairs(w, w.pageCaption(4),
                      {{"Label50", "Edit50"},
                       {"Label51", "Edit51"},
                       {"Label52", "Edit52"},
                       {"Label53", "Edit53"},
                       {"Label54", "Edit54"},
                       {"Label55", "Edit55"},
                       {"Label56", "Edit56"},
                       {"Label57", "Edit57"}});
    r.gaugesAfter = int(r.tables.size()) - 1;
    const auto* vibration = w.find<QProgressBar>("ProgressBar1");
    const auto* frequency = w.find<QProgressBar>("ProgressBar2");
    if (vibration)
        r.gauges << report::Gauge{w.text("Label66"), w.text("Edit57"), fraction(vibration)};
    if (frequency)
        r.gauges << report::Gauge{caption(w, "Label67"), w.text("Edit53"), fraction(frequency)};
    if (BiosVersion >= 300) r.tables << channelsTable(w);

    report::Table status{tr("Status und letzter Test"), {}, {}};
    // The words the page shows in the table's spelling, by the report's own wording.
    const std::optional<quint16> out = window.OutputWord();
    const QString state = out ? stateName(*out) : w.text("Label35");
    const QString result = out ? finishedName(*out) + u' ' + resultName(*out, window.InputWord())
                               : w.text("Label59") + u' ' + w.text("Label62");
    status.rows << QStringList{w.text("Label33"), w.text("Label6")}
                << QStringList{w.text("Label34"), state}
                << QStringList{w.text("Label63"), result.trimmed()}
                << QStringList{w.text("Label3"), w.text("Edit1")}
                << QStringList{w.text("Label36"),
                               w.text("Label37") + QStringLiteral("  ") + w.text("Label38")};
    r.tables << status;
    for (int i = 0; i < 8; ++i) {
        if (const auto* in = w.find<QLabel>(qPrintable(QStringLiteral("Label10%1").arg(i))))
            r.inputs << report::Lamp{in->text(), lit(in)};
        if (const auto* out = w.find<QLabel>(qPrintable(QStringLiteral("Label11%1").arg(i))))
            r.outputs << report::Lamp{out->text(), lit(out)};
    }
    const QTreeWidget* list = ui.pgLogbuch->ui.ListView1;
    if (!list->isHidden() && list->topLevelItemCount() > 0) {
        r.history = historyTable(list);
        r.history.title =
            tr("Historie des Controllers") + QStringLiteral(" (") + w.pageCaption(5) + u')';
    }
    return r;
}

QList<QPair<QString, double>> countersFromWindow(TForm1& window)
{
    const WindowReader w(&window);
    static const char* const fields[] = {"Edit50", "Edit51", "Edit52",
                                         "Edit53", "Edit56", "Edit57"};
    QList<QPair<QString, double>> out;
    const QList<archive::CounterDef>& defs = archive::counterDefs();
    for (int i = 0; i < 6; ++i) {
        // As the page shows them (by the rule of the service values), the vibration with the
        // locale's separator.
        bool ok = false;
        const double v = QLocale().toDouble(w.text(fields[i]), &ok);
        if (ok && w.shown(fields[i])) out.append({QString::fromLatin1(defs[i].key), v});
    }
    const QTreeWidget* list = window.form().pgLogbuch->ui.ListView1;
    if (list->topLevelItemCount() > 0)
        out.append({QString::fromLatin1(defs[6].key), list->topLevelItem(0)->text(0).toDouble()});
    return out;
}

} // namespace r73
