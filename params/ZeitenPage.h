#pragma once
/// Notebook page "ZEITEN": the measuring times, stop frequency times and time-outs of the
/// clamping and the release set.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_ZeitenPage.h"

#include <QWidget>

class ZeitenPage : public QWidget
{
    Q_OBJECT

public:
    explicit ZeitenPage(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::ZeitenPage ui;
};
