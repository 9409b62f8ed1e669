// The entries of the menu "Extras": one block per subsystem, in the order they appear.

#include "ProgramWindows.h"

#include "AnalogPages.h"
#include "BackupWindows.h"
#include "ParamPages.h"

void ProgramWindows::addExtras()
{
    // backup: service data on file
    auto* backup = new r73::TBackupActions(
        mainWindow, mainWindow.findChild<r73::TParamPages*>(),
        mainWindow.findChild<r73::TAnalogPages*>(), [this] { mainWindow.TabbedNotebook1Click(); },
        &mainWindow);
    extras.add("Service-Daten sichern …", QKeySequence(Qt::CTRL | Qt::Key_B),
               [backup] { backup->Backup(); });
    extras.add("Mit Sicherung vergleichen …", QKeySequence(Qt::CTRL | Qt::Key_D),
               [backup] { backup->Compare(); });
    extras.add("Sicherung wiederherstellen …", QKeySequence(Qt::CTRL | Qt::Key_R),
               [backup] { backup->Restore(); });
}
