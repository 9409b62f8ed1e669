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
    {" (%1 Zeichen durch \"?\" ersetzt)", " (%1 characters replaced by \"?\")"},    // trend
    {"Trend", "Trend"},
    {"Trend - %1", "Trend - %1"},
    {"Zeitfenster", "Time window"},
    {"Pause", "Pause"},
    {"Live", "Live"},
    {"Aufzeichnen", "Record"},
    {"Aufzeichnung", "Recording"},
    {"Öffnen...", "Open..."},
    {"Bild speichern...", "Save picture..."},
    {"Ausschnitt speichern...", "Save span..."},
    {"Zeit", "Time"},
    {"Schwingung [mm/s]", "Vibration [mm/s]"},
    {"Aufzeichnung in %1", "Recording to %1"},
    {"Wiedergabe von %1", "Replay of %1"},
    {"Kanal%1", "Channel%1"},
    {"Die Datei %1 enthält keine lesbaren Zeilen.", "The file %1 holds no readable rows."},
    {"Einige Zeilen der Datei konnten nicht gelesen werden und fehlen in der Darstellung:", "Some lines of the file could not be read and are missing from the plot:"},
    {"\n... und %1 weitere", "\n... and %1 more"},
    {"Schwingung: %1 mm/s", "Vibration: %1 mm/s"},
    {"Ergebnis: %1", "Result: %1"},
    {"Aufzeichnung öffnen", "Open recording"},
    {"CSV-Dateien (*.csv)", "CSV files (*.csv)"},
    {"Das Bild kann nicht als %1 gespeichert werden.", "The picture cannot be saved as %1."},
    {"Der Ausschnitt kann nicht als %1 gespeichert werden: %2", "The span cannot be saved as %1: %2"},
    {"Bild speichern", "Save picture"},
    {"PNG-Bilder (*.png)", "PNG pictures (*.png)"},
    {"Ausschnitt speichern", "Save span"},
    {"Zeitstempel \"%1\" nicht lesbar", "time stamp \"%1\" unreadable"},
    {"Spalte %1 ist keine Zahl", "column %1 is not a number"},
    {"Kanal %1 nicht lesbar", "channel %1 unreadable"},
    {"unvollständig (Aufzeichnung abgebrochen)", "incomplete (recording cut off)"},
    {"%1 statt %2 Spalten", "%1 instead of %2 columns"},
    {"Zeile %1: %2", "line %1: %2"},
    {"Keine Trend-Datei: die erste Zeile ist nicht die erwartete Kopfzeile.", "Not a trend file: the first line is not the expected header."},
    {"Die Datei %1 kann nicht gelesen werden: %2", "The file %1 cannot be read: %2"},
    {"Der Ordner %1 kann nicht angelegt werden.", "The folder %1 cannot be made."},
    {"Die Aufzeichnung kann nicht in %1 geschrieben werden: %2", "The recording cannot be written to %1: %2"},
    {"Die Aufzeichnung wurde beendet: %1 kann nicht geschrieben werden (%2). Das bisher Aufgezeichnete bleibt erhalten.", "The recording stopped: %1 cannot be written (%2). What was recorded so far is kept."},
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
