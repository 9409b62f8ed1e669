#include "Command.h"

#include "ArchiveCommand.h"
#include "Identify.h"
#include "Ports.h"
#include "SettingsCommands.h"

#include <QTextStream>

namespace r73::cli {

int runWatch(const QStringList& args, const QCommandLineParser& parser);
int runHistory(const QStringList& args, const QCommandLineParser& parser);
int runReport(const QStringList& args, const QCommandLineParser& parser);

namespace {

int runIdentify(const QStringList& args, const QCommandLineParser&)
{
    if (!args.isEmpty()) return BadUsage;
    Identity id;
    QString error;
    if (!identify(id, error, timeoutSeconds())) return fail(error);
    QTextStream(stdout) << "bios_version=" << formatVersion(id.biosVersion) << '\n'
                        << "serial_number=" << id.serialNumber << Qt::endl;
    return Done;
}

} // namespace

const std::vector<Command>& commands()
{
    static const std::vector<Command> all = {
        {"identify",
         "",
         "connect, then print bios_version=<x.yy> and serial_number=<n>",
         true,
         {},
         runIdentify},
        {"archive",
         "list | show SERIAL | changes SERIAL [--csv]",
         "list: the controllers in the archive (serial, last seen, BIOS, visits)\n"
         "show: one controller's visits and their counters as CSV\n"
         "changes: every write to one controller, newest first (time, setting, before, after,\n"
         "technician, workstation, origin), as tab-separated lines or CSV",
         false,
         {}, // --csv is the history's option, the same for every command
         runArchive},
        portsCommand(),
        {"params",
         "[FILE] [--json]",
         "every setting of the controller (--device) or of a backup file as name=value lines,\n"
         "or as a backup file",
         false,
         {jsonOption()},
         runParams},
        {"set",
         "FILE KEY=VALUE... --out NEW",
         "edits a backup without a controller: each value checked as its page checks it\n"
         "(keys and values as params lists them), the clamp-without-tool rule kept; writes NEW",
         false,
         {QCommandLineOption(QStringLiteral("out"), QStringLiteral("set: the file to write"),
                             QStringLiteral("NEW"))},
         runSet},
        {"backup",
         "[FILE]",
         "reads every setting into a backup file (default: Backup/serial_date.json)",
         true,
         {},
         runBackup},
        {"diff",
         "FILE [FILE2]",
         "compares a backup with the controller (--device), or with another backup;\n"
         "exit status 0 when nothing differs, 2 when something does",
         false,
         {},
         runDiff},
        {"restore",
         "FILE [--save] [--yes] [--confirm-identity S:V]",
         "compares; with --yes writes what differs, reads all back and verifies;\n"
         "with --save then saves the changed sets permanently",
         true,
         {saveOption(), yesOption(), confirmIdentityOption()},
         runRestore},
        {"history",
         "[--csv FILE]",
         "connect, then read the controller's history (BIOS 2.08 on) as CSV rows, highest\n"
         "number first, on standard output or into FILE",
         true,
         {},
         runHistory},
        {"watch",
         "[--csv FILE [--append]] [--seconds N]",
         "connect and identify, then run the program's poll cycle (lines; status and service\n"
         "values; from BIOS 2.08 the history step), a step a second, as CSV rows on standard\n"
         "output or into FILE (a new file, or --append to an existing one; each row written\n"
         "at once); N seconds, or until ended; a failed read writes no row and exits 1",
         true,
         {QCommandLineOption(QStringLiteral("csv"),
                             QStringLiteral("watch, history: CSV file to write."),
                             QStringLiteral("file")),
          QCommandLineOption(QStringLiteral("seconds"),
                             QStringLiteral("watch: seconds to run (default: until ended)."),
                             QStringLiteral("n")),
          QCommandLineOption(QStringLiteral("append"),
                             QStringLiteral("watch: add to an existing --csv file."))},
         runWatch},
        {"report",
         "[FILE.pdf] [--customer TEXT] [--site TEXT] [--machine TEXT] [--order TEXT]",
         "connect, read the settings and one poll cycle, then write the service report and "
         "archive\n"
         "it, as the program's menu does (default: the proposed name in the current folder);\n"
         "the customer, site, machine and order number are printed in its header",
         true,
         {QCommandLineOption(QStringLiteral("customer"), QStringLiteral("report: the customer"),
                             QStringLiteral("TEXT")),
          QCommandLineOption(QStringLiteral("site"), QStringLiteral("report: the site"),
                             QStringLiteral("TEXT")),
          QCommandLineOption(QStringLiteral("machine"), QStringLiteral("report: the machine"),
                             QStringLiteral("TEXT")),
          QCommandLineOption(QStringLiteral("order"), QStringLiteral("report: the order number"),
                             QStringLiteral("TEXT"))},
         runReport},
    };
    return all;
}

} // namespace r73::cli
