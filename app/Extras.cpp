// The entries of the menu "Extras": one block per subsystem, in the order they appear.

#include "ProgramWindows.h"

#include "TrendRecorder.h"
#include "TrendTools.h"
#include "ui_Form1.h"

#include <QAction>
#include <QToolButton>

void ProgramWindows::addExtras()
{
    using r73::ExtrasMenu;

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
    // On the live analog page, in the free corner under the first channel's value.
    auto* button = new QToolButton(mainWindow.form().pgAnalogwerte);
    button->setObjectName(QStringLiteral("btTrend"));
    button->setText(QStringLiteral("Trend"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(12, 64, 56, 20);
    QObject::connect(button, &QToolButton::clicked, trend, &r73::TrendTools::showWindow);
}
