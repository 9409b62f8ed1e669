#pragma once
/// The port selection dialog: the user picks COM1..COM4, OK stores the choice as "COM" in the
/// configuration file. Shows the stored port each time it appears.

#include <QDialog>
#include <memory>

class QAbstractButton;
class QRadioButton;

namespace Ui {
class TfrmComPort;
}

class TfrmComPort : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmComPort(QWidget* parent = nullptr);
    ~TfrmComPort() override;

    /// Captions the dialog in the current language (again after a change of language).
    void translateCaptions();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QList<QAbstractButton*> buttons() const;
    void centreOnScreen();
    void storeChoice();
    /// The radio button for port 1..4, nullptr for any other number.
    QRadioButton* portButton(int number) const;
    /// 1..4, or 0 when no port is checked.
    int checkedPort() const;

    std::unique_ptr<Ui::TfrmComPort> m_ui;
    QString m_germanTitle;
    QStringList m_germanTexts; ///< of the six buttons, in their order
};
