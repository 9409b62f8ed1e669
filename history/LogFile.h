#pragma once
/// The logbook file: its proposed name, the program's date format that the proposal changes,
/// and writing the lines in Windows code page 1252 with CR LF.

#include <QDate>
#include <QString>
#include <QStringList>

namespace r73 {

/// The program's short date format: the user's regional one until ProposeLogFileName sets
/// "yyyy.MM.dd" for the rest of the run.
QString shortDateFormat();
/// For a fresh start within one process (tests).
void resetShortDateFormat();
/// The user's regional long time format, without a time zone.
QString longTimeFormat();

/// serial_yyyymmdd.log, or serial_yyyymmdd_n.log with the smallest n whose file does not exist
/// yet, where the plain name exists in the working folder or in "Log". Sets the program's
/// short date format to "yyyy.MM.dd".
QString ProposeLogFileName(const QString& serial, const QDate& today = QDate::currentDate());

/// Writes one line per entry, each ended by CR LF, in code page 1252; a character the code page
/// lacks is written as "?" and counted in replaced. The file appears whole or not at all: an
/// existing file is replaced only once the new one is completely written. False and the reason
/// when the file cannot be written.
bool writeLogFile(const QString& path, const QStringList& lines, QString* error = nullptr,
                  int* replaced = nullptr);

} // namespace r73
