#pragma once
/// Notebook page "ANALOG1": configuration of analog channel 1, or the notice `pnAnalog1`
/// on controllers without analog channels.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_AnalogPage1.h"

#include <QWidget>

class AnalogPage1 : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogPage1(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::AnalogPage1 ui;

protected:
    /// Keeps `pnAnalog1` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;
};
