// r73ctl report: the program writes the report, so it matches the menu's to the last line and
// is archived the same way; the tool stays without the window system it needs for that.

#include "Command.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace r73::cli {

namespace {

const QString Program = QStringLiteral("r73-service");

/// Installed side by side, in the build's layout, or on the PATH.
QString findProgram()
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& path :
         {here.filePath(Program), here.filePath(QStringLiteral("../app/") + Program)})
        if (QFileInfo(path).isExecutable()) return QDir::cleanPath(path);
    return QStandardPaths::findExecutable(Program);
}

} // namespace

int runReport(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() > 1) return BadUsage;
    const QString program = findProgram();
    if (program.isEmpty())
        return fail(QStringLiteral("%1 is neither beside r73ctl nor on the PATH").arg(Program));
    // A folder lets the program name the file once it knows the serial number.
    const QString file = args.isEmpty() ? QDir::currentPath() : args.first();
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    p.start(program, {QStringLiteral("--report"), file, QStringLiteral("--device"),
                      devicePath(parser.value(QStringLiteral("device")))});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit)
        return fail(QStringLiteral("%1 did not run: %2").arg(program, p.errorString()));
    // Its reason, or its note beside a success, without what the libraries may have said.
    const QString mark = Program + QStringLiteral(": ");
    const QStringList lines = QString::fromLocal8Bit(p.readAllStandardError()).split(u'\n');
    for (const QString& line : lines)
        if (line.startsWith(mark)) {
            if (p.exitCode() != 0) return fail(line.mid(mark.size()));
            QTextStream(stderr) << "r73ctl: " << line.mid(mark.size()) << Qt::endl;
        }
    if (p.exitCode() == 0) return Done;
    return fail(QStringLiteral("%1 ended with status %2").arg(Program).arg(p.exitCode()));
}

} // namespace r73::cli
