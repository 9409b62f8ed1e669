#pragma once
/// Notebook page "ANALOGWERTE": the live values of the three analog channels
/// (`gbKanal_1` .. `gbKanal_3`), or the notice `pnAnalogwerte` on controllers without them.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_AnalogwertePage.h"

#include <QWidget>

class AnalogwertePage : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogwertePage(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::AnalogwertePage ui;

protected:
    /// Keeps `pnAnalogwerte` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;
};
