#pragma once
/// Notebook page "SERVICE": the controller's counters of the last motions (group "Service
/// Information") and the vibration and frequency gauges.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_ServicePage.h"

#include <QWidget>

class ServicePage : public QWidget
{
    Q_OBJECT

public:
    explicit ServicePage(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::ServicePage ui;
};
