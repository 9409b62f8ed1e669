// r73ctl: the device link from the command line, for scripts and quick checks.

#include "Command.h"
#include "LinkMessages.h"
#include "LinkState.h"
#include "NorloIni.h"
#include "QtSerialBackend.h"
#include "TextTable.h"
#include "Translate.h"
#include "WireCodec.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

using namespace r73;
using namespace r73::cli;

namespace {

int TimeoutSeconds = 5;

QString description()
{
    QString text = QStringLiteral(
        "Talks to an R73 controller over a serial line (2400 baud, 8N1).\n\nCommands:\n");
    for (const Command& c : commands()) {
        QString head = QString::fromLatin1(c.name);
        if (*c.synopsis) head += u' ' + QString::fromLatin1(c.synopsis);
        text += QStringLiteral("  %1\n").arg(head);
        for (const QString& line : QString::fromLatin1(c.summary).split(u'\n'))
            text += QStringLiteral("      %1\n").arg(line);
    }
    text += QStringLiteral(
        "\nExit status: 0 done; 1 failed (one line on standard error); 2 a restore's read-back "
        "differs from what was written, or diff found a difference; 3 refused, nothing was done (a "
        "bad backup file, another "
        "controller not confirmed); 64 bad usage.");
    return text;
}

const Command* find(const QString& name)
{
    for (const Command& c : commands())
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

int usage(const QCommandLineParser& parser)
{
    QTextStream(stderr) << parser.helpText();
    return BadUsage;
}

} // namespace

namespace r73::cli {

int fail(const QString& line)
{
    QTextStream(stderr) << "r73ctl: " << line << Qt::endl;
    return Failed;
}

int timeoutSeconds()
{
    return TimeoutSeconds;
}

QString devicePath(const QString& given)
{
    return given.isEmpty() ? given : QFileInfo(given).absoluteFilePath();
}

} // namespace r73::cli

int main(int argc, char* argv[])
{
    // The report lays out its text with fonts, which need a (screenless) Gui application.
    bool report = false;
    for (int i = 1; i < argc; ++i)
        report = report || qstrcmp(argv[i], "report") == 0;
    if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the libraries may say there is no line of the tool's; its own go to stderr directly.
    if (report) qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const std::unique_ptr<QCoreApplication> application =
        report ? std::make_unique<QGuiApplication>(argc, argv)
               : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("r73ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(R73_VERSION));
    // The tool speaks English: the program's texts through the language table's English.
    CurrentLanguage = 1;
    BuildTextTable();

    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    QCommandLineOption device(QStringLiteral("device"),
                              QStringLiteral("Serial device, e.g. /dev/ttyUSB0."),
                              QStringLiteral("path"));
    QCommandLineOption timeout(QStringLiteral("timeout"),
                               QStringLiteral("Seconds to wait for each byte (default 5)."),
                               QStringLiteral("seconds"), QStringLiteral("5"));
    parser.addOption(device);
    parser.addOption(timeout);
    // Every command's own options are known to the one parser; a command reads only its own.
    for (const Command& c : commands())
        for (const QCommandLineOption& o : c.options)
            parser.addOption(o);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("One of the commands above."));
    // An unknown option is bad usage like any other, not Qt's own exit status 1.
    if (!parser.parse(app.arguments())) {
        QTextStream(stderr) << "r73ctl: " << parser.errorText() << '\n';
        return usage(parser);
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(0);

    QStringList args = parser.positionalArguments();
    const Command* command = args.isEmpty() ? nullptr : find(args.takeFirst());
    if (!command || (command->needsDevice && !parser.isSet(device))) return usage(parser);
    bool ok = false;
    TimeoutSeconds = parser.value(timeout).toInt(&ok);
    if (!ok || TimeoutSeconds < 1 || TimeoutSeconds > 3600) {
        QTextStream(stderr) << "r73ctl: --timeout needs whole seconds from 1 to 3600\n";
        return usage(parser);
    }

    if (command->needsDevice || parser.isSet(device)) {
        // The tool names its device itself and leaves the program's configuration file alone.
        // A relative path is the current folder's (the serial port would take "tty" as
        // "/dev/tty"); the resolved path also reaches r73-service for "report".
        const QString path = devicePath(parser.value(device));
        useConfigFile(false);
        setSerialBackend(std::make_unique<QtSerialBackend>([path](int) { return path; }));
        // The link's own messages become the one error line a command prints.
        setLinkMessageHandler([](QObject*, const QString&, const QString&, const QString&) {});
        ReadTimeoutMs = TimeoutSeconds * 1000;
        DemoMode = false;
    }
    const int status = command->run(args, parser);
    return status == BadUsage ? usage(parser) : status;
}
