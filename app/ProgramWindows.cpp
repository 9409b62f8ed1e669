#include "ProgramWindows.h"

#include "AppWindows.h"

#include <QTimer>

ProgramWindows::ProgramWindows()
    : mainWindow(&startWindow),
      languageDialog(&mainWindow, [this] { mainWindow.SetCaptionComStat(); }, &mainWindow),
      portDialog(&mainWindow), logbookWindow(&mainWindow)
{
    r73::frmMain = &startWindow;
    r73::Form1 = &mainWindow;
    r73::frmSprache = &languageDialog;
    r73::frmComPort = &portDialog;
    r73::FileForm = &logbookWindow;
    startWindow.setMainForm(&mainWindow);
}

ProgramWindows::~ProgramWindows()
{
    r73::frmMain = nullptr;
    r73::Form1 = nullptr;
    r73::frmSprache = nullptr;
    r73::frmComPort = nullptr;
    r73::FileForm = nullptr;
}

void ProgramWindows::start()
{
    QTimer::singleShot(0, &startWindow, &TfrmMain::FormShow);
}
