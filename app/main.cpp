// r73-service: the operator and service program for the R73 controller.

#include "MessageBoxes.h"
#include "ProgramWindows.h"
#include "Terminate.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("r73-service"));
    QApplication::setApplicationDisplayName(QStringLiteral("R73"));
    r73::installQtMessageBoxes();

    ProgramWindows windows;
    // A start-up failure (a folder that cannot be made) ends the program once all is created.
    if (r73::terminateRequested()) return 1;
    windows.start();
    return QApplication::exec();
}
