// r73ctl restore FILE [--save] [--yes]: compares, and with --yes writes what differs, reads
// everything back and prints the verification report. The archive keeps the restore's visit with
// the file, the journal and the report (FILE.report.txt), and every write with its value before
// and after.

#include "BackupFile.h"
#include "ChangeRecords.h"
#include "CommandRecord.h"
#include "SettingsCommands.h"
#include "TextHook.h"

#include <QCommandLineParser>
#include <QFileInfo>
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
    CommandRecord record;
    QString problem;
    if (writing && !record.open(&problem)) return fail(problem);
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
    QStringList report = backup::reportLines(outcome, path, target);
    printLines(report);
    const QString source = QStringLiteral("restore %1").arg(QFileInfo(path).fileName());
    record.changes(
        archive::restoreChanges(plan, outcome, QLatin1String(archive::OriginCli), source), target);
    // Recorded however it ended, with what it wrote; the report with the save's outcome too.
    const QString reportPath = path + QStringLiteral(".report.txt");
    const auto archived = [&](int code, const QStringList& more = {}) {
        report << more;
        QString why;
        QStringList files{path, journalPath};
        if (backup::writeReport(reportPath, report, &why)) files << reportPath;
        record.visit(current, archive::KindRestore, files);
        if (const QString problem = record.finish(); why.isEmpty()) why = problem;
        if (why.isEmpty()) return code;
        // A restore that did its work but is not on file is not done.
        if (code == Done) return fail(why);
        QTextStream(stderr) << "r73ctl: " << why << Qt::endl;
        return code;
    };
    if (!outcome.journalError.isEmpty())
        return archived(
            fail(QStringLiteral("cannot write the journal %1: %2; restore stopped, see the "
                                "report above")
                     .arg(journalPath, outcome.journalError)));
    if (outcome.aborted)
        return archived(fail(session.failure() + QStringLiteral("; see the report above")));
    if (outcome.mismatches > 0) return archived(Mismatch);
    if (!parser.isSet(saveOption()) || outcome.written.isEmpty()) return archived(Done);
    const backup::Saved saved = backup::saveChangedSets(controller, outcome, &journal);
    const QStringList lines = backup::saveLines(saved);
    printLines(lines);
    if (!saved.saved.isEmpty())
        record.changes(
            {archive::saveChange(saved.saved, QLatin1String(archive::OriginCli), source)}, target);
    if (!saved.complete())
        return archived(
            fail((controller.failed() ? session.failure()
                                      : QStringLiteral("cannot write the journal %1: %2")
                                            .arg(journalPath, saved.journalError)) +
                 QStringLiteral("; the permanent save broke off, see above")),
            lines);
    out << "saved permanently" << Qt::endl;
    return archived(Done, QStringList{QString(), tr73own("Dauerhaft gespeichert.")});
}

} // namespace r73::cli
