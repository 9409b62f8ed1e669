// The entries of the menu "Extras": one block per subsystem, in the order they appear.

#include "ProgramWindows.h"

#include "ServiceRecord.h"

void ProgramWindows::addExtras()
{
    // report and archive
    serviceRecord = new r73::ServiceRecord(mainWindow, logbookWindow, &mainWindow);
    extras.add("Servicebericht", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
               [this] { serviceRecord->makeReport(); });
    extras.add(
        "Archiv", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
        [this] { serviceRecord->showArchive(); }, r73::ExtrasMenu::When::Always);
    extras.add("Historie als CSV", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
               [this] { serviceRecord->exportHistoryAsked(); });
}
