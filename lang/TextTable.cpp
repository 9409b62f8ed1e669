#include "TextTable.h"

#include "TextHook.h"
#include "Translate.h"

#include <iterator>

namespace r73 {

namespace {

struct TextPair
{
    const char* german;
    const char* english;
};

// Letter for letter as the program has always shown them, typos and blanks included: callers
// look texts up by their German wording, and operators know the English wording.
constexpr TextPair Table[] = {
    {"", ""},                                                                    // 0
    {"---", "---"},                                                              // 1
    {"&Abbruch", "&Cancel"},                                                     // 2
    {"&Abbrechen", "&Cancel"},                                                   // 3
    {"&Lesen", "&Read"},                                                         // 4
    {"&OK", "&OK"},                                                              // 5
    {"&Verbinden", "&Connect"},                                                  // 6
    {"&Schnittstelle", "&Interface"},                                            // 7
    {"&Schliessen", "&Close"},                                                   // 8
    {"[Pulse]", "[Pulses]"},                                                     // 9
    {" Demo-Version", " Demo-Version"},                                          // 10
    {" kann nicht erstellt werden!", " can not be created"},                     // 11
    {" gespeichert !", " saved !"},                                              // 12
    {" Schnittstelle: Fehler!", " Interface: Error"},                            // 13
    {" Schnittstelle: Com1", " Interface: Com1"},                                // 14
    {" Schnittstelle: Com2", " Interface: Com2"},                                // 15
    {" Schnittstelle: Com3", " Interface: Com3"},                                // 16
    {" Schnittstelle: Com4", " Interface: Com4"},                                // 17
    {" : inaktiv", " : not active"},                                             // 18
    {" : aktiv", " : active"},                                                   // 19
    {"Abweichung neg. [Pulse]", "Deviation neg. [Pulses]"},                      // 20
    {"Abweichung pos. [Pulse]", "Deviation pos. [Pulses]"},                      // 21
    {"aktiv", "active"},                                                         // 22
    {"ANALOG", "ANALOGE"},                                                       // 23
    {"ANALOG ERR", "ANALOGE ERR"},                                               // 24
    {"ANALOG OK", "ANALOGE OK"},                                                 // 25
    {"ANALOGWERTE", "ANALOGE VALUES"},                                           // 26
    {"Bios-Version", "Bios-Version"},                                            // 27
    {"COM&1", "COM&1"},                                                          // 28
    {"COM&2", "COM&2"},                                                          // 29
    {"COM&3", "COM&3"},                                                          // 30
    {"COM&4", "COM&4"},                                                          // 31
    {" kann nicht gespeichert werden!", " can not be saved"},                    // 32
    {"Datei: ", " File: "},                                                      // 33
    {"Daten werden gedruckt !", "Printing Data"},                                // 34
    {"Datum : ", "Date : "},                                                     // 35
    {"Dauer [ms]", "Duration [ms]"},                                             // 36
    {"&Drucken", "&Print"},                                                      // 37
    {"&Deutsch", "&German"},                                                     // 38
    {"&Englisch", "&English"},                                                   // 39
    {"Ergebnis", "Result"},                                                      // 40
    {"Ergebnis:", "Result:"},                                                    // 41
    {"ext. Anwahl", "ext. State"},                                               // 42
    {"F_Max  [0,1 Hz]", "F_Max  [0,1 Hz]"},                                      // 43
    {"F_Schleich [0,1 Hz]", "F_Sneak [0,1 Hz]"},                                 // 44
    {"F4:SENDEN", "F4:SEND"},                                                    // 45
    {"F5:SPEICHERN", "F5:SAVE"},                                                 // 46
    {"F6:DATEI/DRUCK", "F6:FILE/PRINT"},                                         // 47
    {"F7:VERBINDEN", "F7:CONNECT"},                                              // 48
    {"F7:BEENDEN", "F7:END"},                                                    // 49
    {"Fehler", "Error"},                                                         // 50
    {"R73-Funktion nicht gefunden: ", "R73-Function not found: "},               // 51
    {"Frequenz  [0,1 Hz]", "Frequence  [0,1 Hz]"},                               // 52
    {"HYDRAULIKÜBERWACHUNG", "HYDRAULIC CHECK"},                                 // 53
    {"IDLE", "IDLE"},                                                            // 54
    {"int.  Zustand", "int. State"},                                             // 55
    {"R73-Controller", "R73-Controller"},                                        // 56
    {"R73-Controller Online!", "R73-Controller Online!"},                        // 57
    {"R73-Controller: Speichern und Drucken", "R73-Controller: Save and Print"}, // 58
    {"Kommunikation mit dem R73-Controller gestört! Programm wird beendet! Bitte neu starten!",
     "Communication with R73-Controller failed! Program will be stopped! Please restart!"}, // 59
    {"kein Werkzeug", "NO TOOL"},                                                           // 60
    {"KURZ", "Short"},                                                                      // 61
    {"kurz", "short"},                                                                      // 62
    {"Kurz [Pulse]", "Short [Pulses]"},                                                     // 63
    {"LANG", "LONG"},                                                                       // 64
    {"lang", "long"},                                                                       // 65
    {"Lang [Pulse]", "Long [Pulses]"},                                                      // 66
    {"Last ComErr:", "Last ComErr:"},                                                       // 67
    {"LECKAGE", "LEAKAGE"},                                                                 // 68
    {"LESEN", "READ"},                                                                      // 69
    {"Lesen", "Read"},                                                                      // 70
    {"LÖSEN", "RELEASE"},                                                                   // 71
    {"LÖSEN", "RELEASE"},                                                                   // 72
    {"Lösen", "Release"},                                                                   // 73
    {"Lösen [Pulse]", "Release [Pulses]"},                                                  // 74
    {"Lösen [Pulse]", "Release [Pulses]"},                                                  // 75
    {"Löseabweichung [Pulse]", "Release Deviation [Pulses]"},                               // 76
    {"Lösen: Speichern EEPROM", "Release: Save EEPROM"},                                    // 77
    {"Lö&schen", "&Delete"},                                                                // 78
    {"LOGBUCH", "LOG"},                                                                     // 79
    {"LOGBUCH liest nicht", "LOG does not read"},                                           // 80
    {"LOGBUCH nicht eingeschaltet", "LOG not active"},                                      // 81
    {"Logbuch nur ab R73-Bios-Version 2.08", "Log only from R73-Bios-Version 2.08"},        // 82
    {"M-Status", "M-Status"},                                                               // 83
    {"Mindestmesszeit [ms]", "Min. time of Measure [ms]"},                                  // 84
    {"Mit ENTER oder F4 bestätigen", "Confirm with ENTER or F4"},                           // 85
    {"Nicht geändert", "Not changed"},                                                      // 86
    {"Nur Zahlen erlaubt", "Numbers Only"},                                                 // 87
    {"Nr", "No"},                                                                           // 88
    {"OK", "OK"},                                                                           // 89
    {"ok", "ok"},                                                                           // 90
    {"PLANANLAGE", "FLAT"},                                                                 // 91
    {"Plananlage: Speichern EEPROM", "Flat: Save EEPROM"},                                  // 92
    {"Pulse", "Pulses"},                                                                    // 93
    {"Pulse Lösen", "Pulses Release"},                                                      // 94
    {"Pulse Spannen", "Pulses Clamp"},                                                      // 95
    {"S&peichern", "&Save"},                                                                // 96
    {"Schnittstelle", "Interface"},                                                         // 97
    {"Schnittstelle: COM1", "Interface: COM1"},                                             // 98
    {"Schnittstelle: COM2", "Interface: COM2"},                                             // 99
    {"Schnittstelle: COM3", "Interface: COM3"},                                             // 100
    {"Schnittstelle: COM4", "Interface: COM4"},                                             // 101
    {"Schnittstelle nicht verfügbar!", "Interface not available!"},                         // 102
    {"Schwelle [ms]", "Threshold [ms]"},                                                    // 103
    {"Schwelle [mm/sek]", "Threshold [mm/sec]"},                                            // 104
    {"SCHWINGUNG", "VIBRATION"},                                                            // 105
    {"Schwingung ", "Vibration "},                                                          // 106
    {"Frequenz", "Frequence"},                                                              // 107
    {"Schwingung: Speichern EEPROM", "Vibartion: Save EEPROM"},                             // 108
    {"Schwingung [mm/sek]", "Vibration  [mm/sec]"},                                         // 109
    {"SENDEN", "SEND"},                                                                     // 110
    {"Ser. Nr.", "Ser. No."},                                                               // 111
    {"SERVICE", "SERVICE"},                                                                 // 112
    {"Service Informationen", "Service information"},                                       // 113
    {"SPANNEN", "CLAMP"},                                                                   // 114
    {"Spannen", "Clamp"},                                                                   // 115
    {"Spannen [Pulse]", "Clamp [Pulses]"},                                                  // 116
    {"Spannen: Speichern EEPROM", "Clamp: Save EEPROM"},                                    // 117
    {"Spannen ohne Werkzeug", "Clamp without tool"},                                        // 118
    {"Spannen ohne Werkzeug wurde verändert", "Clamp without tool has been changed"},       // 119
    {"Spannen ohne Werkzeug muß größer sein als Lang",
     "Clamp without tool must be lager than Long"},                                     // 120
    {"SPEICHERN", "SAVE"},                                                              // 121
    {"Speichern", "Save"},                                                              // 122
    {"S&prache", "&Language"},                                                          // 123
    {"Sprache", "Language"},                                                            // 124
    {"Sprachauswahl", "Language Selection"},                                            // 125
    {"START", "START"},                                                                 // 126
    {"STOP", "STOP"},                                                                   // 127
    {"Stop", "Stop"},                                                                   // 128
    {"Stopfreq [ms]", "Stopfreq [ms]"},                                                 // 129
    {"SW-Version: ", "SW-Version: "},                                                   // 130
    {"T_Dauer  [ms]", "T_Duration [ms]"},                                               // 131
    {"Test beendet", "Test end"},                                                       // 132
    {"TEST OK", "TEST OK"},                                                             // 133
    {"TIMEOUT", "TIMEOUT"},                                                             // 134
    {"timeout", "timeout"},                                                             // 135
    {"Timeout [ms]", "Timeout [ms]"},                                                   // 136
    {"VERBINDEN", "CONNECTING"},                                                        // 137
    {"Verbindung", "Connection"},                                                       // 138
    {"Verbindung zum R73 trennen!", "Disconnect R73 Interface!"},                       // 139
    {"Verzeichnis ", "Directory "},                                                     // 140
    {"weiter mit TAB", "Continue with TAB"},                                            // 141
    {"xx", "xx"},                                                                       // 142
    {"Zähler1", "Counter1"},                                                            // 143
    {"Zähler2", "Counter2"},                                                            // 144
    {"ZEITEN", "TIMES"},                                                                // 145
    {"ZU KURZ", "TO SHORT"},                                                            // 146
    {"ZU LANG", "TO LONG"},                                                             // 147
    {"Meßbereich", "Range"},                                                            // 148
    {"Maximum", "Maximum"},                                                             // 149
    {"Minimum", "Minimum"},                                                             // 150
    {"Grenzwerte", "Limits"},                                                           // 151
    {"Max2", "Max2"},                                                                   // 152
    {"Max1", "Max1"},                                                                   // 153
    {"Min1", "Min1"},                                                                   // 154
    {"Min2", "Min2"},                                                                   // 155
    {"Beschreibung", "Description"},                                                    // 156
    {"Bezeichnung", "Name"},                                                            // 157
    {"physikalische Einheit", "physical unit"},                                         // 158
    {"Parametrierung", "Parameters"},                                                   // 159
    {"Kanal aktiv", "Channel active"},                                                  // 160
    {"Eingangspegel", "Input range"},                                                   // 161
    {"F1: <<", "F1: <<"},                                                               // 162
    {"F2: >>", "F2: >>"},                                                               // 163
    {"Analog1 nur ab R73-Bios-Version 3.00", "Analoge1 require R73-Bios_Version 3.00"}, // 164
    {"Analog2 nur ab R73-Bios-Version 3.00", "Analoge2 require R73-Bios_Version 3.00"}, // 165
    {"Analog3 nur ab R73-Bios-Version 3.00", "Analoge3 require R73-Bios_Version 3.00"}, // 166
    {"Analogwerte nur ab R73-Bios-Version 3.00",
     "Analoge values require R73-Bios_Version 3.00"},                                      // 167
    {"Die Zahl aus dem R73 ist keine gültige Floatzahl!", "No valid real value from R73"}, // 168
    {"Physikalisches Minimum", "physical minimum"},                                        // 169
    {"Physikalisches Maximum", "physical maximum"},                                        // 170
    {"Bitte geben Sie die Bezeichnung ein!", "Please enter name"},                         // 171
    {"Das Minimum darf nicht größer als das Maximum sein!",
     "Minimum must not exceed maximum"}, // 172
    {"Das Maximum darf nicht kleiner als das Minimum sein!",
     "Maximum must not exceed minimum"},                                   // 173
    {"Falscher Meßbereich", "wrong range"},                                // 174
    {"Die Zahl liegt ausserhalb des Meßbereichs!", "Number out of range"}, // 175
};

static_assert(std::size(Table) == TextTableRows);

} // namespace

void BuildTextTable()
{
    // Filling afresh rather than appending keeps the rows numbered from 0 if a main window is
    // made a second time in one process.
    GermanTexts.clear();
    EnglishTexts.clear();
    for (const TextPair& pair : Table) {
        GermanTexts.append(QString::fromUtf8(pair.german));
        EnglishTexts.append(QString::fromUtf8(pair.english));
    }
    setTranslateFunction(&Translate);
    setFileTextFunctions(&EnglishText, &TextFromEnglish);
}

void ReleaseTextTable()
{
    GermanTexts.clear();
    EnglishTexts.clear();
    ThirdTexts.clear();
}

} // namespace r73
