// The entries of the menu "Extras": one block per subsystem, in the order they appear.

#include "ProgramWindows.h"

#include "AnalogPages.h"
#include "Archive.h"
#include "BackupWindows.h"
#include "OfflineSession.h"
#include "ParamPages.h"
#include "ServiceRecord.h"
#include "TextHook.h"
#include "TrendRecorder.h"
#include "TrendTools.h"
#include "ui_Form1.h"

#include <QAction>
#include <QDir>
#include <QToolButton>

void ProgramWindows::addExtras()
{
    using r73::ExtrasMenu;

    // backup: service data on file
    auto* backup = new r73::TBackupActions(
        mainWindow, mainWindow.findChild<r73::TParamPages*>(),
        mainWindow.findChild<r73::TAnalogPages*>(), [this] { mainWindow.TabbedNotebook1Click(); },
        &mainWindow);
    extras.add("Service-Daten sichern …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
               [this, backup] {
                   // Offline the values are a file's: saved as one, marked as edited offline.
                   if (offline.active())
                       offline.save(true);
                   else
                       backup->Backup();
               });
    extras.add("Mit Sicherung vergleichen …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
               [backup] { backup->Compare(); });
    extras.add("Sicherung wiederherstellen …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
               [backup] { backup->Restore(); });
    // offline: a backup prepared at the desk, without a controller
    offline.attach(mainWindow);
    extras.add(
        "Offline öffnen …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
        [this] { offline.openAsked(); }, ExtrasMenu::When::Always);
    extras.add(
        "Speichern unter …", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U),
        [this] { offline.save(true); }, ExtrasMenu::When::Offline);
    extras.addSeparator();
    // report and archive
    serviceRecord = new r73::ServiceRecord(mainWindow, logbookWindow, &mainWindow);
    backup->setRecorder([this](bool restore, const QStringList& files) {
        return serviceRecord->recordVisit(
            restore ? r73::archive::KindRestore : r73::archive::KindBackup, files);
    });
    backup->setChangeRecorder({[this](const QString& file, const r73::backup::Plan& plan,
                                      const r73::backup::Outcome& outcome) {
                                   serviceRecord->recordRestore(file, plan, outcome);
                               },
                               [this](const QList<r73::SetId>& sets, const QString& file) {
                                   serviceRecord->recordSaves(sets, file);
                               }});
    extras.add("Servicebericht", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B), [this] {
        if (offline.active())
            offline.refuseReport();
        else
            serviceRecord->makeReport();
    });
    extras.add(
        "Archiv", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
        [this] { serviceRecord->showArchive(); }, ExtrasMenu::When::Always);
    extras.add("Historie als CSV", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
               [this] { serviceRecord->exportHistoryAsked(); });
    extras.add("Trennen", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
               [this] { mainWindow.Disconnect(); });
    extras.addSeparator();
    // trend: the window also replays files, so it opens before the connect too.
    auto* trend = new r73::TrendTools(&mainWindow);
    extras.add(
        "Trend", QKeySequence(Qt::CTRL | Qt::Key_T), [trend] { trend->showWindow(); },
        ExtrasMenu::When::Always);
    QAction* recording = extras.add(
        "Aufzeichnung", QKeySequence(Qt::CTRL | Qt::Key_R), [trend] { trend->toggleRecording(); },
        ExtrasMenu::When::Connected);
    recording->setCheckable(true);
    // The check mark tells whether a recording runs, also when one could not start.
    QObject::connect(recording, &QAction::triggered, recording,
                     [recording, trend] { recording->setChecked(trend->recorder().recording()); });
    QObject::connect(&trend->recorder(), &r73::TrendRecorder::recordingChanged, recording,
                     &QAction::setChecked);
    // The window says so too: a check mark in a closed menu is easily missed.
    QObject::connect(
        &trend->recorder(), &r73::TrendRecorder::recordingChanged, &mainWindow,
        [this, trend](bool on) {
            const QString file = QDir::toNativeSeparators(trend->recorder().fileName());
            mainWindow.showDone(on ? r73::tr73own("Aufzeichnung läuft: %1").arg(file)
                                   : r73::tr73own("Aufzeichnung beendet: %1").arg(file));
        });
    // On the live analog page, in the free corner under the first channel's value.
    auto* button = new QToolButton(mainWindow.form().pgAnalogwerte);
    button->setObjectName(QStringLiteral("btTrend"));
    button->setText(QStringLiteral("Trend"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(12, 64, 56, 20);
    QObject::connect(button, &QToolButton::clicked, trend, &r73::TrendTools::showWindow);
}
