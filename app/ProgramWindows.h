#pragma once
/// The program's five windows, made in their order and kept in the program-wide references
/// named like them. The start window never appears on screen: it only shows the main window
/// modally once the message loop runs, and ends the program when that returns.

#include "ExtrasMenu.h"
#include "FiPri.h"
#include "Form_cy.h"
#include "OfflineSession.h"
#include "Sprache.h"
#include "comport.h"
#include "umain.h"

namespace r73 {
class ServiceRecord;
}

class ProgramWindows
{
public:
    /// offlineFile: a backup to open as an offline controller once the window is up.
    explicit ProgramWindows(const QString& offlineFile = {});
    ~ProgramWindows();

    /// Lets the start window show the main window as soon as the message loop runs.
    void start();

    /// A backup opened as a controller, edited without one. First, so that with a file given
    /// at the start the window's first link goes to it, not to the port.
    r73::OfflineSession offline;
    TfrmMain startWindow;
    TForm1 mainWindow;
    TfrmSprache languageDialog;
    TfrmComPort portDialog;
    TFileForm logbookWindow;
    /// The menu "Extras" of the main window, with the entries of every subsystem.
    r73::ExtrasMenu extras;
    /// The service report and the archive; records a visit with one call (recordVisit).
    r73::ServiceRecord* serviceRecord = nullptr;

private:
    QString m_offlineFile;
    /// Adds the subsystems' entries to the menu "Extras" (Extras.cpp).
    void addExtras();
};
