#pragma once
/// Notebook page "LOGBUCH": the controller's history list `ListView1` with its read and
/// delete buttons, and the notice `Panel18` that stands in for them on old controllers.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_LogbuchPage.h"

#include <QWidget>

class LogbuchPage : public QWidget
{
    Q_OBJECT

public:
    explicit LogbuchPage(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::LogbuchPage ui;

protected:
    /// Keeps `Panel18` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;
};
