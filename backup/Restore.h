#pragma once
/// Comparing a backup with a controller (or two backups), and restoring it: only the settings
/// that differ are written, with the pages' send sequences and rules, then everything is read
/// back and each written setting verified. A journal records every write as it happens, so a
/// restore that fails half-way leaves a record of what was written.

#include "Controller.h"
#include "SafeFile.h"

#include <QDate>
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

/// A set's caption in the current language ("SPANNEN"), and several joined by commas.
QString setName(SetId set);
QString setNames(const QList<SetId>& sets);

struct PlanItem
{
    const Setting* setting = nullptr;
    Action action = Action::Same;
    std::optional<Value> file;   ///< in the backup
    std::optional<Value> target; ///< in the controller (or the second file)
    Value intended;              ///< what a write sends
    QString note;                ///< why it is skipped, or how the rule changed the value
    /// The clamp-without-tool limit raised past the long limit, as the page's rule demands.
    bool raised = false;
};

struct Plan
{
    /// Another serial number or BIOS version, in words; empty when the identities match.
    QStringList identityDifferences;
    QList<PlanItem> items; ///< every setting, in the order of a restore
    quint16 bios = 0;      ///< the target's: its pages' captions name the settings
    int toWrite() const;
    bool differs() const { return toWrite() > 0 || !identityDifferences.isEmpty(); }
};

/// Compares file with target: what a restore of file onto target would do. A second file as
/// target (targetIsFile) is compared only: nothing is held or raised, since nothing is sent.
Plan planRestore(const Snapshot& file, const Snapshot& target, bool targetIsFile = false);

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
    std::optional<Value> file; ///< the file's value, when the rule held or raised it
    bool raised = false;
};

/// The restore's record on disk: each line written unbuffered and checked, so a restore knows
/// at once when its record stops and goes no further.
class Journal
{
public:
    /// Opens path for appending and writes the first line; false (and reason()) when it cannot.
    bool open(const QString& path, const QString& firstLine);
    /// One line with the time in front; false once a write failed.
    bool note(const QString& text);
    bool failed() const { return !m_reason.isEmpty(); }
    QString reason() const { return m_reason; }
    QString path() const { return m_file.path(); }

private:
    GrowingFile m_file;
    QString m_reason;
};

struct Outcome
{
    QList<Verified> written; ///< in the order written
    QList<PlanItem> skipped; ///< NotOffered and Refused
    bool aborted = false;    ///< a call failed: the restore stopped there
    /// The journal could not be written: the restore stopped before the next write.
    QString journalError;
    int mismatches = 0;
    bool clean() const { return !aborted && journalError.isEmpty() && mismatches == 0; }
    /// The sets with a written setting, for the permanent save.
    QList<SetId> changedSets() const;
};

/// Writes what the plan marks, then reads everything back and verifies. journal (open, or null
/// for none) gets one line before and after each write; when a line cannot be written the
/// restore writes nothing more.
Outcome restore(Controller& controller, const Plan& plan, Journal* journal = nullptr);

struct Saved
{
    QList<SetId> saved;    ///< kept permanently
    QList<SetId> notSaved; ///< changed, but not saved: the save broke off before or at them
    QString journalError;
    bool complete() const { return notSaved.isEmpty(); }
};
/// The permanent saves of the changed sets, each recorded in journal as it happens; only for a
/// clean outcome. Stops at the first failed call or journal line.
Saved saveChangedSets(Controller& controller, const Outcome& outcome, Journal* journal = nullptr);
/// What a save that broke off kept and did not keep, in words; empty when it was complete.
QStringList saveLines(const Saved& saved);

/// The verification report: header (file, controller, time), each written setting with intended
/// value, value read back and OK or MISMATCH, the skipped settings, and the verdict.
QStringList reportLines(const Outcome& outcome, const QString& fileName, const Identity& target);
/// The proposed path of the verification report in folder: named after the controller it
/// verifies, as its backups are ("1234_20261210_report.txt"), whichever file was restored.
QString proposedReportName(const QString& folder, const Identity& target,
                           const QDate& date = QDate::currentDate());
/// Writes the verification report whole: UTF-8 with a byte order mark and CR LF, so that the
/// captions and channel texts keep every character and the editors of a Windows workstation,
/// which take a file without the mark for its code page, show them as written.
bool writeReport(const QString& path, const QStringList& lines, QString* error);

} // namespace r73::backup
