#include "ProgramWindows.h"

#include "AppWindows.h"
#include "MessageFacade.h"
#include "NorloIni.h"
#include "TextHook.h"
#include "ui_Form1.h"

#include <QDir>
#include <QTimer>

ProgramWindows::ProgramWindows(const QString& offlineFile)
    : offline(offlineFile), mainWindow(&startWindow),
      languageDialog(
          &mainWindow, [this] { mainWindow.SetCaptionComStat(); }, &mainWindow),
      portDialog(&mainWindow), logbookWindow(&mainWindow),
      extras(&mainWindow, mainWindow.form().Panel4, QRect(196, 1, 68, 18)),
      m_offlineFile(offlineFile)
{
    r73::frmMain = &startWindow;
    r73::Form1 = &mainWindow;
    r73::frmSprache = &languageDialog;
    r73::frmComPort = &portDialog;
    r73::FileForm = &logbookWindow;
    startWindow.setMainForm(&mainWindow);
    // The version text is short: its panel makes room for the button of the menu "Extras".
    mainWindow.form().Label29->resize(188, 16);
    QObject::connect(&logbookWindow, &TFileForm::saved, &mainWindow, [this](const QString& path) {
        mainWindow.showDone(
            r73::tr73own("Logbuch gespeichert: %1").arg(QDir::toNativeSeparators(path)));
    });
    addExtras();
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
    // Said once, before the window: otherwise every change of port or language, the
    // technician's name and the recorder's settings would be lost without a word.
    const QString problem = r73::configFileProblem();
    if (!problem.isEmpty())
        r73::showMessage(
            {&mainWindow,
             r73::tr73(0, QStringLiteral("Die Konfigurationsdatei %1 kann nicht geschrieben "
                                         "werden: %2. Einstellungen werden nicht gespeichert."))
                 .arg(QDir::toNativeSeparators(r73::configFilePath()), problem),
             r73::tr73(0, QStringLiteral("Warnung")), r73::MsgIcon::Warning, r73::MsgButtons::Ok});
    QTimer::singleShot(0, &startWindow, &TfrmMain::FormShow);
    // Once the main window is up, as if chosen from its menu.
    if (!m_offlineFile.isEmpty())
        QTimer::singleShot(0, &offline, [this] { offline.open(m_offlineFile); });
}
