// r73ctl params: every setting of the connected controller as name=value, or as a backup file.

#include "BackupFile.h"
#include "SettingsCommands.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace r73::cli {

int runParams(const QStringList& args, const QCommandLineParser& parser)
{
    // A backup file's settings are listed as a controller's are, without one.
    if (args.size() > 1 || (args.isEmpty() && !parser.isSet(QStringLiteral("device"))))
        return BadUsage;
    backup::Snapshot snapshot;
    if (!args.isEmpty()) {
        if (!loadFile(args.first(), snapshot)) return Refused;
    } else {
        Session session;
        if (!readController(session, snapshot)) return Failed;
    }
    if (parser.isSet(jsonOption())) {
        QTextStream(stdout) << backup::toJson(snapshot);
        return Done;
    }
    QStringList lines;
    for (const backup::Setting& s : backup::allSettings())
        if (snapshot.values.contains(s.key))
            lines << s.key + u'=' + backup::shown(s, snapshot.values.value(s.key));
    printLines(lines);
    return Done;
}

} // namespace r73::cli
