#pragma once
/// The logbook text: identification, date and time, every parameter the main window shows, the
/// analog channels, the inputs and outputs, the status texts and the history list, one line
/// each, as the window shows them at that moment.

#include <QStringList>
#include <functional>

class QLabel;
class QWidget;

namespace r73 {

/// TAB, the lamp's caption, then " : aktiv" when it is lit, " : inaktiv" when it shows the
/// colour of a switched-off lamp (translated).
QString IoStateLine(const QLabel* lamp);

/// Composes the logbook from the main window. With BIOS 3.00 and later readAnalog(1..3) first
/// reads the channels back into their pages. An empty history list asks whether to go on;
/// *confirmed becomes false when the operator cancels, the text is complete all the same.
QStringList ComposeLogbuch(QWidget* window, const std::function<void(int)>& readAnalog,
                           bool* confirmed);

} // namespace r73
