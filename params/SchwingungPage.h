#pragma once
/// Notebook page "SCHWINGUNG": threshold and time-out of the vibration check, with the
/// threshold as a bar (`ProgressBar3`, 0..200 = 0..10 mm/s).
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_SchwingungPage.h"

#include <QWidget>

class SchwingungPage : public QWidget
{
    Q_OBJECT

public:
    explicit SchwingungPage(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::SchwingungPage ui;
};
