#include "ApplyLanguage.h"

#include "QtTranslations.h"
#include "Translate.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>

namespace r73 {

namespace {

enum class Kind {
    WindowTitle, ///< the caption of the main window itself
    Caption,     ///< the text or title of the element called name
    Untranslated,
    Version,    ///< the translated text followed by the program version
    Tab,        ///< tab index of the notebook
    Column,     ///< header column index of the history list
    PortStatus, ///< the caller's port status refresh
};

struct Step
{
    Kind kind;
    const char* name; ///< object name, or nullptr where index says which
    int index;
    const char* german;
    int offset;
};

constexpr Step title(const char* german)
{
    return {Kind::WindowTitle, nullptr, 0, german, 0};
}
constexpr Step caption(const char* name, const char* german, int offset = 0)
{
    return {Kind::Caption, name, 0, german, offset};
}
constexpr Step untranslated(const char* name, const char* text)
{
    return {Kind::Untranslated, name, 0, text, 0};
}
constexpr Step version(const char* name, const char* german)
{
    return {Kind::Version, name, 0, german, 0};
}
constexpr Step tab(int page, const char* german)
{
    return {Kind::Tab, nullptr, page, german, 0};
}
constexpr Step column(int index, const char* german, int offset = 0)
{
    return {Kind::Column, nullptr, index, german, offset};
}
constexpr Step portStatus()
{
    return {Kind::PortStatus, nullptr, 0, nullptr, 0};
}

constexpr auto Notebook = "TabbedNotebook1";
constexpr auto HistoryList = "ListView1";

// Offset 1 reaches the mixed-case row after an upper-case twin ("Speichern" -> "Save", not
// "SAVE"); the table's row order makes "Lösen" with offset 1 land on the second "LÖSEN".
constexpr Step Steps[] = {
    // Connection group; its port status panel is captioned by the caller.
    title("R73-Controller"),
    caption("GroupBox10", "Verbindung"),
    caption("Button3", "&Verbinden"),
    caption("Button7", "&Schnittstelle"),
    portStatus(),
    // Status area.
    caption("Label33", "ext. Anwahl"),
    caption("Label6", "---"),
    caption("Label34", "int.  Zustand"),
    caption("Label35", "---"),
    caption("Label63", "Ergebnis:"),
    caption("Label59", "---"),
    caption("Label62", "---"),
    // Function-key bar.
    caption("bbtnZurueck", "F2: <<"),
    caption("bbtnVor", "F3: >>"),
    caption("BitBtn7", "F4:SENDEN"),
    caption("BitBtn8", "F5:SPEICHERN"),
    caption("BitBtn9", "F6:DATEI/DRUCK"),
    caption("BitBtn10", "F7:VERBINDEN"),
    // Identification area; the value fields are emptied until the next connect fills them.
    version("Label29", "SW-Version: "),
    caption("Label36", "Last ComErr:"),
    untranslated("Label37", "xx"),
    untranslated("Label38", "xx"),
    caption("Label5", "Ser. Nr."),
    caption("Label4", "Bios-Version"),
    caption("Label3", "M-Status"),
    caption("Edit4", ""),
    caption("Edit3", ""),
    caption("Edit1", ""),
    // Page 0: clamp and release pulses.
    tab(0, "SPANNEN"),
    caption("GroupBox2", "SPANNEN"),
    caption("Label1", "Kurz [Pulse]"),
    caption("Label2", "Lang [Pulse]"),
    caption("Label65", "Spannen ohne Werkzeug"),
    caption("GroupBox1", "LÖSEN"),
    caption("Label20", "[Pulse]"),
    caption("Label21", "[Pulse]"),
    caption("Label45", "Mit ENTER oder F4 bestätigen"),
    caption("Label58", "weiter mit TAB"),
    caption("Button1", "Speichern", 1),
    // Page 1: times.
    tab(1, "ZEITEN"),
    caption("Label46", "Mit ENTER oder F4 bestätigen"),
    caption("Label49", "weiter mit TAB"),
    caption("Button2", "Speichern", 1),
    caption("GroupBox3", "SPANNEN"),
    caption("Label12", "Mindestmesszeit [ms]"),
    caption("Label14", "Stopfreq [ms]"),
    caption("Label15", "Timeout [ms]"),
    caption("GroupBox4", "LÖSEN"),
    caption("Label22", "Mindestmesszeit [ms]"),
    caption("Label24", "Stopfreq [ms]"),
    caption("Label25", "Timeout [ms]"),
    // Page 2: flat contact and hydraulic monitoring.
    tab(2, "PLANANLAGE"),
    caption("Label47", "Mit ENTER oder F4 bestätigen"),
    caption("Label60", "weiter mit TAB"),
    caption("Button4", "Speichern", 1),
    caption("GroupBox5", "PLANANLAGE"),
    caption("Label30", "Schwelle [ms]"),
    caption("Label31", "Timeout [ms]"),
    caption("gbHydr", "HYDRAULIKÜBERWACHUNG"),
    caption("cbHydr", "aktiv"),
    caption("Label7", "Pulse"),
    caption("Label8", "Dauer [ms]"),
    // Page 3: vibration.
    tab(3, "SCHWINGUNG"),
    caption("Label48", "Mit ENTER oder F4 bestätigen"),
    caption("Label61", "weiter mit TAB"),
    caption("Button6", "Speichern", 1),
    caption("GroupBox6", "SCHWINGUNG"),
    caption("Label40", "Schwelle [mm/sek]"),
    caption("Label41", "Timeout [ms]"),
    // Page 4: service counters.
    tab(4, "SERVICE"),
    caption("GroupBox7", "Service Informationen"),
    caption("Label50", "Pulse"),
    caption("Label51", "Lösen [Pulse]"),
    caption("Label52", "Löseabweichung [Pulse]"),
    caption("Label53", "Frequenz  [0,1 Hz]"),
    caption("Label54", "F_Max  [0,1 Hz]"),
    caption("Label55", "F_Schleich [0,1 Hz]"),
    caption("Label56", "T_Dauer  [ms]"),
    caption("Label57", "Schwingung [mm/sek]"),
    caption("Label67", "Frequenz"),
    caption("Label66", "Schwingung "),
    // Page 5: history; columns 1 and 2 keep the captions the form gives them.
    tab(5, "LOGBUCH"),
    caption("Button8", "&Lesen"),
    caption("Button9", "Lö&schen"),
    column(0, "Nr"),
    column(3, "Spannen", 1),
    column(4, "Ergebnis"),
    column(5, "Lösen", 1),
    column(6, "Ergebnis"),
    caption("BtSprache", "S&prache"),
    // Pages 6 to 8: the channels. Their tabs show the channel names read from the controller.
    caption("GroupBox11", "Meßbereich"),
    caption("Label77", "Maximum"),
    caption("Label78", "Minimum"),
    caption("GroupBox12", "Grenzwerte"),
    caption("Label70", "Max2"),
    caption("Label69", "Max1"),
    caption("Label75", "Min1"),
    caption("Label68", "Min2"),
    caption("GroupBox13", "Beschreibung"),
    caption("Label73", "Bezeichnung"),
    caption("Label74", "physikalische Einheit"),
    caption("GroupBox14", "Parametrierung"),
    caption("ckbKanalAktiv_1", "Kanal aktiv"),
    caption("GroupBox21", "Eingangspegel"),
    caption("pnAnalog1", "Analog1 nur ab R73-Bios-Version 3.00"),
    caption("GroupBox15", "Meßbereich"),
    caption("Label79", "Maximum"),
    caption("Label76", "Minimum"),
    caption("GroupBox16", "Grenzwerte"),
    caption("Label83", "Max2"),
    caption("Label82", "Max1"),
    caption("Label81", "Min1"),
    caption("Label80", "Min2"),
    caption("GroupBox17", "Beschreibung"),
    caption("Label85", "Bezeichnung"),
    caption("Label84", "physikalische Einheit"),
    caption("GroupBox22", "Parametrierung"),
    caption("ckbKanalAktiv_2", "Kanal aktiv"),
    caption("GroupBox23", "Eingangspegel"),
    caption("pnAnalog2", "Analog2 nur ab R73-Bios-Version 3.00"),
    caption("GroupBox18", "Meßbereich"),
    caption("Label87", "Maximum"),
    caption("Label86", "Minimum"),
    caption("GroupBox19", "Grenzwerte"),
    caption("Label91", "Max2"),
    caption("Label90", "Max1"),
    caption("Label89", "Min1"),
    caption("Label88", "Min2"),
    caption("GroupBox20", "Beschreibung"),
    caption("Label93", "Bezeichnung"),
    caption("Label92", "physikalische Einheit"),
    caption("GroupBox24", "Parametrierung"),
    caption("ckbKanalAktiv_3", "Kanal aktiv"),
    caption("GroupBox25", "Eingangspegel"),
    caption("pnAnalog3", "Analog3 nur ab R73-Bios-Version 3.00"),
    // Page 9: live analog values.
    caption("pnAnalogwerte", "Analogwerte nur ab R73-Bios-Version 3.00"),
    tab(9, "ANALOGWERTE"),
};

/// The main window's widgets by object name. Widgets of other windows parented to the main window
/// (dialogs) are left out, as they reuse names such as "GroupBox1" or "Image1".
QHash<QString, QWidget*> widgetsByName(QWidget* form1)
{
    QHash<QString, QWidget*> byName;
    const QWidget* window = form1->window();
    for (QWidget* w : form1->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->window() != window) continue;
        // The first of a name wins, as with findChild.
        if (!byName.contains(w->objectName())) byName.insert(w->objectName(), w);
    }
    return byName;
}

void setCaption(QWidget* w, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
    }
}

void setTab(QWidget* notebook, int page, const QString& text)
{
    auto* tabs = qobject_cast<QTabWidget*>(notebook);
    if (tabs && page < tabs->count()) tabs->setTabText(page, text);
}

void setColumn(QWidget* list, int index, const QString& text)
{
    auto* tree = qobject_cast<QTreeWidget*>(list);
    // Setting a header text past the last column would add columns.
    if (tree && index < tree->columnCount()) tree->headerItem()->setText(index, text);
}

} // namespace

void ApplyLanguage(QWidget* form1, const std::function<void()>& setCaptionComStat)
{
    applyQtLanguage(CurrentLanguage);
    if (!form1) return;
    const QHash<QString, QWidget*> byName = widgetsByName(form1);
    const auto find = [&byName](const char* name) { return byName.value(QLatin1String(name)); };

    for (const Step& step : Steps) {
        const QString german = QString::fromUtf8(step.german);
        switch (step.kind) {
        case Kind::WindowTitle:
            form1->setWindowTitle(Translate(step.offset, german));
            break;
        case Kind::Caption:
            if (QWidget* w = find(step.name)) setCaption(w, Translate(step.offset, german));
            break;
        case Kind::Untranslated:
            if (QWidget* w = find(step.name)) setCaption(w, german);
            break;
        case Kind::Version:
            if (QWidget* w = find(step.name))
                setCaption(w, Translate(step.offset, german) + QLatin1String(ProgramVersionText));
            break;
        case Kind::Tab:
            setTab(find(Notebook), step.index, Translate(step.offset, german));
            break;
        case Kind::Column:
            setColumn(find(HistoryList), step.index, Translate(step.offset, german));
            break;
        case Kind::PortStatus:
            if (setCaptionComStat) setCaptionComStat();
            break;
        }
    }
}

} // namespace r73
