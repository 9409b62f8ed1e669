#include "Command.h"

#include "ArchiveCommand.h"
#include "Identify.h"
#include "Ports.h"

#include <QTextStream>

namespace r73::cli {

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
        {"identify", "", "connect, then print bios_version=<x.yy> and serial_number=<n>", true,
         {}, runIdentify},
        {"archive", "list | show SERIAL",
         "list: the controllers in the archive (serial, last seen, BIOS, visits)\n"
         "show: one controller's visits and their counters as CSV",
         false, {}, runArchive},
        portsCommand(),
    };
    return all;
}

} // namespace r73::cli
