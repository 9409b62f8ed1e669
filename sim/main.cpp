// r73-sim: the simulated controller on a pseudo terminal.

#include "SimEngine.h"
#include "SimPty.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringEncoder>
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

/// A 16-bit word in hex, with or without "0x"; nullopt when absent, false when malformed.
bool readWord(const QCommandLineParser& parser, const QString& name, std::optional<quint16>& out)
{
    if (!parser.isSet(name)) return true;
    QString text = parser.value(name).trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) text = text.mid(2);
    bool ok = false;
    const uint v = text.toUInt(&ok, 16);
    if (!ok || v > 0xFFFF) return false;
    out = quint16(v);
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
                       "the first line of output and serves until SIGINT/SIGTERM.\n\n"
                       "The machine runs its tests by itself, one step per completed exchange: "
                       "the same seed gives the same course. --inputs/--outputs freeze what "
                       "R_INPORT/R_OPORT answer while the machine runs on.\n"
                       "  inputs:  bits 0-6 select clamp, release, flat contact, vibration,\n"
                       "           analog 1-3; bit 7 asks for the test to run\n"
                       "  outputs: bits 0-2 state, bit 3 test finished, bits 4-7 result\n"
                       "           (10 ok, 20 short, 40 long, 50 no tool, 60 leakage, 80 "
                       "time-out)\n"
                       "The host's breaches of the protocol are printed to standard error as "
                       "they happen, and the exit status is then 3.\n\nFaults:\n") +
        SimFaults::help());
    parser.addHelpOption();
    parser.addOptions({
        {"bios", "BIOS version x 100 (default 310 = 3.10).", "N"},
        {"serial", "Hardware serial number (default 1234).", "N"},
        {"seed", "Seed of the machine's course and readings (default 1).", "N"},
        {"baud", "Pace both directions to this baud rate (default: no pacing).", "N"},
        {"link", "Create a symlink to the device here; removed on exit.", "PATH"},
        {"log", "Append one JSON line per exchange to this file.", "FILE"},
        {"state", "Keep the permanent store in this JSON file.", "FILE"},
        {"fault", "Misbehave as MODE=VALUE (repeatable), see Faults.", "MODE=VALUE"},
        {"inputs", "Freeze the input word (R_INPORT) at HEX, e.g. 0081.", "HEX"},
        {"outputs", "Freeze the output word (R_OPORT) at HEX, e.g. 0059.", "HEX"},
        {"text",
         "Hold TEXT under a setter's STEM from the start (repeatable), as a controller keeps "
         "whatever its setter took, e.g. NAME2= (empty name), PHYS_ZERO1=300, STR_MAX1_2=abc.",
         "STEM=TEXT"},
        {"quiet",
         "A message left unfinished for MS milliseconds is abandoned (default 5000, "
         "the host's byte time-out; 0: never).",
         "MS"},
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments()[0]));

    SimConfig config;
    quint64 bios = config.bios, serial = config.serial, seed = config.seed, baud = 0;
    quint64 quietMs = PtyOptions{}.quietMs;
    if (!readNumber(parser, "bios", 0xFFFF, bios))
        return fail(QStringLiteral("--bios needs a number 0..65535"));
    if (!readNumber(parser, "serial", 0xFFFF, serial))
        return fail(QStringLiteral("--serial needs a number 0..65535"));
    if (!readNumber(parser, "seed", ~quint64(0), seed))
        return fail(QStringLiteral("--seed needs a number"));
    if (!readNumber(parser, "baud", 10000000, baud))
        return fail(QStringLiteral("--baud needs a number 0..10000000"));
    if (!readNumber(parser, "quiet", 3600000, quietMs))
        return fail(QStringLiteral("--quiet needs a number of milliseconds 0..3600000"));
    if (!readWord(parser, "inputs", config.inputWord))
        return fail(QStringLiteral("--inputs needs a hex word 0..FFFF"));
    if (!readWord(parser, "outputs", config.outputWord))
        return fail(QStringLiteral("--outputs needs a hex word 0..FFFF"));
    config.bios = quint16(bios);
    config.serial = quint16(serial);
    config.seed = seed;
    config.stateFile = parser.value("state");
    config.logFile = parser.value("log");
    for (const QString& held : parser.values("text")) {
        const qsizetype eq = held.indexOf(u'=');
        QStringEncoder cp1252("windows-1252");
        const QByteArray bytes = cp1252.encode(held.mid(eq + 1));
        if (eq <= 0 || cp1252.hasError())
            return fail(
                QStringLiteral("--text needs STEM=TEXT in code page 1252, not \"%1\"").arg(held));
        config.texts.insert(held.left(eq), bytes);
    }
    for (const QString& fault : parser.values("fault")) {
        QString error;
        if (!config.faults.add(fault, &error)) return fail(error);
    }

    SimEngine engine(config);
    if (!engine.logFileError().isEmpty()) return fail(engine.logFileError());

    SimPty pty(engine, PtyOptions{quint32(baud), parser.value("link"), quint32(quietMs)});
    QString error;
    if (!pty.open(&error)) return fail(error);
    // Scripts read the device from the first line; nothing else may come before it.
    std::printf("%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);
    if (!config.faults.isEmpty())
        std::fprintf(stderr, "r73-sim: faults: %s\n",
                     qPrintable(config.faults.describe().join(' ')));
    const int code = pty.run();
    // Every test talks to us: a host that broke the protocol must not pass unnoticed.
    if (code == 0 && !engine.violations().isEmpty()) {
        std::fprintf(stderr, "r73-sim: %d protocol violation(s)\n",
                     int(engine.violations().size()));
        return 3;
    }
    return code;
}
