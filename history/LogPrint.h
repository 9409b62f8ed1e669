#pragma once
/// The logbook on paper: plain text in a fixed-pitch font, one line per printer line, a new
/// page when one is full.

#include <QStringList>

class QPrinter;
class QWidget;

namespace r73 {

/// Sets the printer up through the print dialog (A4 unless the dialog says otherwise); true on
/// OK.
bool runPrintDialog(QWidget* owner, QPrinter& printer);

/// Prints the lines; false when the printer cannot be started or fails.
bool printLines(QPrinter& printer, const QStringList& lines);

} // namespace r73
