#pragma once
/// The archive of the working folder (or the team's server its configuration names) for one
/// command: its visits and changes recorded as the window records them, with the configured
/// technician, and the archive's problems kept for the command's exit.

#include "Archive.h"
#include "ServiceReport.h"
#include "Settings.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace r73::model {
class ControllerModel;
}

namespace r73::archive {
class Recorder;
}

namespace r73::cli {

class CommandRecord
{
public:
    CommandRecord();
    ~CommandRecord();
    /// False with the reason when the configured archive cannot be used.
    bool open(QString* problem);
    /// A visit of the controller the model holds, its counters as read, with files kept.
    void visit(const model::ControllerModel& model, const char* kind, const QStringList& files = {},
               const report::Customer& customer = {});
    /// A visit of a controller as a complete read gave it.
    void visit(const backup::Snapshot& snapshot, const char* kind, const QStringList& files = {});
    void changes(QList<archive::Change> changes, const backup::Identity& id);
    /// Waits until everything is written. The first problem, empty when all went in; a note
    /// on standard error when visits kept locally went to the server.
    QString finish();

private:
    std::unique_ptr<archive::Recorder> m_recorder;
    QString m_problem;
    int m_sent = 0;
};

} // namespace r73::cli
