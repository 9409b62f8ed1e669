#pragma once
/// The record of changes made of what a restore and a permanent save did, for the window and
/// r73ctl alike.

#include "Archive.h"
#include "Restore.h"

namespace r73::archive {

/// A restore's writes, each with the controller's value before it and the one read back;
/// origin and source say where it was run (the window's restore of a file, r73ctl).
QList<Change> restoreChanges(const backup::Plan& plan, const backup::Outcome& outcome,
                             const QString& origin, const QString& source);
/// A permanent save of sets.
Change saveChange(const QList<SetId>& sets, const QString& origin, const QString& source);
/// Names the controller and the technician in each change.
void stamp(QList<Change>& changes, const backup::Identity& id, const QString& technician);

} // namespace r73::archive
