#include "OfflineSession.h"

#include "BackupFile.h"
#include "Controller.h"
#include "Form_cy.h"
#include "FunctionCatalog.h"
#include "LinkState.h"
#include "MessageFacade.h"
#include "PollReads.h"
#include "ProgramState.h"
#include "Restore.h"
#include "SimEngine.h"
#include "SimSerialPort.h"
#include "SuperCom.h"
#include "TextHook.h"
#include "ui_Form1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace r73 {

namespace {

const char Caption[] = "Offline";

void info(QWidget* owner, const QString& text, MsgIcon icon)
{
    showMessage({owner, text, tr73own(Caption), icon, MsgButtons::Ok});
}

/// Beside the file it came from: "unit.json" becomes "unit_offline.json".
QString proposedPath(const QString& source)
{
    const QFileInfo f(source);
    return f.dir().filePath(f.completeBaseName() + QStringLiteral("_offline.json"));
}

} // namespace

OfflineSession::OfflineSession(const QString& startFile)
{
    backup::Snapshot file;
    // A file that does not load is said when it is opened.
    if (!startFile.isEmpty() && backup::loadBackup(startFile, file, nullptr))
        plugIn(file, startFile);
}

void OfflineSession::attach(TForm1& window)
{
    m_window = &window;
    connect(&window, &TForm1::setsSaved, this, [this] {
        if (active()) save(false);
    });
    connect(&window, &TForm1::offlineEnding, this, &OfflineSession::offerSave);
    connect(&window, &TForm1::linkClosed, this, [this] {
        if (active()) leave();
    });
}

OfflineSession::~OfflineSession()
{
    // The backend must not outlive the controller it talks to.
    if (active()) leave();
}

void OfflineSession::openAsked()
{
    const QString path =
        showOpenDialog({m_window, tr73own("Offline öffnen"), QLatin1String(backup::BackupFolder),
                        QString(), QStringLiteral("json"), tr73own("Sicherung (*.json)")});
    if (!path.isEmpty()) open(path);
}

bool OfflineSession::open(const QString& path)
{
    const QString source = QFileInfo(path).absoluteFilePath();
    // Plugged in at the start for this file, and not shown yet.
    if (!active() || m_source != source || programState().connected) {
        backup::Snapshot file;
        QString error;
        if (!backup::loadBackup(path, file, &error)) {
            info(m_window, error + u'\n' + tr73own("Es wurde nichts geöffnet."), MsgIcon::Error);
            return false;
        }
        // One controller at a time: a connected one is let go as "Trennen" does.
        if (programState().connected) m_window->Disconnect();
        if (programState().connected || programState().connecting) return false;
        if (active()) leave(); // another file's, plugged in at the start
        plugIn(file, source);
    }
    m_demoMode = std::exchange(DemoMode, false);

    if (m_window->reopenLink()) m_window->Button3Click();
    if (!programState().connected || programState().commErrorSeen) {
        // Said by the connect; the window goes back to the port.
        if (programState().connected) m_window->Disconnect();
        if (active()) leave();
        m_window->reopenLink();
        return false;
    }
    // The file goes in as a restore puts it onto a controller: only what differs from the
    // controller's own values, each with its page's sequence and rules.
    backup::LinkController controller(*m_window, m_file.id);
    const backup::Plan plan = backup::planRestore(m_file, controller.read());
    const backup::Outcome outcome = backup::restore(controller, plan);
    for (const backup::PlanItem& item : outcome.skipped) {
        // A channel text the controller held as is: it holds it again, as it did.
        const backup::Kind kind = item.setting->kind;
        if (item.file && !item.file->heldAsIs.isEmpty() &&
            (kind == backup::Kind::Text || kind == backup::Kind::ChannelLimit))
            controller.write(*item.setting, *item.file);
        else
            m_notSeeded.insert(item.setting->key);
    }
    for (const backup::Verified& v : outcome.written)
        if (!v.ok || v.raised) m_notSeeded.insert(v.setting->key);
    m_window->readSettings();
    if (programState().biosVersion >= 300 && m_window->analogPages())
        m_window->analogPages()->ReadChannelNames();
    m_seeded = m_saved = readBack();
    if (m_window->historyPage()) m_window->historyPage()->showRecorded(m_file.history);
    if (programState().commErrorSeen) return false;

    m_window->setWindowTitle(tr73own("Offline: %1").arg(QFileInfo(path).fileName()));
    m_window->showDone(tr73own("Offline geöffnet: %1 (kein Controller, keine Schnittstelle)")
                           .arg(QDir::toNativeSeparators(m_source)));
    if (m_readOnly) {
        setPagesEditable(false);
        sayViewOnly();
    }
    return true;
}

void OfflineSession::plugIn(const backup::Snapshot& file, const QString& path)
{
    sim::SimConfig config;
    config.bios = file.id.bios;
    config.serial = file.id.serial;
    config.stillReadings = serviceReadings(file.service.value_or(ServiceWords{}), file.id.bios);
    m_engine = std::make_unique<sim::SimEngine>(config);
    m_portBackend = setSerialBackend(std::make_unique<sim::SimSerialPort>(*m_engine));
    OfflineMode = true;
    m_source = QFileInfo(path).absoluteFilePath();
    m_file = file;
    m_target.clear();
    m_notSeeded.clear();
    m_readOnly = !knownBios(file.id.bios);
}

backup::Snapshot OfflineSession::readBack()
{
    backup::LinkController controller(*m_window, m_file.id);
    backup::Snapshot held = controller.read();
    // The read left another set selected; the fields keep what they show and how it was sent.
    if (m_window->paramPages()) m_window->paramPages()->selectionLost();
    return held;
}

backup::Snapshot OfflineSession::toSave(const backup::Snapshot& held) const
{
    backup::Snapshot s = held;
    for (const QString& key : m_notSeeded) {
        const backup::Setting* st = backup::settingOf(key);
        const bool changed = st && held.values.contains(key) && m_seeded.values.contains(key) &&
                             !backup::sameValue(*st, held.values[key], m_seeded.values[key]);
        if (!changed && m_file.values.contains(key)) s.values.insert(key, m_file.values[key]);
    }
    s.id = m_file.id;
    s.service = m_file.service;
    s.history = m_file.history;
    s.programVersion = QCoreApplication::applicationVersion();
    s.created = QDateTime::currentDateTime();
    s.editedOfflineFrom = m_source;
    return s;
}

bool OfflineSession::save(bool askName)
{
    if (!active()) return false;
    if (m_readOnly) {
        sayViewOnly();
        return false;
    }
    QString path = m_target;
    if (askName || path.isEmpty()) {
        const QString proposed = m_target.isEmpty() ? proposedPath(m_source) : m_target;
        path = showSaveDialog({m_window, tr73own("Speichern unter"),
                               QFileInfo(proposed).absolutePath(), QFileInfo(proposed).fileName(),
                               QStringLiteral("json"), tr73own("Sicherung (*.json)")});
        if (path.isEmpty()) return false;
    }
    const backup::Snapshot held = readBack();
    if (programState().commErrorSeen) return false;
    QString error;
    if (!backup::saveBackup(path, toSave(held), &error)) {
        info(m_window, error, MsgIcon::Error);
        return false;
    }
    m_target = path;
    m_saved = held;
    m_window->showDone(tr73own("Offline bearbeitet gespeichert: %1 (aus %2)")
                           .arg(QDir::toNativeSeparators(path), QFileInfo(m_source).fileName()));
    return true;
}

void OfflineSession::sayViewOnly()
{
    info(m_window,
         tr73own("Die BIOS-Version %1 kennt dieses Programm nicht: die Sicherung ist nur zum "
                 "Ansehen geöffnet.")
             .arg(backup::versionText(m_file.id.bios)),
         MsgIcon::Warning);
}

void OfflineSession::refuseReport()
{
    info(m_window,
         tr73own("Offline ist kein Controller verbunden: ein Servicebericht entsteht nur am "
                 "Controller."),
         MsgIcon::Information);
}

void OfflineSession::offerSave()
{
    if (!active() || m_readOnly) return;
    // Compared as two files are: what differs from the last save.
    if (!backup::planRestore(readBack(), m_saved, true).differs()) return;
    if (showMessage({m_window,
                     tr73own("Die offline geänderten Einstellungen sind in keiner Datei "
                             "gespeichert.\n\nJetzt speichern?"),
                     tr73own(Caption), MsgIcon::Question, MsgButtons::YesNo}) == MsgAnswer::Yes)
        save(false);
}

void OfflineSession::leave()
{
    setPagesEditable(true);
    setSerialBackend(std::move(m_portBackend));
    m_engine.reset();
    OfflineMode = false;
    DemoMode = m_demoMode;
    m_readOnly = false;
}

void OfflineSession::setPagesEditable(bool editable)
{
    if (editable) {
        for (const QPointer<QWidget>& w : std::as_const(m_lockedInputs)) {
            if (!w) continue;
            if (auto* edit = qobject_cast<QLineEdit*>(w.data()))
                edit->setReadOnly(false);
            else
                w->setEnabled(true);
        }
        m_lockedInputs.clear();
        return;
    }
    QWidget* pages = m_window->form().TabbedNotebook1;
    for (QLineEdit* edit : pages->findChildren<QLineEdit*>())
        if (!edit->isReadOnly()) {
            edit->setReadOnly(true);
            m_lockedInputs << edit;
        }
    for (QWidget* w : pages->findChildren<QWidget*>())
        if ((qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)) && w->isEnabled()) {
            w->setEnabled(false);
            m_lockedInputs << w;
        }
}

} // namespace r73
