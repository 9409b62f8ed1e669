#pragma once
/// The port selection dialog: the user picks COM1..COM4, OK stores the choice as "COM" in the
/// configuration file. Shows the stored port each time it appears, with the device behind each
/// number and its state, and every other serial port the system lists; choosing one of those
/// gives it to the checked number (stored as "Device<n>" on OK). "Suchen" asks each free port
/// whether an R73 answers.

#include "PortCheck.h"

#include <QDialog>
#include <QMap>
#include <memory>

class QAbstractButton;
class QLabel;
class QRadioButton;
class QTreeWidgetItem;

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

    /// Looks at every port again and shows what it found.
    void refreshPorts();
    /// Probes each free port for a controller, marks those that answer and preselects the first.
    void searchController();

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
    QLabel* portLabel(int number) const;
    /// The device behind number: the one chosen here, else the configured one.
    QString deviceOf(int number) const;
    void showPortState(int number);
    void assignListed(QTreeWidgetItem* item);
    QString stateOrProbe(const r73::PortStatus& status) const;
    /// Starts or stops the line trace as the check box says; false after a message.
    bool applyTrace();

    std::unique_ptr<Ui::TfrmComPort> m_ui;
    QString m_germanTitle;
    QStringList m_germanTexts;       ///< of the buttons and the check box, in their order
    QMap<int, QString> m_assigned;   ///< number -> device chosen from the list, stored on OK
    QMap<QString, bool> m_probed;    ///< device -> answered, from the last search
    QList<r73::SystemPort> m_listed; ///< the other ports, in the list's order
    QMap<QString, r73::PortStatus> m_states; ///< device -> state when last looked at
};
