// r73-service: the operator and service program for the R73 controller.

#include "LineTrace.h"
#include "MessageBoxes.h"
#include "MessageFacade.h"
#include "ProgramWindows.h"
#include "Terminate.h"
#include "WorkFolder.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("r73-service"));
    QApplication::setApplicationDisplayName(QStringLiteral("R73"));
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
    parser.addOptions({home, trace});
    parser.process(app);

    // The folder first: "ini" and "Log" are made relative to it, and so is a relative trace.
    if (parser.isSet(home) && !r73::enterUserWorkFolder()) return 1;
    QString error;
    if (parser.isSet(trace) && !r73::trace::start(parser.value(trace), &error)) {
        r73::showMessage({nullptr, QStringLiteral("Cannot write the line trace:"),
                          QStringLiteral("Error"), r73::MsgIcon::Error, r73::MsgButtons::Ok,
                          error});
        return 1;
    }

    ProgramWindows windows;
    // A start-up failure (a folder that cannot be made) ends the program once all is created.
    if (r73::terminateRequested()) return 1;
    windows.start();
    return QApplication::exec();
}
