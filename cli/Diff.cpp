// r73ctl diff FILE [FILE2]: a backup against the connected controller, or two backups.

#include "SettingsCommands.h"

#include <QCommandLineParser>

namespace r73::cli {

int runDiff(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.isEmpty() || args.size() > 2) return BadUsage;
    if (args.size() == 1 && !parser.isSet(QStringLiteral("device"))) return BadUsage;
    backup::Snapshot file, other;
    if (!loadFile(args[0], file)) return Refused;
    QString otherLabel = QStringLiteral("controller");
    if (args.size() == 2) {
        if (!loadFile(args[1], other)) return Refused;
        otherLabel = args[1];
    } else {
        Session session;
        if (!readController(session, other)) return Failed;
    }
    printLines(backup::comparisonLines(backup::planRestore(file, other, args.size() == 2), args[0],
                                       otherLabel));
    return Done;
}

} // namespace r73::cli
