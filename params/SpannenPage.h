#pragma once
/// Notebook page "SPANNEN": the clamp and release travel limits (groups "SPANNEN",
/// "LÖSEN") and the hydraulic monitoring group `gbHydr`.
/// The main window reaches the controls through `ui`, by their form names.

#include "ui_SpannenPage.h"

#include <QWidget>

class SpannenPage : public QWidget
{
    Q_OBJECT

public:
    explicit SpannenPage(QWidget* parent = nullptr);

    /// The page's controls.
    Ui::SpannenPage ui;
};
