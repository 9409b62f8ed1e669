#pragma once
/// The service report and the archive's counters of one controller as the model holds it, in
/// the pages' captions and number formats: the same document whether the window or r73ctl made
/// the readings. Qt Core and Gui only.

#include "ControllerModel.h"
#include "Exchanger.h"
#include "ServiceReport.h"

#include <QList>
#include <QPair>
#include <optional>

namespace r73::report {

using r73::LastCommError;

/// The report of the model's controller; technician and remarks are left to the caller.
ServiceReport reportOf(const model::ControllerModel& model, const LastCommError& commError = {});

/// The history elements the model holds, highest number first, in the columns of the page
/// "LOGBUCH" without type and subtype.
Table historyOf(const model::ControllerModel& model);

/// The service counters as the page shows them (by the rule of the service values, the
/// vibration in mm/s) and the highest history number when the history was read; keys of
/// archive::counterDefs().
QList<QPair<QString, double>> countersOf(const model::ControllerModel& model);

} // namespace r73::report
