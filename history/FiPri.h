#pragma once
/// The logbook window "R73-Controller: Speichern und Drucken": the logbook text in `Memo1`
/// (read-only, fixed pitch) above the buttons `BtSave`, `BtPrint` and `BtClose`. The text is
/// saved as a file in code page 1252 with CR LF, or printed as plain text.

#include <QDialog>
#include <QLineEdit>
#include <memory>

namespace Ui {
class TFileForm;
}

class TFileForm : public QDialog
{
    Q_OBJECT

public:
    /// Captions the window in the language current now.
    explicit TFileForm(QWidget* parent = nullptr);
    ~TFileForm() override;
    /// Captions the window again, after a change of language.
    void translateCaptions();

    /// The logbook text, one memo line each.
    void setLines(const QStringList& lines);
    QStringList lines() const;
    /// The serial number of the controller the text is of, the first part of the proposed file
    /// name; empty when none was connected.
    void setSerialNumber(const QString& serial) { m_serial = serial; }

    /// Proposes a name in the folder "Log" and saves there if the operator confirms.
    void BtSaveClick();
    /// Prints through the print dialog and confirms with a box.
    void BtPrintClick();
    void BtCloseClick() { hide(); }
    /// Shows the window with the focus on "Speichern".
    void showForSaving();
    /// Writes the lines to path and reports the outcome in a box; true when saved.
    bool SaveFile(const QString& path);

    /// The window's controls by their form names, for its own folder and its tests.
    Ui::TFileForm& ui() { return *m_ui; }
    const Ui::TFileForm& ui() const { return *m_ui; }

signals:
    /// The logbook was written to path.
    void saved(const QString& path);

private:
    QString m_serial;
    std::unique_ptr<Ui::TFileForm> m_ui;
};
