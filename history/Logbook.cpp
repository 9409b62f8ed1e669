#include "Logbook.h"

#include "LogFile.h"
#include "MessageFacade.h"
#include "ProgramState.h"
#include "TextHook.h"
#include "WindowReader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTreeWidget>

namespace r73 {

namespace {

const QString Tab = QStringLiteral("\t");
const QString Blank = QStringLiteral(" "); // a blank line holds one space
const QString Colon = QStringLiteral(" : ");

QString valueLine(const WindowReader& w, const Pair& p)
{
    return Tab + w.text(p.label) + Colon + w.text(p.field);
}

bool askToGoOn(QWidget* window, const char* german)
{
    return showMessage({window, tr73(0, QString::fromUtf8(german)), QStringLiteral("Information"),
                        MsgIcon::Information, MsgButtons::CancelIgnore}) != MsgAnswer::Cancel;
}

void channelLines(const WindowReader& w, int index, QStringList& out)
{
    const Channel& c = ChannelControls[index];
    out << w.pageCaption(6 + index);
    for (const Pair& p : c.values)
        out << valueLine(w, p);
    // These two endings are German in every language.
    out << Tab + w.text(c.active) +
               (w.checked(c.active) ? QStringLiteral(" : aktiv") : QStringLiteral(" : inaktiv"));
    out << Tab + w.text(c.level) + Colon +
               w.text(w.checked(c.firstLevel) ? c.firstLevel : c.secondLevel);
}

void historyLines(const WindowReader& w, const QTreeWidget* list, bool* confirmed, QStringList& out)
{
    QWidget* window = list->window();
    if (list->topLevelItemCount() == 0) {
        if (!askToGoOn(window, "LOGBUCH nicht eingeschaltet"))
            *confirmed = false;
        else if (!HistoryReading && !askToGoOn(window, "LOGBUCH liest nicht"))
            *confirmed = false;
    }
    out << Blank << w.pageCaption(5);
    // Type and subtype (columns 1 and 2) are the controller's business.
    const QTreeWidgetItem* header = list->headerItem();
    QString line = Tab;
    for (int c = 0; c < list->columnCount(); ++c)
        if (c != 1 && c != 2) line += header->text(c) + Tab;
    out << line;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        line = Tab + item->text(0) + Tab;
        for (int c = 3; c <= 6; ++c)
            line += item->text(c) + Tab;
        out << line;
    }
}

} // namespace

QString IoStateLine(const QLabel* lamp)
{
    const bool off =
        lamp->palette().color(QPalette::Window) == QApplication::palette().color(QPalette::Window);
    return Tab + lamp->text() +
           tr73(0, off ? QStringLiteral(" : inaktiv") : QStringLiteral(" : aktiv"));
}

QStringList ComposeLogbuch(QWidget* window, const std::function<void(int)>& readAnalog,
                           bool* confirmed)
{
    *confirmed = true;
    const WindowReader w(window);
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    QStringList out;
    // 1..5: identification, date and time, status word, last error.
    out << w.text("Label29") + Tab + w.text("Label5") + Colon + w.text("Edit4") + Tab +
               w.text("Label4") + Colon + w.text("Edit3");
    out << tr73(0, QStringLiteral("Datum : ")) + locale.toString(now.date(), shortDateFormat()) +
               Tab + locale.toString(now.time(), longTimeFormat());
    out << valueLine(w, {"Label3", "Edit1"});
    out << Tab + w.text("Label36") + Colon + w.text("Label37") + QStringLiteral("  ") +
               w.text("Label38");
    out << Blank;

    // 6..10: the parameter pages and the service page.
    out << w.pageCaption(0) << valueLine(w, {"Label1", "Edit10"})
        << valueLine(w, {"Label2", "Edit11"});
    if (w.shown("Label65")) out << valueLine(w, {"Label65", "Edit16"});
    out << valueLine(w, {"Label20", "Edit20"}) << valueLine(w, {"Label21", "Edit21"}) << Blank;
    out << w.pageCaption(1);
    for (const Pair& p :
         {Pair{"Label12", "Edit12"}, Pair{"Label14", "Edit14"}, Pair{"Label15", "Edit15"},
          Pair{"Label22", "Edit22"}, Pair{"Label24", "Edit24"}, Pair{"Label25", "Edit25"}})
        out << valueLine(w, p);
    out << Blank << w.pageCaption(2) << valueLine(w, {"Label30", "Edit30"})
        << valueLine(w, {"Label31", "Edit31"}) << Blank;
    out << w.pageCaption(3) << valueLine(w, {"Label40", "Edit40"})
        << valueLine(w, {"Label41", "Edit41"}) << Blank;
    out << w.pageCaption(4);
    for (const Pair& p :
         {Pair{"Label50", "Edit50"}, Pair{"Label51", "Edit51"}, Pair{"Label52", "Edit52"},
          Pair{"Label53", "Edit53"}, Pair{"Label54", "Edit54"}, Pair{"Label55", "Edit55"},
          Pair{"Label56", "Edit56"}, Pair{"Label57", "Edit57"}})
        if (w.shown(p.label)) out << valueLine(w, p);
    out << Blank;

    // 11, 12: the analog channels, read back from the controller first.
    if (BiosVersion >= 300) {
        for (int channel = 1; channel <= 3; ++channel)
            if (readAnalog) readAnalog(channel);
        for (int i = 0; i < 3; ++i) {
            channelLines(w, i, out);
            if (i < 2) out << Blank;
        }
    }
    out << Blank;

    // 13, 14: inputs, outputs and the status area.
    for (const char* lamp : {"Label100", "Label101", "Label102", "Label103", "Label104", "Label105",
                             "Label106", "Label107", "Label110", "Label111", "Label112", "Label113",
                             "Label114", "Label115", "Label116", "Label117"})
        if (const auto* label = w.find<QLabel>(lamp)) out << IoStateLine(label);
    out << Blank;
    for (const char* status :
         {"Label33", "Label6", "Label34", "Label35", "Label63", "Label59", "Label62"})
        if (w.shown(status)) out << Tab + w.text(status);

    // 15: the history list, where the controller has one.
    const auto* list = w.find<QTreeWidget>("ListView1");
    if (list && !list->isHidden()) historyLines(w, list, confirmed, out);
    return out;
}

} // namespace r73
