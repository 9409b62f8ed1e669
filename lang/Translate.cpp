#include "Translate.h"

namespace r73 {

int CurrentLanguage = 0;
QStringList GermanTexts;
QStringList EnglishTexts;
QStringList ThirdTexts;

namespace {

const QStringList* textsOf(int language)
{
    switch (language) {
    case 1:
        return &EnglishTexts;
    case 2:
        return &ThirdTexts;
    default:
        return nullptr;
    }
}

/// Texts of messages the fixed table does not know (checks added to it later). Looked up only
/// after the table, so they never shift its rows or offsets.
const std::pair<const char*, const char*> AddedTexts[] = {
    {"Warnung", "Warning"},
    {"Fehler beim Drucken: ", "Printing failed: "},
    {"Das Zeichen \"%1\" (U+%2) kann nicht zum R73 gesendet werden!",
     "The character \"%1\" (U+%2) cannot be sent to the R73!"},
    {"Die Sprache konnte nicht in \"%1\" gespeichert werden.\n%2",
     "The language could not be saved in \"%1\".\n%2"},
    {"Die Schnittstelle konnte nicht in \"%1\" gespeichert werden.\n%2",
     "The interface could not be saved in \"%1\".\n%2"},
    {"Der Wert passt nicht in das Feld. Erlaubt sind %1 bis %2.",
     "The value does not fit the field. Allowed are %1 to %2."},
    {"Spannen ohne Werkzeug kann nicht auf %1 angehoben werden: der Wert passt nicht in das "
     "Feld. Nichts gesendet.",
     "Clamp without tool cannot be raised to %1: the value does not fit the field. Nothing was "
     "sent."},
    {"Spannen ohne Werkzeug kann nicht größer als Lang werden, solange der zweite Wert von "
     "LÖSEN 0 ist. Nichts gesendet.",
     "Clamp without tool cannot become larger than Long while the second RELEASE value is 0. "
     "Nothing was sent."},
    {"Diese Parametersätze wurden geändert, aber nicht dauerhaft gespeichert:\n%1\n\nJetzt "
     "speichern?",
     "These parameter sets were changed but not saved permanently:\n%1\n\nSave them now?"},
    {"Nicht gespeicherte Änderungen", "Unsaved changes"},
    {" (%1 Zeichen durch \"?\" ersetzt)", " (%1 characters replaced by \"?\")"},
    // ports
    {"frei", "free"},
    {"von diesem Programm geöffnet", "opened by this program"},
    {"belegt", "busy"},
    {"belegt von %1", "busy: used by %1"},
    {"nicht vorhanden", "missing"},
    {"keine Berechtigung: den Benutzer in die Gruppe dialout aufnehmen, dann neu anmelden",
     "no permission: add the user to the group dialout, then log in again"},
    {"nicht nutzbar: %1", "not usable: %1"},
    {"kann nicht geöffnet werden", "cannot be opened"},
    {"COM%1 gibt es nicht: nur COM1 bis COM4 sind möglich",
     "There is no COM%1: only COM1 to COM4 are possible"},
    {"Nr. %1", "No. %1"},
    {"Keine Antwort vom R73 an COM%1 (%2): Kabel, Schnittstelle und Controller prüfen",
     "No answer from the R73 at COM%1 (%2): check cable, interface and controller"},
    {"Weitere Schnittstellen", "Other serial ports"},
    {"Gerät", "Device"},
    {"Beschreibung", "Description"},
    {"Zustand", "State"},
    {"&Suchen", "&Search"},
    {"R73 gefunden", "R73 found"},
    {"keine Antwort", "no answer"},
    {"&Leitung protokollieren", "&Trace the line"},
    {"Das Leitungsprotokoll kann nicht geschrieben werden.", "The line trace cannot be written."},
};

QString addedText(const QString& german)
{
    for (const auto& [de, en] : AddedTexts)
        if (german.compare(QString::fromUtf8(de), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(en);
    return german;
}

} // namespace

QString Translate(int offset, const QString& german)
{
    if (CurrentLanguage == 0) return german;
    const QStringList* texts = textsOf(CurrentLanguage);
    if (!texts) return german;
    // First match wins, which is why "Speichern" lands on "SPEICHERN" and needs offset 1.
    for (qsizetype i = 0; i < GermanTexts.size(); ++i) {
        if (GermanTexts.at(i).compare(german, Qt::CaseInsensitive) != 0) continue;
        const qsizetype row = i + offset;
        return row >= 0 && row < texts->size() ? texts->at(row) : german;
    }
    return CurrentLanguage == 1 ? addedText(german) : german;
}

} // namespace r73
