#include "Ports.h"

#include "NorloIni.h"
#include "PortCheck.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace r73::cli {

namespace {

/// One word per state, for scripts.
const char* stateWord(PortState state)
{
    switch (state) {
    case PortState::Free:
        return "free";
    case PortState::OwnPort:
    case PortState::Busy:
        return "busy";
    case PortState::Missing:
        return "missing";
    case PortState::NoPermission:
        return "no-permission";
    case PortState::Unusable:
        break;
    }
    return "unusable";
}

struct Row
{
    QString name; ///< COM1..COM4, or empty for a port the system lists
    QString device;
    QString about;
};

int runPorts(const QStringList& args, const QCommandLineParser& parser)
{
    if (!args.isEmpty()) return BadUsage;
    const bool probe = parser.isSet(QStringLiteral("probe"));
    // COM1..COM4 as the configuration in the current folder names them (nothing is written),
    // then the devices given with --device, then every other port the system lists.
    QList<Row> rows;
    for (int n = 1; n <= 4; ++n)
        rows << Row{QStringLiteral("COM%1").arg(n), deviceNameForPort(n), QString()};
    for (const QString& device : parser.values(QStringLiteral("device")))
        rows << Row{QString(), devicePath(device), QString()};
    for (const SystemPort& p : systemPorts())
        rows << Row{QString(), p.preferredName(), p.about()};

    QTextStream out(stdout);
    QStringList seen;
    bool permissionProblem = false;
    for (const Row& row : rows) {
        bool shown = false;
        for (const QString& s : seen)
            shown = shown || sameDevice(s, row.device);
        if (shown && row.name.isEmpty()) continue;
        seen << row.device;
        const PortStatus status = checkPort(row.device);
        permissionProblem = permissionProblem || status.state == PortState::NoPermission;
        QString line = (row.name.isEmpty() ? QStringLiteral("-") : row.name) + u' ' + row.device +
                       u' ' + QLatin1String(stateWord(status.state));
        if (!status.holder.isEmpty()) line += QStringLiteral(" by=") + status.holder;
        if (probe && status.state == PortState::Free)
            line += probeForController(row.device) ? QStringLiteral(" r73=found")
                                                   : QStringLiteral(" r73=no-answer");
        if (!row.about.isEmpty()) line += QStringLiteral(" (%1)").arg(row.about);
        out << line << '\n';
    }
    out.flush();
    if (permissionProblem)
        QTextStream(stderr) << "r73ctl: this user may not use some serial ports: add the user to "
                               "the group dialout (sudo adduser $USER dialout), then log in again."
                            << Qt::endl;
    return Done;
}

} // namespace

Command portsCommand()
{
    return {"ports",
            "[--probe] [--device <path>...]",
            "list COM1-COM4 (from ini/norlo.ini in the current folder), the devices given and\n"
            "every serial port the system lists, one per line: name, device, state (free, busy,\n"
            "missing, no-permission, unusable); --probe sends the session request to each free\n"
            "port and adds r73=found or r73=no-answer",
            false,
            {QCommandLineOption(QStringLiteral("probe"),
                                QStringLiteral("ports: ask each free port for an R73 (0.5 s)."))},
            runPorts};
}

} // namespace r73::cli
