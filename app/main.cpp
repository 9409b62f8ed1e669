// r73-service: the operator and service program for the R73 controller.

#include "AppWindows.h"
#include "FiPri.h"
#include "Form_cy.h"
#include "MessageBoxes.h"
#include "Sprache.h"
#include "Terminate.h"
#include "comport.h"
#include "umain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("r73-service"));
    QApplication::setApplicationDisplayName(QStringLiteral("R73"));
    r73::installQtMessageBoxes();

    // The windows in their order; each is made once and lives until the program ends.
    TfrmMain startWindow;
    r73::frmMain = &startWindow;
    TForm1 mainWindow(&startWindow);
    r73::Form1 = &mainWindow;
    TfrmSprache languageDialog(
        &mainWindow, [&mainWindow] { mainWindow.SetCaptionComStat(); }, &mainWindow);
    r73::frmSprache = &languageDialog;
    TfrmComPort portDialog(&mainWindow);
    r73::frmComPort = &portDialog;
    TFileForm logbookWindow(&mainWindow);
    r73::FileForm = &logbookWindow;
    startWindow.setMainForm(&mainWindow);

    // A start-up failure (a folder that cannot be made) ends the program once all is created.
    if (r73::terminateRequested()) return 1;
    startWindow.show();
    return QApplication::exec();
}
