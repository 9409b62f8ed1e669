// r73ctl restore FILE [--save] [--yes]: compares, and with --yes writes what differs, reads
// everything back and prints the verification report.

#include "BackupFile.h"
#include "SettingsCommands.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace r73::cli {

int runRestore(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 1) return BadUsage;
    const QString path = args[0];
    // A file that is refused is refused before the line is touched.
    backup::Snapshot file;
    if (!loadFile(path, file)) return Refused;
    // No write without a record of it: a journal that cannot be written refuses the restore
    // before the line is touched.
    const bool writing = parser.isSet(yesOption());
    backup::Journal journal;
    const QString journalPath = path + QStringLiteral(".restore.log");
    if (writing && !journal.open(journalPath, QStringLiteral("restore of %1").arg(path)))
        return fail(QStringLiteral("cannot write the journal %1: %2; nothing written")
                        .arg(journalPath, journal.reason()));
    Session session;
    backup::Snapshot current;
    if (!readController(session, current)) return Failed;
    const backup::Plan plan = backup::planRestore(file, current);
    printLines(backup::comparisonLines(plan, path, QStringLiteral("controller"), true));
    QTextStream out(stdout);
    if (!writing) {
        out << "nothing written (add --yes to write the " << plan.toWrite()
            << " differing settings)" << Qt::endl;
        return Done;
    }
    const backup::Identity target = current.id;
    if (!plan.identityDifferences.isEmpty()) {
        const QString named =
            QStringLiteral("%1:%2").arg(target.serial).arg(backup::versionText(target.bios));
        if (parser.value(confirmIdentityOption()) != named)
            return refuse(plan.identityDifferences.join(QStringLiteral("; ")) +
                          QStringLiteral("; to restore anyway add --confirm-identity ") + named);
    }
    backup::LinkController controller(session, target);
    const backup::Outcome outcome = backup::restore(controller, plan, &journal);
    printLines(backup::reportLines(outcome, path, target));
    if (!outcome.journalError.isEmpty())
        return fail(QStringLiteral("cannot write the journal %1: %2; restore stopped, see the "
                                   "report above")
                        .arg(journalPath, outcome.journalError));
    if (outcome.aborted) return fail(session.failure() + QStringLiteral("; see the report above"));
    if (outcome.mismatches > 0) return Mismatch;
    if (parser.isSet(saveOption()) && !outcome.written.isEmpty()) {
        const backup::Saved saved = backup::saveChangedSets(controller, outcome, &journal);
        printLines(backup::saveLines(saved));
        if (!saved.complete())
            return fail((controller.failed() ? session.failure()
                                             : QStringLiteral("cannot write the journal %1: %2")
                                                   .arg(journalPath, saved.journalError)) +
                        QStringLiteral("; the permanent save broke off, see above"));
        out << "saved permanently" << Qt::endl;
    }
    return Done;
}

} // namespace r73::cli
