#pragma once
/// The service report and the archive's counters of the main window's controller model.

#include "Archive.h"
#include "ServiceReport.h"

#include <QList>
#include <QStringList>

class TForm1;

namespace r73 {

/// The report of the connected controller as the window's model holds it.
report::ServiceReport reportFromWindow(TForm1& window);

/// The service counters of the window's model, with the highest history number when the
/// history was read.
QList<QPair<QString, double>> countersFromWindow(TForm1& window);

} // namespace r73
