#pragma once
/// The commands of r73ctl. Each lives in its own source and is listed once in Commands.cpp;
/// main.cpp parses the common options, opens the device for commands that need it and runs one.

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QCommandLineParser;

namespace r73::cli {

/// The tool's exit status; the same for every command (listed in --help and the README).
enum Exit : int {
    Done = 0,
    Failed = 1,    ///< one line on standard error says why
    Mismatch = 2,  ///< a restore's read-back differs from what was written
    Refused = 3,   ///< nothing was done: a bad file, or another controller not confirmed
    BadUsage = 64, ///< the help text follows on standard error (as sysexits' EX_USAGE)
};

struct Command
{
    const char* name;
    const char* synopsis; ///< arguments after the name, for the help text
    const char* summary;  ///< what it does, one or more lines for the help text
    /// Talks to a controller: --device is required and the link is set up before run.
    bool needsDevice = true;
    /// Options of its own beside the common --device and --timeout.
    QList<QCommandLineOption> options;
    /// Runs with the positional arguments after the command's name.
    std::function<int(const QStringList& args, const QCommandLineParser& parser)> run;
};

/// Every command, in the order of the help text.
const std::vector<Command>& commands();

/// Prints "r73ctl: <line>" on standard error and returns Failed.
int fail(const QString& line);

/// Seconds to wait for each byte, as given with --timeout.
int timeoutSeconds();

/// A --device value as a path: a relative one ("tty", "ttyUSB0") is the current folder's,
/// never a name in /dev.
QString devicePath(const QString& given);

} // namespace r73::cli
