// r73ctl backup [FILE]: reads every setting and writes the backup file.

#include "BackupFile.h"
#include "SettingsCommands.h"

#include <QDir>
#include <QTextStream>

namespace r73::cli {

int runBackup(const QStringList& args, const QCommandLineParser&)
{
    if (args.size() > 1) return BadUsage;
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
    QTextStream(stdout) << "file=" << path << '\n'
                        << "settings=" << snapshot.values.size() << Qt::endl;
    return Done;
}

} // namespace r73::cli
