// r73-sim: the simulated controller on a pseudo terminal.

#include "SimEngine.h"
#include "SimPty.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

using namespace r73::sim;

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "r73-sim: %s\n", qPrintable(message));
    return 2;
}

bool readNumber(const QCommandLineParser& parser, const QString& name, quint64 max, quint64& out)
{
    if (!parser.isSet(name)) return true;
    bool ok = false;
    const quint64 v = parser.value(name).toULongLong(&ok);
    if (!ok || v > max) return false;
    out = v;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Before anything could start a thread: the stop signals are taken synchronously in run().
    SimPty::blockStopSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("r73-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated R73 controller on a pseudo terminal. Prints the device path as "
                       "the first line of output and serves until SIGINT/SIGTERM.\n\nFaults:\n") +
        SimFaults::help());
    parser.addHelpOption();
    parser.addOptions({
        {"bios", "BIOS version x 100 (default 310 = 3.10).", "N"},
        {"serial", "Hardware serial number (default 1234).", "N"},
        {"seed", "Seed of the live readings (default 1).", "N"},
        {"baud", "Pace both directions to this baud rate (default: no pacing).", "N"},
        {"link", "Create a symlink to the device here; removed on exit.", "PATH"},
        {"log", "Append one JSON line per exchange to this file.", "FILE"},
        {"state", "Keep the permanent store in this JSON file.", "FILE"},
        {"fault", "Misbehave as MODE=VALUE (repeatable), see Faults.", "MODE=VALUE"},
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments()[0]));

    SimConfig config;
    quint64 bios = config.bios, serial = config.serial, seed = config.seed, baud = 0;
    if (!readNumber(parser, "bios", 0xFFFF, bios))
        return fail(QStringLiteral("--bios needs a number 0..65535"));
    if (!readNumber(parser, "serial", 0xFFFF, serial))
        return fail(QStringLiteral("--serial needs a number 0..65535"));
    if (!readNumber(parser, "seed", ~quint64(0), seed))
        return fail(QStringLiteral("--seed needs a number"));
    if (!readNumber(parser, "baud", 10000000, baud))
        return fail(QStringLiteral("--baud needs a number 0..10000000"));
    config.bios = quint16(bios);
    config.serial = quint16(serial);
    config.seed = seed;
    config.stateFile = parser.value("state");
    config.logFile = parser.value("log");
    for (const QString& fault : parser.values("fault")) {
        QString error;
        if (!config.faults.add(fault, &error)) return fail(error);
    }

    SimEngine engine(config);
    if (!engine.logFileError().isEmpty()) return fail(engine.logFileError());

    SimPty pty(engine, PtyOptions{quint32(baud), parser.value("link")});
    QString error;
    if (!pty.open(&error)) return fail(error);
    // Scripts read the device from the first line; nothing else may come before it.
    std::printf("%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);
    if (!config.faults.isEmpty())
        std::fprintf(stderr, "r73-sim: faults: %s\n",
                     qPrintable(config.faults.describe().join(' ')));
    return pty.run();
}
