#pragma once
/// Notebook page "ANALOG3": configuration of analog channel 3, or the notice `pnAnalog3`
/// on controllers without analog channels.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_AnalogPage3.h"

#include <QWidget>

class AnalogPage3 : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogPage3(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::AnalogPage3 ui;

protected:
    /// Keeps `pnAnalog3` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;
};
