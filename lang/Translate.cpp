#include "Translate.h"

#include "TextHook.h"

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
    {"wird vor Lang auf %1 angehoben (Lang %2 + 2 × |LÖSEN Lang %3|)",
     "raised to %1 before Long (Long %2 + 2 × |RELEASE Long %3|)"},
    {"Spannen ohne Werkzeug kann nicht über %1 angehoben werden",
     "Clamp without tool cannot be raised above %1"},
    {"angehoben auf %1 (%2)", "raised to %1 (%2)"},
    {"Datei %1", "file %1"},
    {"gehalten auf %1 (Datei %2)", "held to %1 (file %2)"},
    {"Dauerhaft gespeichert: %1", "Saved permanently: %1"},
    {"Änderungen", "Changes"},
    {"%1 Änderungen", "%1 changes"},
    {"Dauerhafte Speicherungen", "Permanent saves"},
    {"Alle Einstellungen", "All settings"},
    {"_aenderungen.csv", "_changes.csv"},
    {"keiner", "none"},
    {"NICHT dauerhaft gespeichert: %1", "NOT saved permanently: %1"},
    {"Das Protokoll kann nicht geschrieben werden: %1", "The journal cannot be written: %1"},
    {"ABGEBROCHEN: das Protokoll kann nicht geschrieben werden (%1). Geschrieben wurden nur die "
     "oben genannten Einstellungen.",
     "ABORTED: the journal cannot be written (%1). Only the settings listed above were written."},
    {"Das Protokoll \"%1\" kann nicht geschrieben werden: %2\nEs wurde nichts zum R73 gesendet.",
     "The journal \"%1\" cannot be written: %2\nNothing was sent to the R73."},
    {" (%1 Zeichen durch \"?\" ersetzt)", " (%1 characters replaced by \"?\")"},
    // report and archive
    {"Servicebericht", "Service report"},
    {"Servicebericht R73-Controller", "Service report R73 controller"},
    {"Seriennummer", "Serial number"},
    {"BIOS-Version", "BIOS version"},
    {"Datum", "Date"},
    {"Programmversion", "Program version"},
    {"Techniker", "Technician"},
    {"Bemerkungen", "Remarks"},
    {"Ort, Datum, Unterschrift Techniker", "Place, date, technician's signature"},
    {"Ort, Datum, Unterschrift Kunde", "Place, date, customer's signature"},
    {"Seite %1 von %2", "Page %1 of %2"},
    {"Eingänge und Ausgänge", "Inputs and outputs"},
    {"Parametersatz", "Parameter set"},
    {"Analogkanäle", "Analog channels"},
    {"Aktueller Wert", "Current value"},
    {"ja", "yes"},
    {"nein", "no"},
    {"ein", "on"},
    {"aus", "off"},
    {"Status und letzter Test", "Status and last test"},
    {"Historie des Controllers", "Controller history"},
    {"Das Archiv %1 stammt von einer neueren Programmversion (Schema %2, dieses Programm kennt "
     "Schema %3). Es wird nicht verändert.",
     "The archive %1 was made by a newer program version (schema %2, this program knows schema "
     "%3). It is left unchanged."},
    {"Das Archiv %1 kann nicht benutzt werden: %2", "The archive %1 cannot be used: %2"},
    {"Datenbanktreiber fehlt", "database driver missing"},
    {"Ordner kann nicht angelegt werden", "folder cannot be created"},
    {"nicht geöffnet", "not open"},
    {"Ordner %1 kann nicht angelegt werden", "Folder %1 cannot be created"},
    {"Datei %1 kann nicht ins Archiv kopiert werden", "File %1 cannot be copied into the archive"},
    {"Art", "Kind"},
    {"Frequenz [0,1 Hz]", "Frequency [0.1 Hz]"},
    {"T_Dauer [ms]", "T_Duration [ms]"},
    {"Schwingung [mm/s]", "Vibration [mm/s]"},
    {"Letzte Zyklus-Nr.", "Last cycle no."},
    {"Löseabweichung [Pulse]", "Release deviation [Pulses]"},
    {"Die Passwortdatei %1 darf nur für ihren Besitzer lesbar sein (chmod 600).",
     "The password file %1 must be readable by its owner only (chmod 600)."},
    {"Die Passwortdatei %1 kann nicht gelesen werden.", "The password file %1 cannot be read."},
    {"Der Besuch wurde lokal aufgezeichnet.", "The visit was recorded locally."},
    {"Verbindung", "Connect"},
    {"Sicherung", "Backup"},
    {"Wiederherstellung", "Restore"},
    {"Logbuch", "Logbook"},
    {"Keine Werte", "No values"},
    {"Archiv", "Archive"},
    {"Ser. Nr.", "Ser. No."},
    {"Zuletzt gesehen", "Last seen"},
    {"Besuche", "Visits"},
    {"Dateien", "Files"},
    {"Öffnen", "Open"},
    {"Drucken", "Print"},
    {"CSV exportieren", "Export CSV"},
    {"Schliessen", "Close"},
    {"Dateien des Besuchs", "Files of the visit"},
    {"Zähler von Besuch zu Besuch:", "Counter from visit to visit:"},
    {"fehlt", "missing"},
    {"Die Datei %1 fehlt im Archiv; sie wurde wohl von Hand gelöscht.",
     "The file %1 is missing from the archive; it was probably deleted by hand."},
    {"Kein Druckbefehl (lp) gefunden; bitte die Datei öffnen und von dort drucken.",
     "No print command (lp) found; please open the file and print it from there."},
    {"Datei %1 kann nicht gespeichert werden: %2", "File %1 cannot be saved: %2"},
    {"Der Archiv-Server ist wieder erreichbar. Die lokal aufgezeichneten Besuche jetzt dorthin "
     "senden?",
     "The archive server can be reached again. Send the visits recorded locally there now?"},
    {"Name des Technikers:", "Technician's name:"},
    {"Der Name kann nicht in der Konfigurationsdatei gespeichert werden.",
     "The name cannot be stored in the configuration file."},
    {"Befund, durchgeführte Arbeiten, Empfehlungen", "Findings, work done, recommendations"},
    {"PDF speichern", "Save PDF"},
    {"Der Servicebericht %1 kann nicht gespeichert werden: %2",
     "The service report %1 cannot be saved: %2"},
    {"Der Servicebericht kann nicht gedruckt werden.", "The service report cannot be printed."},
    {"Historie als CSV", "History as CSV"},
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
    // backup
    {"Service-Daten", "Service data"},
    {"Service-Daten sichern …", "Back up service data …"},
    {"Mit Sicherung vergleichen …", "Compare with backup …"},
    {"Sicherung wiederherstellen …", "Restore backup …"},
    {"Service-Daten sichern", "Back up service data"},
    {"Sicherung öffnen", "Open backup"},
    {"Sicherung (*.json)", "Backup (*.json)"},
    {"%1 Einstellungen gesichert in \"%2\".", "%1 settings backed up in \"%2\"."},
    {"Es wurde nichts zum R73 gesendet.", "Nothing was sent to the R73."},
    {"Vergleich", "Comparison"},
    {"Controller", "Controller"},
    {"&Wiederherstellen (%1 Einstellungen)", "&Restore (%1 settings)"},
    {"&Wiederherstellen (1 Einstellung)", "&Restore (1 setting)"},
    {"Die Sicherung stammt von einem anderen Controller. Trotzdem wiederherstellen?",
     "The backup comes from another controller. Restore it anyway?"},
    {"Prüfbericht", "Verification report"},
    {"&Speichern …", "&Save …"},
    {"&Drucken …", "&Print …"},
    {"&Dauerhaft speichern", "Save &permanently"},
    {"Prüfbericht speichern", "Save verification report"},
    {"Text (*.txt)", "Text (*.txt)"},
    {"Dauerhaft gespeichert.", "Saved permanently."},
    {"ein", "on"},
    {"aus", "off"},
    {"Ein/Aus", "On/Off"},
    {"Kanal inaktiv", "Channel inactive"},
    {"Sicherungsdatei \"%1\", %2: %3", "Backup file \"%1\", %2: %3"},
    {"Zeile %1, %2", "line %1, %2"},
    {"Zeile %1, Spalte %2", "line %1, column %2"},
    {"unbekannter Schlüssel in %1", "unknown key in %1"},
    {"Schlüssel \"%1\" fehlt", "key \"%1\" is missing"},
    {"kein Objekt", "not an object"},
    {"kein Wort von 0 bis 65535", "not a word from 0 to 65535"},
    {"kein Text", "not a text"},
    {"Das Zeichen \"%1\" kann nicht zum R73 gesendet werden",
     "the character \"%1\" cannot be sent to the R73"},
    {"Text länger als %1 Zeichen", "text longer than %1 characters"},
    {"die Anzeige passt nicht zum Wort %1", "the value shown does not match the word %1"},
    {"beschädigt oder unvollständig (%1)", "corrupt or truncated (%1)"},
    {"Anfang", "start"},
    {"kein JSON-Objekt", "not a JSON object"},
    {"keine Sicherungsdatei des R73 Service", "not an R73 Service backup file"},
    {"ungültige Formatversion", "invalid format version"},
    {"Formatversion %1 ist neuer als die dieses Programms (%2); bitte ein neueres Programm "
     "verwenden",
     "format version %1 is newer than this program's (%2); please use a newer program"},
    {"der Datei", "the file"},
    {"kein Datum mit Uhrzeit", "not a date with time"},
    {"keine Versionsnummer", "not a version number"},
    {"unbekannte Einstellung", "unknown setting"},
    {"Einstellung \"%1\" fehlt", "setting \"%1\" is missing"},
    {"BIOS %1 bietet diese Einstellung nicht", "BIOS %1 does not offer this setting"},
    {"Die Sicherung konnte nicht in \"%1\" gespeichert werden: %2",
     "The backup could not be saved in \"%1\": %2"},
    {"Sicherungsdatei \"%1\" kann nicht gelesen werden: %2",
     "Backup file \"%1\" cannot be read: %2"},
    {"Andere Seriennummer: Datei %1, Controller %2",
     "Another serial number: file %1, controller %2"},
    {"Andere BIOS-Version: Datei %1, Controller %2",
     "Another BIOS version: file %1, controller %2"},
    {"wird als %1 gesendet (1 bis 1000)", "sent as %1 (1 to 1000)"},
    {"Einstellung", "Setting"},
    {"Unterschied", "Difference"},
    {"gleich", "same"},
    {"verschieden", "different"},
    {"verschieden, wird nicht geschrieben", "different, not written"},
    {"nicht in der Datei", "not in the file"},
    {"Prüfbericht der Wiederherstellung", "Verification report of the restore"},
    {"Datei: %1", "File: %1"},
    {"Controller: Seriennummer %1, BIOS %2", "Controller: serial number %1, BIOS %2"},
    {"Zeit: %1", "Time: %1"},
    {"Soll", "Intended"},
    {"Gelesen", "Read back"},
    {"ABWEICHUNG", "MISMATCH"},
    {"geschrieben, nicht geprüft", "written, not verified"},
    {"Nicht geschrieben:", "Not written:"},
    {"ABGEBROCHEN: die Verbindung ist gestört. Geschrieben wurden nur die oben genannten "
     "Einstellungen.",
     "ABORTED: the communication failed. Only the settings listed above were written."},
    {"Nichts geschrieben: der Controller stimmt mit der Datei überein.",
     "Nothing written: the controller matches the file."},
    {"Ergebnis: die geschriebene Einstellung stimmt überein.",
     "Result: the setting written matches."},
    {"Ergebnis: alle %1 geschriebenen Einstellungen stimmen überein.",
     "Result: all %1 settings written match."},
    {"Ergebnis: %1 von %2 geschriebenen Einstellungen weichen ab.",
     "Result: %1 of %2 settings written do not match."},
    {" (%1 Zeichen durch \"?\" ersetzt)", " (%1 characters replaced by \"?\")"}, // trend
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
    {"Einige Zeilen der Datei konnten nicht gelesen werden und fehlen in der Darstellung:",
     "Some lines of the file could not be read and are missing from the plot:"},
    {"\n... und %1 weitere", "\n... and %1 more"},
    {"Schwingung: %1 mm/s", "Vibration: %1 mm/s"},
    {"Ergebnis: %1", "Result: %1"},
    {"Aufzeichnung öffnen", "Open recording"},
    {"CSV-Dateien (*.csv)", "CSV files (*.csv)"},
    {"Das Bild kann nicht als %1 gespeichert werden.", "The picture cannot be saved as %1."},
    {"Der Ausschnitt kann nicht als %1 gespeichert werden: %2",
     "The span cannot be saved as %1: %2"},
    {"Bild speichern", "Save picture"},
    {"PNG-Bilder (*.png)", "PNG pictures (*.png)"},
    {"Ausschnitt speichern", "Save span"},
    {"Zeitstempel \"%1\" nicht lesbar", "time stamp \"%1\" unreadable"},
    {"Spalte %1 ist keine Zahl", "column %1 is not a number"},
    {"Kanal %1 nicht lesbar", "channel %1 unreadable"},
    {"unvollständig (Aufzeichnung abgebrochen)", "incomplete (recording cut off)"},
    {"%1 statt %2 Spalten", "%1 instead of %2 columns"},
    {"Zeile %1: %2", "line %1: %2"},
    {"Keine Trend-Datei: die erste Zeile ist nicht die erwartete Kopfzeile.",
     "Not a trend file: the first line is not the expected header."},
    {"Die Datei %1 kann nicht gelesen werden: %2", "The file %1 cannot be read: %2"},
    {"Der Ordner %1 kann nicht angelegt werden.", "The folder %1 cannot be made."},
    {"Die Aufzeichnung kann nicht in %1 geschrieben werden: %2",
     "The recording cannot be written to %1: %2"},
    {"Die Aufzeichnung wurde beendet: %1 kann nicht geschrieben werden (%2). Das bisher "
     "Aufgezeichnete bleibt erhalten.",
     "The recording stopped: %1 cannot be written (%2). What was recorded so far is kept."},
    // reasons of a failed file operation
    {"kein Platz auf dem Datenträger", "no space left on device"},
    {"Speicherkontingent erschöpft", "disk quota exceeded"},
    {"Datei zu groß", "file too large"},
    {"keine Berechtigung", "permission denied"},
    {"Datenträger schreibgeschützt", "read-only file system"},
    {"Datei oder Ordner nicht vorhanden", "no such file or folder"},
    {"ein Teil des Pfades ist kein Ordner", "a part of the path is not a folder"},
    {"ist ein Ordner", "is a folder"},
    {"Ein-/Ausgabefehler", "input/output error"},
    {"zu viele symbolische Verknüpfungen", "too many symbolic links"},
    {"Name zu lang", "name too long"},
    {"keine gewöhnliche Datei", "not a regular file"},
    {"Datei größer als %1 MB", "file larger than %1 MB"},
    {"die Datei gibt es schon", "the file already exists"},
    // the archive's catch-up and the port dialog
    {"%1 lokal aufgezeichnete Besuche wurden an den Archiv-Server gesendet.",
     "%1 visits recorded locally were sent to the archive server."},
    {"von diesem Programm verbunden: R73 Nr. %1, BIOS %2",
     "connected by this program: R73 no. %1, BIOS %2"},
    {"Das Bild kann nicht als %1 gespeichert werden: %2", "The picture cannot be saved as %1: %2"},
    {"Datei %1 kann nicht ins Archiv kopiert werden: %2",
     "File %1 cannot be copied into the archive: %2"},
    {"die Verknüpfung zeigt ins Leere", "the link points to nothing"},
    {"Die Konfigurationsdatei %1 kann nicht geschrieben werden: %2. Einstellungen werden nicht "
     "gespeichert.",
     "The configuration file %1 cannot be written: %2. Settings will not be saved."},
    {"das Wort %1 passt nicht zum Text \"%2\" (er ergibt %3)",
     "the word %1 does not match the text \"%2\" (which gives %3)"},
    {"nicht true", "not true"},
    {"Schlüssel doppelt", "key given twice"},
    {"beim Sichern markiert", "marked when backed up"},
    {"beim Sichern so im Controller vorgefunden: %1",
     "found so in the controller when backed up: %1"},
    {"gleich, wird nicht geschrieben", "same, not written"},
    {"So gesichert, wie der Controller sie hält; eine Wiederherstellung überspringt sie:",
     "Saved as the controller holds them; a restore skips them:"},
    // beyond the window's fixed pages, where the table's twin is misspelt
    {"ANALOGWERTE", "ANALOG VALUES"},
    {"ANALOG", "ANALOG"},
    {"ANALOG OK", "ANALOG OK"},
    {"ANALOG ERR", "ANALOG ERR"},
    {"ZU KURZ", "TOO SHORT"},
    {"ZU LANG", "TOO LONG"},
    {"Test beendet", "Test finished"},
    {"Frequenz", "Frequency"},
    {"Frequenz  [0,1 Hz]", "Frequency [0.1 Hz]"},
    {"F_Max  [0,1 Hz]", "F_Max [0.1 Hz]"},
    {"F_Schleich [0,1 Hz]", "F_Creep [0.1 Hz]"},
    {"_bericht.pdf", "_report.pdf"},
    {"_historie.csv", "_history.csv"},
    {"_zaehler.csv", "_counters.csv"},
    // The parameter fields' states and tooltips.
    {"Getippt, noch nicht gesendet (Enter oder F4)", "Typed, not yet sent (Enter or F4)"},
    {"Gesendet und gelesen, noch nicht dauerhaft gespeichert (F5)",
     "Sent and read back, not yet saved permanently (F5)"},
    {"Dauerhaft gespeichert", "Saved permanently"},
    {"Der Controller hält einen anderen Wert als getippt",
     "The controller holds another value than typed"},
    {"1 bis 1000; darüber oder darunter sendet das Programm 1000 bzw. 1",
     "1 to 1000; above or below, the program sends 1000 or 1"},
    {"%1 bis %2", "%1 to %2"},
    {"Einheit: %1", "Unit: %1"},
    {"Erlaubt: %1", "Allowed: %1"},
    {"Muss über „Lang“ liegen; Enter in „Lang“ hebt ihn sonst an",
     "Must lie above \"Long\"; Enter in \"Long\" raises it otherwise"},
    {"Im Controller: %1 (gelesen %2)", "In the controller: %1 (read %2)"},
    {"Im Controller: %1 (gesendet und gelesen %2)",
     "In the controller: %1 (sent and read back %2)"},
    {"Beispielwert: %1", "Example value: %1"},
    {"Noch nicht aus dem Controller gelesen", "Not yet read from the controller"},
    {"mm/sek", "mm/s"},
    // The record of changes.
    {"Seite %1", "Page %1"},
    {"Wiederherstellung aus %1", "Restore from %1"},
    {"Schlüssel", "Key"},
    {"Vorher", "Before"},
    {"Nachher", "After"},
    {"Arbeitsplatz", "Workstation"},
    {"Herkunft", "Origin"},
    {"Die Änderungen wurden lokal aufgezeichnet.", "The changes were recorded locally."},
    {"Dauerhaft gespeichert: %1", "Saved permanently: %1"},
    {"Letzter Übertragungsfehler", "Last communication error"},
    {"Kunde", "Customer"},
    {"Zuletzt geändert: %1 von %2 (%3)", "Last changed: %1 by %2 (%3)"},
    {"unbekannt", "unknown"},
    {"Pulse", "Pulses"},
    {"Das Logo %1 ist kein lesbares Bild; der Bericht wird ohne Logo gedruckt.",
     "The logo %1 is no readable image; the report is printed without it."},
    {"Standort", "Site"},
    {"Maschine", "Machine"},
    {"Auftragsnummer", "Order number"},
    {"Austausch", "Replacement"},
    {"Änderungen während des Besuchs", "Changes during the visit"},
    {"Quelle: Controller", "Source: controller"},
    {"Datei", "File"},
    {"Geschriebene Einstellungen", "Settings written"},
    {"Prüfung", "Verification"},
    {"alle stimmen überein", "all match"},
    {"%1 weichen ab", "%1 do not match"},
    {"abgebrochen", "aborted"},
    {"Seriennummer %1, BIOS %2", "serial number %1, BIOS %2"},
    // The status line.
    {"%1 = %2 gesendet, gelesen %3 — noch nicht dauerhaft gespeichert (F5)",
     "%1 = %2 sent, read back %3 — not yet saved permanently (F5)"},
    {"%1 dauerhaft gespeichert", "%1 saved permanently"},
    {"Kanal %1 (%2) gesendet und gelesen; der Controller hält es sofort",
     "Channel %1 (%2) sent and read back; the controller keeps it at once"},
    {" und ", " and "},
    {"Sicherung gespeichert: %1", "Backup saved: %1"},
    {"Wiederhergestellt aus %1", "Restored from %1"},
    {"Wiederherstellung aus %1 mit Abweichungen", "Restore from %1 with differences"},
    {"Bericht gespeichert: %1", "Report saved: %1"},
    {"Logbuch gespeichert: %1", "Logbook saved: %1"},
    {"Historie: Element %1 dieses Durchgangs wird gelesen",
     "History: reading element %1 of this pass"},
    {"Durchgang beendet: %1 Einträge", "Pass finished: %1 entries"},
    {"Durchgang beendet: %1 Einträge, weitere folgen", "Pass finished: %1 entries, more to follow"},
    {"Lesen gestoppt: %1 Einträge", "Reading stopped: %1 entries"},
    {"Trennen", "Disconnect"},
    {"%1 von %2 Einstellungen verschieden", "%1 of %2 settings differ"},
    {"Alle Einstellungen zeigen", "Show all settings"},
    {"Verbunden, BIOS %1", "Connected, BIOS %1"},
    {"Demonstration ohne Controller: alle Werte sind Beispielwerte",
     "Demonstration without a controller: all values are examples"},
    {"Kein Programm zum Öffnen von %1 gefunden; bitte einen PDF- bzw. Textbetrachter installieren.",
     "No program found to open %1; please install a PDF or text viewer."},
    {"Verbindung zu R73 %1 getrennt", "Disconnected from R73 %1"},
    {"Es ist noch keine Historie gelesen: \"Lesen\" auf der Seite LOGBUCH liest sie.",
     "No history has been read yet: \"Read\" on the page LOG reads it."},
    // The trend window and recorder.
    {"Aufzeichnung läuft: %1", "Recording: %1"},
    {"Aufzeichnung beendet: %1", "Recording stopped: %1"},
    // A backup opened as an offline controller.
    {"Offline öffnen …", "Open offline …"},
    {"Offline öffnen", "Open offline"},
    {"Speichern unter …", "Save as …"},
    {"Speichern unter", "Save as"},
    {"Es wurde nichts geöffnet.", "Nothing was opened."},
    {"Offline: %1", "Offline: %1"},
    {"Offline geöffnet: %1 (kein Controller, keine Schnittstelle)",
     "Opened offline: %1 (no controller, no serial port)"},
    {"Die BIOS-Version %1 kennt dieses Programm nicht: die Sicherung ist nur zum Ansehen "
     "geöffnet.",
     "This program does not know BIOS version %1: the backup is open for viewing only."},
    {"Offline bearbeitet gespeichert: %1 (aus %2)", "Saved as edited offline: %1 (from %2)"},
    {"Die offline geänderten Einstellungen sind in keiner Datei gespeichert.\n\nJetzt "
     "speichern?",
     "The settings changed offline are not saved in any file.\n\nSave them now?"},
    {"kein Dateiname", "no file name"},
    {"Offline", "Offline"},
    {"Offline ist kein Controller verbunden: ein Servicebericht entsteht nur am Controller.",
     "Offline no controller is connected: a service report is made at a controller only."},
};

/// The supplement's English twin of german, nullptr when it has none.
const char* addedTwin(const QString& german)
{
    for (const auto& [de, en] : AddedTexts)
        if (german.compare(QString::fromUtf8(de), Qt::CaseInsensitive) == 0) return en;
    return nullptr;
}

QString addedText(const QString& german)
{
    const char* en = addedTwin(german);
    return en ? QString::fromUtf8(en) : german;
}

} // namespace

QString Translate(int offset, const QString& german)
{
    if (CurrentLanguage == 0) return german;
    if (offset == OwnText) {
        if (CurrentLanguage == 1)
            if (const char* en = addedTwin(german)) return QString::fromUtf8(en);
        offset = 0;
    }
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

QString EnglishText(const QString& text)
{
    if (const char* en = addedTwin(text)) return QString::fromUtf8(en);
    for (qsizetype i = 0; i < GermanTexts.size() && i < EnglishTexts.size(); ++i)
        if (GermanTexts.at(i).compare(text, Qt::CaseInsensitive) == 0) return EnglishTexts.at(i);
    return text;
}

QString TextFromEnglish(const QString& text)
{
    // Exact matches only: the English twins differ from their German texts in letter case too.
    QString german = text;
    bool found = false;
    for (const auto& [de, en] : AddedTexts)
        if (text == QString::fromUtf8(en)) {
            german = QString::fromUtf8(de);
            found = true;
            break;
        }
    for (qsizetype i = 0; !found && i < EnglishTexts.size() && i < GermanTexts.size(); ++i)
        if (EnglishTexts.at(i) == text) {
            german = GermanTexts.at(i);
            found = true;
        }
    return Translate(OwnText, german);
}

QLocale LanguageLocale()
{
    const QLocale::Language language = CurrentLanguage == 1 ? QLocale::English : QLocale::German;
    return QLocale().language() == language ? QLocale() : QLocale(language);
}

QString fullYearFormat(const QLocale& locale, bool withTime)
{
    QString format = withTime ? locale.dateTimeFormat(QLocale::ShortFormat)
                              : locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

} // namespace r73
