// r73ctl: the device link from the command line, for scripts and quick checks.

#include "Identify.h"
#include "LinkState.h"
#include "LinkMessages.h"
#include "NorloIni.h"
#include "QtSerialBackend.h"
#include "WireCodec.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace r73;

namespace {

constexpr auto Description =
    "Talks to an R73 controller over a serial line (2400 baud, 8N1).\n\n"
    "Commands:\n"
    "  identify   connect, then print bios_version=<x.yy> and serial_number=<n>\n\n"
    "Exit status: 0 on success, 1 on any failure (one line on standard error), 2 on bad usage.";

int fail(const QString& line)
{
    QTextStream(stderr) << "r73ctl: " << line << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("r73ctl"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    parser.addHelpOption();
    QCommandLineOption device(QStringLiteral("device"),
                              QStringLiteral("Serial device, e.g. /dev/ttyUSB0 (required)."),
                              QStringLiteral("path"));
    QCommandLineOption timeout(QStringLiteral("timeout"),
                               QStringLiteral("Seconds to wait for each byte (default 5)."),
                               QStringLiteral("seconds"), QStringLiteral("5"));
    parser.addOption(device);
    parser.addOption(timeout);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("identify"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args != QStringList{QStringLiteral("identify")} || !parser.isSet(device)) {
        QTextStream(stderr) << parser.helpText();
        return 2;
    }
    bool ok = false;
    const int seconds = parser.value(timeout).toInt(&ok);
    if (!ok || seconds < 1 || seconds > 3600)
        return fail(QStringLiteral("--timeout needs whole seconds from 1 to 3600"));

    // The tool names its device itself and leaves the program's configuration file alone.
    const QString path = parser.value(device);
    useConfigFile(false);
    setSerialBackend(std::make_unique<QtSerialBackend>([path](int) { return path; }));
    // The link's own messages become the one error line printed below.
    setLinkMessageHandler([](QObject*, const QString&, const QString&) {});
    ReadTimeoutMs = seconds * 1000;
    DemoMode = false;

    cli::Identity id;
    QString error;
    if (!cli::identify(id, error, seconds)) return fail(error);
    QTextStream out(stdout);
    out << "bios_version=" << cli::formatVersion(id.biosVersion) << '\n'
        << "serial_number=" << id.serialNumber << Qt::endl;
    return 0;
}
