#pragma once
/// A backup opened as a controller, to prepare its settings at the desk: a controller simulated
/// in process takes the file's identity and settings and stands behind the link in place of the
/// serial port, so every page shows and sends with its own sequences and rules. F5 and
/// "Speichern unter …" write what it holds to a new backup marked as edited offline; what only
/// a running machine can tell (service values, history) stays as the file recorded it.

#include "Settings.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <memory>

class TForm1;
class QWidget;

namespace r73 {

class SerialBackend;
namespace sim {
class SimEngine;
}

class OfflineSession : public QObject
{
public:
    /// With a startFile, its controller stands behind the link from the start, so the window
    /// makes its first link to it and no port is tried; open(startFile) shows it.
    explicit OfflineSession(const QString& startFile = {});
    ~OfflineSession() override;
    /// The window it works in; before any other call.
    void attach(TForm1& window);

    /// Asks for a backup file and opens it.
    void openAsked();
    /// Opens path as an offline controller, ending a connection first; false, after a message
    /// that says why, when nothing was opened.
    bool open(const QString& path);
    bool active() const { return m_engine != nullptr; }
    /// A BIOS the program does not know: shown, but nothing can be changed or saved.
    bool readOnly() const { return m_readOnly; }
    /// Writes the offline controller's settings to a new backup: under a name asked for
    /// (askName, or the first time), else to the file chosen before. False when nothing was
    /// written.
    bool save(bool askName);
    /// A service report tells of a visit at a controller: says that there is none offline.
    void refuseReport();

private:
    /// The settings as the offline controller holds them, read with the backup's sequences.
    backup::Snapshot readBack();
    /// What a save writes: the controller's settings, the file's read-only information, and
    /// the file's value wherever it could not be put into the controller and was not changed.
    backup::Snapshot toSave(const backup::Snapshot& held) const;
    /// The file's controller behind the link, in place of the port.
    void plugIn(const backup::Snapshot& file, const QString& path);
    void offerSave();
    void leave();
    void setPagesEditable(bool editable);
    /// The message of a file opened for viewing only.
    void sayViewOnly();

    TForm1* m_window = nullptr;
    QString m_source;
    backup::Snapshot m_file;
    /// What the controller held right after it took the file, and at the last save.
    backup::Snapshot m_seeded, m_saved;
    QSet<QString> m_notSeeded; ///< refused or held as is: kept from the file unless changed
    QString m_target;          ///< the file F5 writes to, once chosen
    std::unique_ptr<sim::SimEngine> m_engine;
    std::unique_ptr<SerialBackend> m_portBackend; ///< the real one, back when leaving
    bool m_demoMode = false;
    bool m_readOnly = false;
    QList<QPointer<QWidget>> m_lockedInputs;
};

} // namespace r73
