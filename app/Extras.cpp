// The entries of the menu "Extras": one block per subsystem, in the order they appear.

#include "ProgramWindows.h"

#include "AnalogPages.h"
#include "BackupWindows.h"
#include "ParamPages.h"
#include "Archive.h"
#include "ServiceRecord.h"

void ProgramWindows::addExtras()
{
    // backup: service data on file. Ctrl+Shift, because a focused field takes some Ctrl keys
    // for itself.
    auto* backup = new r73::TBackupActions(
        mainWindow, mainWindow.findChild<r73::TParamPages*>(),
        mainWindow.findChild<r73::TAnalogPages*>(), [this] { mainWindow.TabbedNotebook1Click(); },
        &mainWindow);
    extras.add("Service-Daten sichern …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
               [backup] { backup->Backup(); });
    extras.add("Mit Sicherung vergleichen …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
               [backup] { backup->Compare(); });
    extras.add("Sicherung wiederherstellen …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
               [backup] { backup->Restore(); });
    extras.addSeparator();
    // report and archive
    serviceRecord = new r73::ServiceRecord(mainWindow, logbookWindow, &mainWindow);
    backup->setRecorder([this](bool restore, const QStringList& files) {
        serviceRecord->recordVisit(restore ? r73::archive::KindRestore : r73::archive::KindBackup,
                                   files);
    });
    extras.add("Servicebericht", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
               [this] { serviceRecord->makeReport(); });
    extras.add(
        "Archiv", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
        [this] { serviceRecord->showArchive(); }, r73::ExtrasMenu::When::Always);
    extras.add("Historie als CSV", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
               [this] { serviceRecord->exportHistoryAsked(); });
}
