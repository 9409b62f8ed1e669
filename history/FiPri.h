#pragma once
/// The logbook window "R73-Controller: Speichern und Drucken": the logbook text in `Memo1`
/// (read-only, fixed pitch) above the buttons `BtSave`, `BtPrint` and `BtClose`.

#include "ui_FiPri.h"

#include <QDialog>

class TFileForm : public QDialog
{
    Q_OBJECT

public:
    explicit TFileForm(QWidget* parent = nullptr);

    /// The window's controls.
    Ui::TFileForm ui;
};
