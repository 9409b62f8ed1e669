// r73ctl diff FILE [FILE2]: a backup against the connected controller, or two backups.

#include "SettingsCommands.h"

#include <QCommandLineParser>

namespace r73::cli {

namespace {

/// Whether the comparison shows a difference: another identity, or any setting the listing does
/// not call equal (a setting offered by neither side is not listed).
bool anyDifference(const backup::Plan& plan)
{
    if (!plan.identityDifferences.isEmpty()) return true;
    for (const backup::PlanItem& i : plan.items)
        if (i.action != backup::Action::Same && (i.action != backup::Action::NotInFile || i.target))
            return true;
    return false;
}

} // namespace

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
    const backup::Plan plan = backup::planRestore(file, other, args.size() == 2);
    printLines(backup::comparisonLines(plan, args[0], otherLabel));
    return anyDifference(plan) ? Mismatch : Done;
}

} // namespace r73::cli
