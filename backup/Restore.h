#pragma once
/// Comparing a backup with a controller (or two backups), and restoring it: only the settings
/// that differ are written, with the pages' send sequences and rules, then everything is read
/// back and each written setting verified. A journal records every write as it happens, so a
/// restore that fails half-way leaves a record of what was written.

#include "Controller.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace r73::backup {

enum class Action {
    Same,       ///< the controller already holds it
    Write,      ///< differs: the restore writes it
    NotOffered, ///< the target's BIOS does not offer it: skipped
    NotInFile,  ///< the file's BIOS did not offer it: nothing to restore
    Refused,    ///< a page's rule forbids sending it: skipped, with the reason
};

struct PlanItem
{
    const Setting* setting = nullptr;
    Action action = Action::Same;
    std::optional<Value> file;   ///< in the backup
    std::optional<Value> target; ///< in the controller (or the second file)
    Value intended;              ///< what a write sends
    QString note;                ///< why it is skipped, or how the rule changed the value
};

struct Plan
{
    /// Another serial number or BIOS version, in words; empty when the identities match.
    QStringList identityDifferences;
    QList<PlanItem> items; ///< every setting, in the order of a restore
    int toWrite() const;
    bool differs() const { return toWrite() > 0 || !identityDifferences.isEmpty(); }
};

/// Compares file with target: what a restore of file onto target would do.
Plan planRestore(const Snapshot& file, const Snapshot& target);

/// The comparison as text: identity differences on top, then one row per setting with the
/// file's value, the target's value and whether they differ. onlyDifferent leaves out equal rows.
QStringList comparisonLines(const Plan& plan, const QString& fileLabel, const QString& targetLabel,
                            bool onlyDifferent = false);

struct Verified
{
    const Setting* setting = nullptr;
    Value intended;
    std::optional<Value> readBack; ///< none when the restore broke off before the read-back
    bool ok = false;
};

struct Outcome
{
    QList<Verified> written; ///< in the order written
    QList<PlanItem> skipped; ///< NotOffered and Refused
    bool aborted = false;    ///< a call failed: the restore stopped there
    int mismatches = 0;
    bool clean() const { return !aborted && mismatches == 0; }
    /// The sets with a written setting, for the permanent save.
    QList<SetId> changedSets() const;
};

/// Writes what the plan marks, then reads everything back and verifies. journal (may be empty)
/// gets one line before and after each write, flushed at once.
Outcome restore(Controller& controller, const Plan& plan, const QString& journal = {});
/// The permanent saves of the changed sets; only for a clean outcome.
void saveChangedSets(Controller& controller, const Outcome& outcome);

/// The verification report: header (file, controller, time), each written setting with intended
/// value, value read back and OK or MISMATCH, the skipped settings, and the verdict.
QStringList reportLines(const Outcome& outcome, const QString& fileName, const Identity& target);

} // namespace r73::backup
