#include "CommandRecord.h"

#include "ArchiveConfig.h"
#include "ChangeRecords.h"
#include "ControllerModel.h"
#include "Recorder.h"
#include "ReportOfController.h"

#include <QCoreApplication>
#include <QTextStream>

namespace r73::cli {

CommandRecord::CommandRecord() = default;
CommandRecord::~CommandRecord() = default;

bool CommandRecord::open(QString* problem)
{
    archive::Location where;
    if (!archive::configuredLocation(&where, problem)) return false;
    m_recorder =
        std::make_unique<archive::Recorder>(where, archive::localIndexFile(), archive::filesRoot());
    QObject::connect(m_recorder.get(), &archive::Recorder::problem, m_recorder.get(),
                     [this](const QString& message) {
                         if (m_problem.isEmpty()) m_problem = message;
                     });
    QObject::connect(m_recorder.get(), &archive::Recorder::sent, m_recorder.get(),
                     [this](int count) { m_sent += count; });
    return true;
}

void CommandRecord::visit(const model::ControllerModel& model, const char* kind,
                          const QStringList& files, const report::Customer& customer)
{
    if (!m_recorder) return;
    archive::Visit v;
    v.serial = QString::number(model.identity().serial);
    v.bios = backup::shownVersionText(model.identity().bios);
    v.kind = QString::fromLatin1(kind);
    v.technician = archive::technicianName();
    v.counters = report::countersOf(model);
    v.customer = customer.customer;
    v.site = customer.site;
    v.machine = customer.machine;
    v.order = customer.order;
    m_recorder->record(v, files);
}

void CommandRecord::visit(const backup::Snapshot& snapshot, const char* kind,
                          const QStringList& files)
{
    model::ControllerModel model;
    model.begin(snapshot.id, {}, false);
    model.snapshotRead(snapshot);
    visit(model, kind, files);
}

void CommandRecord::changes(QList<archive::Change> changes, const backup::Identity& id)
{
    if (!m_recorder || changes.isEmpty()) return;
    archive::stamp(changes, id, archive::technicianName());
    m_recorder->recordChanges(changes);
}

QString CommandRecord::finish()
{
    if (!m_recorder) return {};
    m_recorder->flush();
    QCoreApplication::processEvents(); // the archive's problems arrive as signals
    if (m_sent > 0) QTextStream(stderr) << "r73ctl: " << archive::sentNote(m_sent) << Qt::endl;
    m_sent = 0;
    return m_problem;
}

} // namespace r73::cli
