// "r73ctl archive list", "show SERIAL" and "changes SERIAL": the archive of the working folder
// (or the team's server its configuration names), for scripts.

#include "ArchiveCommand.h"

#include "Archive.h"
#include "ArchiveConfig.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace r73::cli {

int runArchive(const QStringList& args, const QCommandLineParser& parser)
{
    const bool list = args.size() == 1 && args[0] == QLatin1String("list");
    const bool show = args.size() == 2 && args[0] == QLatin1String("show");
    const bool changes = args.size() == 2 && args[0] == QLatin1String("changes");
    if (!list && !show && !changes) return BadUsage;
    archive::Location where;
    QString error;
    archive::Archive a;
    if (!archive::configuredLocation(&where, &error)) return fail(error);
    // Looking is no reason to make an empty archive here.
    if (!where.server() && !QFileInfo::exists(where.sqliteFile))
        return fail(QStringLiteral("no archive in this folder (%1)").arg(where.sqliteFile));
    if (!a.open(where, &error)) return fail(error);
    if (where.server() && QFile::exists(where.sqliteFile)) {
        // Visits kept here while the server was away go there first, once.
        archive::Archive local;
        archive::Location here;
        here.sqliteFile = where.sqliteFile;
        const int sent = local.open(here, &error) ? archive::sendUnsent(local, a, &error) : -1;
        if (sent < 0) return fail(error);
        if (sent > 0) QTextStream(stderr) << "r73ctl: " << archive::sentNote(sent) << Qt::endl;
    }
    QTextStream out(stdout);
    if (list) {
        const QList<archive::ControllerRow> rows = a.controllers(&error);
        if (!error.isEmpty()) return fail(error);
        out << "serial\tlast_seen\tbios\tvisits\n";
        for (const archive::ControllerRow& r : rows)
            out << r.serial << '\t' << r.lastSeen.toUTC().toString(Qt::ISODate) << '\t' << r.bios
                << '\t' << r.visits << '\n';
        return Done;
    }
    if (changes) {
        const QList<archive::Change> rows = a.changes(args[1], &error);
        if (!error.isEmpty()) return fail(error);
        if (parser.isSet(QStringLiteral("csv"))) {
            out << archive::changesCsv(rows);
            return Done;
        }
        out << "at\tsetting\tbefore\tafter\ttechnician\tworkstation\torigin\n";
        for (const archive::Change& c : rows)
            out << QStringList{c.at.toUTC().toString(Qt::ISODate),
                               c.setting == QLatin1String(archive::SaveSetting) ? c.caption
                                                                                : c.setting,
                               c.before,
                               c.after,
                               c.technician,
                               c.host,
                               archive::originName(c)}
                       .join(u'\t')
                << '\n';
        return Done;
    }
    const QList<archive::Visit> visits = a.visits(args[1], &error);
    if (!error.isEmpty()) return fail(error);
    if (visits.isEmpty())
        return fail(QStringLiteral("no visits of %1 in the archive").arg(args[1]));
    out << archive::countersCsv(visits);
    return Done;
}

} // namespace r73::cli
