#pragma once
/// The service report and the archive's counters, taken from what the main window shows.

#include "Archive.h"
#include "ServiceReport.h"

#include <QList>
#include <QStringList>

class QTreeWidget;
class TForm1;

namespace r73 {

/// The report of the connected controller; the window's captions are in its language already.
report::ServiceReport reportFromWindow(TForm1& window);

/// The service counters as the service page shows them, with the highest history number when
/// the history was read.
QList<QPair<QString, double>> countersFromWindow(TForm1& window);

/// The history list with its captions, without the hidden type and subtype.
report::Table historyTable(const QTreeWidget* list);

} // namespace r73
