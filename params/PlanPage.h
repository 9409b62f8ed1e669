#pragma once
/// Notebook page "PLANANLAGE": threshold and time-out of the flat-contact check.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_PlanPage.h"

#include <QWidget>

class PlanPage : public QWidget
{
    Q_OBJECT

public:
    explicit PlanPage(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::PlanPage ui;
};
