#include "comport.h"

#include "Hourglass.h"
#include "LineTrace.h"
#include "MessageFacade.h"
#include "NorloIni.h"
#include "ProfileFile.h"
#include "ProgramState.h"
#include "Settings.h"
#include "SuperCom.h"
#include "TextHook.h"
#include "ui_comport.h"

#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QTreeWidget>

TfrmComPort::TfrmComPort(QWidget* parent) : QDialog(parent), m_ui(new Ui::TfrmComPort)
{
    m_ui->setupUi(this);
    // The form's German captions are the keys into the language table, for every re-captioning.
    m_germanTitle = windowTitle();
    for (QAbstractButton* b : buttons())
        m_germanTexts << b->text();
    translateCaptions();

    // After choosing a port, Enter or Space confirms it.
    for (int n = 1; n <= 4; ++n) {
        connect(portButton(n), &QRadioButton::clicked, m_ui->BtOK,
                [this] { m_ui->BtOK->setFocus(Qt::OtherFocusReason); });
    }
    connect(m_ui->BtOK, &QPushButton::clicked, this, &TfrmComPort::storeChoice);
    connect(m_ui->BtSuchen, &QPushButton::clicked, this, &TfrmComPort::searchController);
    // Choosing another port (click, or Enter in the list) gives it to the checked number.
    connect(m_ui->lvPorts, &QTreeWidget::itemClicked, this, &TfrmComPort::assignListed);
    connect(m_ui->lvPorts, &QTreeWidget::itemActivated, this, &TfrmComPort::assignListed);
    m_ui->lvPorts->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_ui->BtCancel, &QPushButton::clicked, this, &QDialog::reject);

    centreOnScreen();
}

TfrmComPort::~TfrmComPort() = default;

void TfrmComPort::showEvent(QShowEvent* event)
{
    // Read on every showing, so the dialog reflects the file as it is now.
    if (QRadioButton* button = portButton(r73::readComPort())) button->setChecked(true);
    // Choices of an earlier showing that were not confirmed are gone.
    m_assigned.clear();
    m_probed.clear();
    m_ui->cbTrace->setChecked(r73::trace::active());
    m_ui->cbTrace->setToolTip(QDir::toNativeSeparators(r73::trace::path()));
    refreshPorts();
    QDialog::showEvent(event);
}

QList<QAbstractButton*> TfrmComPort::buttons() const
{
    return {m_ui->rbCOM1, m_ui->rbCOM2,   m_ui->rbCOM3,   m_ui->rbCOM4,
            m_ui->BtOK,   m_ui->BtCancel, m_ui->BtSuchen, m_ui->cbTrace};
}

void TfrmComPort::translateCaptions()
{
    setWindowTitle(r73::tr73(0, m_germanTitle));
    const QList<QAbstractButton*> all = buttons();
    for (qsizetype i = 0; i < all.size(); ++i)
        all[i]->setText(r73::tr73(0, m_germanTexts.value(i)));
    m_ui->gbPorts->setTitle(r73::tr73(0, QStringLiteral("Weitere Schnittstellen")));
    m_ui->lvPorts->setHeaderLabels({r73::tr73(0, QString::fromUtf8("Gerät")),
                                    r73::tr73(0, QStringLiteral("Beschreibung")),
                                    r73::tr73(0, QStringLiteral("Zustand"))});
    if (isVisible()) refreshPorts(); // the states are texts too
}

void TfrmComPort::centreOnScreen()
{
    // Marks the position as chosen, so showing does not move the dialog over its parent instead.
    adjustSize();
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void TfrmComPort::storeChoice()
{
    const int port = checkedPort();
    if (port == 0) return;
    if (!applyTrace()) return;
    const int before = r73::readComPort();
    const QString beforeDevice = r73::deviceNameForPort(before);
    r73::ProfileFile file(r73::configFilePath());
    bool written = true;
    for (auto it = m_assigned.cbegin(); it != m_assigned.cend() && written; ++it)
        written = file.writeString(QLatin1String(r73::ComSection),
                                   QStringLiteral("Device%1").arg(it.key()), it.value());
    if (!written ||
        !file.writeInteger(QLatin1String(r73::ComSection), QLatin1String(r73::ComKey), port)) {
        const QString text = r73::tr73(0, QStringLiteral("Die Schnittstelle konnte nicht in "
                                                         "\"%1\" gespeichert werden.\n%2"))
                                 .arg(QDir::toNativeSeparators(file.path()), file.errorString());
        r73::showMessage({this, text, r73::tr73(0, QStringLiteral("Fehler")), r73::MsgIcon::Error,
                          r73::MsgButtons::Ok});
        return;
    }
    // The port left behind goes back to the system, for other programs; a connected link
    // keeps its line (the window offers no other port then).
    const bool moved = port != before || r73::deviceNameForPort(port) != beforeDevice;
    if (moved && !r73::programState().connected && before >= 1 && before <= 4)
        r73::ComClose(quint8(before - 1));
    accept();
}

QRadioButton* TfrmComPort::portButton(int number) const
{
    switch (number) {
    case 1:
        return m_ui->rbCOM1;
    case 2:
        return m_ui->rbCOM2;
    case 3:
        return m_ui->rbCOM3;
    case 4:
        return m_ui->rbCOM4;
    }
    return nullptr;
}

int TfrmComPort::checkedPort() const
{
    for (int n = 1; n <= 4; ++n) {
        if (portButton(n)->isChecked()) return n;
    }
    return 0;
}

QLabel* TfrmComPort::portLabel(int number) const
{
    const QList<QLabel*> labels{m_ui->lbCOM1, m_ui->lbCOM2, m_ui->lbCOM3, m_ui->lbCOM4};
    return labels.value(number - 1);
}

QString TfrmComPort::deviceOf(int number) const
{
    return m_assigned.value(number, r73::deviceNameForPort(number));
}

QString TfrmComPort::stateOrProbe(const r73::PortStatus& status) const
{
    // Ours is not asked again: connected, it answered at the connect.
    if (status.state == r73::PortState::OwnPort && r73::programState().connected)
        return r73::tr73(0, QString::fromUtf8("von diesem Programm verbunden: R73 Nr. %1, "
                                              "BIOS %2"))
            .arg(r73::programState().serialNumber)
            .arg(r73::backup::shownVersionText(r73::programState().biosVersion));
    const auto probed = m_probed.constFind(status.device);
    if (probed == m_probed.cend()) return r73::stateText(status);
    return probed.value() ? r73::tr73(0, QStringLiteral("R73 gefunden"))
                          : r73::tr73(0, QStringLiteral("keine Antwort"));
}

void TfrmComPort::showPortState(int number)
{
    const QString device = deviceOf(number);
    if (!m_states.contains(device)) m_states.insert(device, r73::checkPort(device));
    portLabel(number)->setText(
        QStringLiteral("%1 \u2013 %2").arg(device, stateOrProbe(m_states[device])));
}

void TfrmComPort::refreshPorts()
{
    m_states.clear();
    for (int n = 1; n <= 4; ++n)
        showPortState(n);
    // The other ports: those that no number stands for already.
    m_listed.clear();
    for (const r73::SystemPort& p : r73::systemPorts()) {
        bool shown = false;
        for (int n = 1; n <= 4 && !shown; ++n)
            shown = r73::sameDevice(p.device, deviceOf(n));
        if (!shown) m_listed << p;
    }
    QTreeWidget* list = m_ui->lvPorts;
    list->clear();
    for (const r73::SystemPort& p : m_listed) {
        const r73::PortStatus status = r73::checkPort(p.device);
        m_states.insert(p.device, status);
        auto* item =
            new QTreeWidgetItem(list, {p.preferredName(), p.about(), stateOrProbe(status)});
        item->setToolTip(0, p.device);
    }
}

void TfrmComPort::assignListed(QTreeWidgetItem* item)
{
    const int number = checkedPort();
    const int row = m_ui->lvPorts->indexOfTopLevelItem(item);
    if (number == 0 || row < 0 || row >= m_listed.size()) return;
    const r73::SystemPort& p = m_listed.at(row);
    m_assigned.insert(number, p.preferredName());
    m_states.insert(p.preferredName(), m_states.value(p.device));
    if (m_probed.contains(p.device)) m_probed.insert(p.preferredName(), m_probed.value(p.device));
    showPortState(number);
}

void TfrmComPort::searchController()
{
    r73::Hourglass hourglass;
    hourglass.show();
    m_probed.clear();
    refreshPorts();
    // Only free ports are asked: a busy one belongs to another program, ours to the link.
    QStringList devices;
    for (int n = 1; n <= 4; ++n)
        devices << deviceOf(n);
    for (const r73::SystemPort& p : m_listed)
        devices << p.device;
    for (const QString& device : devices) {
        if (m_probed.contains(device) || m_states.value(device).state != r73::PortState::Free)
            continue;
        m_probed.insert(device, r73::probeForController(device));
    }
    refreshPorts();
    // The port this program holds stays chosen: it cannot be asked, and it is the one in use.
    if (const int n = checkedPort();
        n != 0 && m_states.value(deviceOf(n)).state == r73::PortState::OwnPort) {
        m_ui->BtOK->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The first that answered is preselected: a number directly, a listed port for the checked
    // number.
    for (int n = 1; n <= 4; ++n) {
        if (m_probed.value(deviceOf(n))) {
            portButton(n)->setChecked(true);
            m_ui->BtOK->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    for (int row = 0; row < m_listed.size(); ++row) {
        if (!m_probed.value(m_listed.at(row).device)) continue;
        QTreeWidgetItem* item = m_ui->lvPorts->topLevelItem(row);
        m_ui->lvPorts->setCurrentItem(item);
        if (checkedPort() == 0) portButton(1)->setChecked(true);
        assignListed(item);
        m_ui->BtOK->setFocus(Qt::OtherFocusReason);
        return;
    }
}

bool TfrmComPort::applyTrace()
{
    const bool wanted = m_ui->cbTrace->isChecked();
    if (wanted == r73::trace::active()) return true;
    // A new file each time, in the folder of the logbook, to send along with a report.
    const QString path =
        wanted ? QDir::current().filePath(QStringLiteral("Log/trace-%1.jsonl")
                                              .arg(QDateTime::currentDateTime().toString(
                                                  QStringLiteral("yyyyMMdd-hhmmss"))))
               : QString();
    QString error;
    if (r73::trace::start(path, &error)) return true;
    r73::showMessage(
        {this, r73::tr73(0, QStringLiteral("Das Leitungsprotokoll kann nicht geschrieben werden.")),
         r73::tr73(0, QStringLiteral("Fehler")), r73::MsgIcon::Error, r73::MsgButtons::Ok, error});
    return false;
}
