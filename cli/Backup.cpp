// r73ctl backup [FILE]: reads every setting and writes the backup file; names the items kept
// as the controller holds them (held_as_is=KEY: reason), which a restore skips; the archive
// keeps the file with a backup visit, as the window's backup does.

#include "BackupFile.h"
#include "CommandRecord.h"
#include "SettingsCommands.h"

#include <QDir>
#include <QTextStream>

namespace r73::cli {

int runBackup(const QStringList& args, const QCommandLineParser&)
{
    if (args.size() > 1) return BadUsage;
    CommandRecord record;
    QString problem;
    if (!record.open(&problem)) return fail(problem);
    Session session;
    backup::Snapshot snapshot;
    if (!readController(session, snapshot)) return Failed;
    QString path = args.value(0);
    if (path.isEmpty()) {
        // Beside "Log" in the working folder, named like the logbook.
        if (!QDir().mkpath(QLatin1String(backup::BackupFolder)))
            return fail(QStringLiteral("cannot make the folder %1").arg(backup::BackupFolder));
        path = backup::proposedName(QLatin1String(backup::BackupFolder), snapshot.id.serial);
    }
    QString error;
    if (!backup::saveBackup(path, snapshot, &error)) return fail(error);
    QTextStream out(stdout);
    out << "file=" << path << '\n' << "settings=" << snapshot.values.size() << '\n';
    // Kept as the controller holds them; a restore of the file skips them.
    for (const auto& [key, reason] : backup::heldItems(snapshot))
        out << "held_as_is=" << key << ": " << reason << '\n';
    out.flush();
    record.visit(snapshot, archive::KindBackup, {path});
    if (const QString why = record.finish(); !why.isEmpty()) return fail(why);
    return Done;
}

} // namespace r73::cli
