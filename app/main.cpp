// r73-service: the operator and service program for the R73 controller.

#include "BuildVersion.h"
#include "HeadlessReport.h"
#include "LineTrace.h"
#include "MessageBoxes.h"
#include "MessageFacade.h"
#include "NorloIni.h"
#include "ProgramWindows.h"
#include "Terminate.h"
#include "TextHook.h"
#include "WindowKeepAlive.h"
#include "WorkFolder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>
#include <optional>

namespace {

bool reportAsked(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--report") == 0 || qstrncmp(argv[i], "--report=", 9) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    // A report without a window runs where no display is, from scripts and over SSH.
    if (reportAsked(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("r73-service"));
    QApplication::setApplicationDisplayName(QStringLiteral("R73"));
    // Files the program writes (backups) name the version that wrote them, as r73ctl's do.
    QApplication::setApplicationVersion(QString::fromUtf8(r73::buildVersion().productVersion));
    r73::installQtMessageBoxes();

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption home(
        QStringLiteral("home-folder"),
        QStringLiteral("Work in ~/R73-Service (made on first start), as from the desktop menu; "
                       "otherwise the program works in the current folder."));
    const QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Record every byte on the line in FILE (JSON lines), for diagnosis."),
        QStringLiteral("FILE"));
    const QCommandLineOption report(
        QStringLiteral("report"),
        QStringLiteral("Without a window: connect, write the service report to FILE (or, given a "
                       "folder, under the proposed name there), archive it and end; exit status "
                       "0, or 1 with the reason on standard error."),
        QStringLiteral("FILE"));
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("With --report: this serial device instead of the configured port."),
        QStringLiteral("PATH"));
    const QCommandLineOption remarks(QStringLiteral("remarks"),
                                     QStringLiteral("With --report: the report's remarks."),
                                     QStringLiteral("TEXT"));
    const QCommandLineOption technician(
        QStringLiteral("technician"),
        QStringLiteral("With --report: the technician's name, instead of the configured one."),
        QStringLiteral("NAME"));
    const QCommandLineOption offline(
        QStringLiteral("offline"),
        QStringLiteral("Open the backup FILE as an offline controller, to prepare its settings "
                       "without one; F5 saves them to a new backup."),
        QStringLiteral("FILE"));
    parser.addOptions({home, trace, report, device, remarks, technician, offline});
    parser.process(app);

    std::optional<r73::HeadlessReport> headless;
    if (parser.isSet(report))
        headless.emplace(r73::HeadlessReport::Job{parser.value(report), parser.value(remarks),
                                                  parser.value(technician)});
    if (headless && parser.isSet(device)) r73::useDevice(parser.value(device));

    // A backup named on the command line is where the shell stands, whichever folder the
    // program works in.
    const QString offlineFile =
        parser.isSet(offline) ? QFileInfo(parser.value(offline)).absoluteFilePath() : QString();
    // The folder first: "ini" and "Log" are made relative to it, and so is a relative trace.
    if (parser.isSet(home) && !r73::enterUserWorkFolder()) return headless ? headless->failed() : 1;
    // A trace that fails (a full disk) stops and says so once the exchange is over: a box in the
    // middle of it would hold the line.
    r73::trace::setFailureHandler([](const QString& why) {
        const auto show = [why] {
            r73::showMessage({nullptr,
                              r73::tr73(0, QStringLiteral("Das Leitungsprotokoll kann nicht "
                                                          "geschrieben werden.")),
                              r73::tr73(0, QStringLiteral("Fehler")), r73::MsgIcon::Error,
                              r73::MsgButtons::Ok, why});
        };
        QTimer::singleShot(0, [show] {
            if (r73::WindowKeepAlive* keepAlive = r73::WindowKeepAlive::instance())
                keepAlive->afterSequence(show);
            else
                show();
        });
    });
    QString error;
    if (parser.isSet(trace) && !r73::trace::start(parser.value(trace), &error)) {
        r73::showMessage({nullptr, QStringLiteral("Cannot write the line trace:"),
                          QStringLiteral("Error"), r73::MsgIcon::Error, r73::MsgButtons::Ok,
                          error});
        return headless ? headless->failed() : 1;
    }

    ProgramWindows windows(offlineFile);
    if (headless) return headless->run(windows);
    // A start-up failure (a folder that cannot be made) ends the program once all is created.
    if (r73::terminateRequested()) return 1;
    windows.start();
    return QApplication::exec();
}
