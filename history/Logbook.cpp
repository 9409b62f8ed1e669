#include "Logbook.h"

#include "LogFile.h"
#include "MessageFacade.h"
#include "ProgramState.h"
#include "TextHook.h"

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

/// Value lines of one page: label and field.
struct Pair
{
    const char* label;
    const char* field;
};

/// One channel's controls; the unit and the six limits in the logbook's order.
struct Channel
{
    Pair values[7];
    const char* active;
    const char* level;
    const char* firstLevel;
    const char* secondLevel;
};

constexpr Channel Channels[3] = {
    {{{"Label74", "edtPhysEinh_1"},
      {"Label77", "edtMax_1"},
      {"Label78", "edtMin_1"},
      {"Label70", "edtMax2_1"},
      {"Label69", "edtMax1_1"},
      {"Label75", "edtMin1_1"},
      {"Label68", "edtMin2_1"}},
     "ckbKanalAktiv_1",
     "GroupBox21",
     "rbPos1_1",
     "rbPos2_1"},
    {{{"Label84", "edtPhysEinh_2"},
      {"Label79", "edtMax_2"},
      {"Label76", "edtMin_2"},
      {"Label83", "edtMax2_2"},
      {"Label82", "edtMax1_2"},
      {"Label81", "edtMin1_2"},
      {"Label80", "edtMin2_2"}},
     "ckbKanalAktiv_2",
     "GroupBox23",
     "rbPos1_2",
     "rbPos2_2"},
    {{{"Label92", "edtPhysEinh_3"},
      {"Label87", "edtMax_3"},
      {"Label86", "edtMin_3"},
      {"Label91", "edtMax2_3"},
      {"Label90", "edtMax1_3"},
      {"Label89", "edtMin1_3"},
      {"Label88", "edtMin2_3"}},
     "ckbKanalAktiv_3",
     "GroupBox25",
     "rbPos1_3",
     "rbPos2_3"},
};

/// Reads the main window's controls by their form names. The language dialog and the version
/// window are children of the main window and reuse some names, so only controls of the main
/// window itself count.
class WindowReader
{
public:
    explicit WindowReader(QWidget* window) : m_window(window) {}

    template <class T> T* find(const char* name) const
    {
        for (T* w : m_window->findChildren<T*>(QString::fromLatin1(name)))
            if (w->window() == m_window) return w;
        return nullptr;
    }

    QString text(const char* name) const
    {
        const QWidget* w = find<QWidget>(name);
        if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
        if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
        if (auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
        return {};
    }

    /// Not hidden by the program (the page it sits on need not be the one shown).
    bool shown(const char* name) const
    {
        const QWidget* w = find<QWidget>(name);
        return w && !w->isHidden();
    }

    bool checked(const char* name) const
    {
        const auto* button = find<QAbstractButton>(name);
        return button && button->isChecked();
    }

    QString pageCaption(int page) const
    {
        const auto* book = find<QTabWidget>("TabbedNotebook1");
        return book ? book->tabText(page) : QString();
    }

    QString valueLine(const Pair& p) const { return Tab + text(p.label) + Colon + text(p.field); }

private:
    QWidget* m_window;
};

bool askToGoOn(QWidget* window, const char* german)
{
    return showMessage({window, tr73(0, QString::fromUtf8(german)), QStringLiteral("Information"),
                        MsgIcon::Information, MsgButtons::CancelIgnore}) != MsgAnswer::Cancel;
}

void channelLines(const WindowReader& w, int index, QStringList& out)
{
    const Channel& c = Channels[index];
    out << w.pageCaption(6 + index);
    for (const Pair& p : c.values)
        out << w.valueLine(p);
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
    out << w.valueLine({"Label3", "Edit1"});
    out << Tab + w.text("Label36") + Colon + w.text("Label37") + QStringLiteral("  ") +
               w.text("Label38");
    out << Blank;

    // 6..10: the parameter pages and the service page.
    out << w.pageCaption(0) << w.valueLine({"Label1", "Edit10"})
        << w.valueLine({"Label2", "Edit11"});
    if (w.shown("Label65")) out << w.valueLine({"Label65", "Edit16"});
    out << w.valueLine({"Label20", "Edit20"}) << w.valueLine({"Label21", "Edit21"}) << Blank;
    out << w.pageCaption(1);
    for (const Pair& p :
         {Pair{"Label12", "Edit12"}, Pair{"Label14", "Edit14"}, Pair{"Label15", "Edit15"},
          Pair{"Label22", "Edit22"}, Pair{"Label24", "Edit24"}, Pair{"Label25", "Edit25"}})
        out << w.valueLine(p);
    out << Blank << w.pageCaption(2) << w.valueLine({"Label30", "Edit30"})
        << w.valueLine({"Label31", "Edit31"}) << Blank;
    out << w.pageCaption(3) << w.valueLine({"Label40", "Edit40"})
        << w.valueLine({"Label41", "Edit41"}) << Blank;
    out << w.pageCaption(4);
    for (const Pair& p :
         {Pair{"Label50", "Edit50"}, Pair{"Label51", "Edit51"}, Pair{"Label52", "Edit52"},
          Pair{"Label53", "Edit53"}, Pair{"Label54", "Edit54"}, Pair{"Label55", "Edit55"},
          Pair{"Label56", "Edit56"}, Pair{"Label57", "Edit57"}})
        if (w.shown(p.label)) out << w.valueLine(p);
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
