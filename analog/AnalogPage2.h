#pragma once
/// Notebook page "ANALOG2": configuration of analog channel 2, or the notice `pnAnalog2`
/// on controllers without analog channels.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_AnalogPage2.h"

#include <QWidget>

class AnalogPage2 : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogPage2(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::AnalogPage2 ui;

protected:
    /// Keeps `pnAnalog2` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;
};
