#include "Recorder.h"

#include "TextHook.h"

#include <QFile>
#include <QPointer>
#include <QSysInfo>
#include <QUuid>

namespace r73::archive {

/// Lives on the recorder's thread: the database connections belong to it.
class RecorderWorker : public QObject
{
public:
    RecorderWorker(Recorder& owner, Location where, QString localFile)
        : m_owner(owner), m_where(std::move(where))
    {
        m_local.sqliteFile = std::move(localFile);
    }

    void write(Visit visit, const QStringList& paths)
    {
        QString problem;
        if (!paths.isEmpty() &&
            !keepFiles(m_owner.m_filesRoot, visit.serial, paths, &visit.files, &problem))
            say(problem); // the visit is recorded all the same, with the files that were kept
        store(
            visit.serial, [&visit](Archive& a, QString* e) { return a.record(visit, e); },
            tr73own(QString::fromUtf8("Der Besuch wurde lokal aufgezeichnet.")));
    }

    void write(const QList<Change>& changes)
    {
        if (changes.isEmpty()) return;
        store(
            changes.first().serial,
            [&changes](Archive& a, QString* e) { return a.recordChanges(changes, e); },
            tr73own("Die Änderungen wurden lokal aufgezeichnet."));
    }

    /// The local visits the server does not hold yet, sent once per run that reaches it;
    /// an earlier run's too, which may have ended before the server came back.
    void sendLocal()
    {
        if (!m_where.server()) return;
        // No local index, nothing kept: none is made for asking.
        if (!m_localArchive.isOpen() && !QFile::exists(m_local.sqliteFile)) {
            m_caughtUp = true;
            return;
        }
        QString error;
        if (!ready(m_localArchive, m_local, &error) || !ready(m_main, m_where, &error)) {
            say(error);
            return;
        }
        const int count = sendUnsent(m_localArchive, m_main, &error);
        if (count < 0) {
            say(error);
            return;
        }
        m_caughtUp = true;
        if (count > 0) emit m_owner.sent(count);
    }

    QList<Change> changes(const QString& serial)
    {
        QString error;
        if (ready(m_main, m_where, &error)) return m_main.changes(serial, &error);
        // While the server is away, what this workstation kept.
        if (m_where.server() && QFile::exists(m_local.sqliteFile) &&
            ready(m_localArchive, m_local, &error))
            return m_localArchive.changes(serial, &error);
        return {};
    }

private:
    /// Into the configured index; while a team's server is away, into the local one.
    void store(const QString& serial, const std::function<bool(Archive&, QString*)>& put,
               const QString& keptLocally)
    {
        QString error;
        if (ready(m_main, m_where, &error) && put(m_main, &error)) {
            if (m_where.server() && m_wentLocal) {
                m_wentLocal = false;
                emit m_owner.serverBack();
            }
            succeeded(serial);
            if (m_where.server() && !m_caughtUp) sendLocal();
            return;
        }
        if (!m_where.server()) {
            say(error);
            return;
        }
        // The team's server is away: the record stays here until it can be sent.
        m_main.close();
        m_caughtUp = false;
        QString localError;
        if (ready(m_localArchive, m_local, &localError) && put(m_localArchive, &localError)) {
            // Said once: while the server is away, every record goes the same way.
            if (!m_wentLocal) say(error + u'\n' + keptLocally);
            m_wentLocal = true;
            emit m_owner.recorded(serial);
        } else {
            say(error + u'\n' + localError);
        }
    }

    static bool ready(Archive& archive, const Location& where, QString* error)
    {
        return archive.isOpen() || archive.open(where, error);
    }

    void say(const QString& message)
    {
        if (message == m_said) return;
        m_said = message;
        emit m_owner.problem(message);
    }

    void succeeded(const QString& serial)
    {
        m_said.clear();
        emit m_owner.recorded(serial);
    }

    Recorder& m_owner;
    Location m_where;
    Location m_local;
    Archive m_main;
    Archive m_localArchive;
    QString m_said;
    bool m_wentLocal = false;
    bool m_caughtUp = false; ///< the local visits are on the server
};

Recorder::Recorder(const Location& where, const QString& localFile, const QString& filesRoot,
                   QObject* parent)
    : QObject(parent), m_where(where), m_filesRoot(filesRoot)
{
    m_worker = new RecorderWorker(*this, where, localFile);
    m_worker->moveToThread(&m_thread);
    m_thread.setObjectName(QStringLiteral("archive"));
    m_thread.start(QThread::LowPriority);
}

Recorder::~Recorder()
{
    flush(5000);
    // The connections end on the thread that made them.
    QMetaObject::invokeMethod(
        m_worker, [this] { delete m_worker; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void Recorder::queue(std::function<void()> job)
{
    {
        QMutexLocker lock(&m_mutex);
        ++m_pending;
    }
    QMetaObject::invokeMethod(m_worker, [this, job = std::move(job)] {
        job();
        done();
    });
}

void Recorder::done()
{
    QMutexLocker lock(&m_mutex);
    if (--m_pending == 0) m_idle.wakeAll();
}

Visit Recorder::record(Visit visit, const QStringList& filePaths)
{
    if (visit.id.isEmpty()) visit.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!visit.at.isValid()) visit.at = QDateTime::currentDateTimeUtc();
    if (visit.host.isEmpty()) visit.host = QSysInfo::machineHostName();
    queue([this, visit, filePaths] { m_worker->write(visit, filePaths); });
    return visit;
}

void Recorder::recordChanges(QList<Change> changes)
{
    for (Change& c : changes) {
        if (c.id.isEmpty()) c.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        // Each a millisecond after the one before at least: the times keep the order they were
        // made in, a restore's many writes and a send with the save that follows it at once.
        if (!c.at.isValid())
            c.at = qMax(QDateTime::currentDateTimeUtc(), m_lastChangeAt.addMSecs(1));
        m_lastChangeAt = c.at;
        if (c.host.isEmpty()) c.host = QSysInfo::machineHostName();
    }
    queue([this, changes] { m_worker->write(changes); });
}

void Recorder::readChanges(const QString& serial, QObject* context,
                           std::function<void(const QList<Change>&)> done)
{
    queue([this, serial, context = QPointer<QObject>(context), done = std::move(done)] {
        const QList<Change> found = m_worker->changes(serial);
        if (context) QMetaObject::invokeMethod(context, [done, found] { done(found); });
    });
}

void Recorder::sendLocalVisits()
{
    queue([this] { m_worker->sendLocal(); });
}

bool Recorder::flush(int timeoutMs)
{
    QMutexLocker lock(&m_mutex);
    QDeadlineTimer deadline(timeoutMs);
    while (m_pending > 0)
        if (!m_idle.wait(&m_mutex, deadline)) return false;
    return true;
}

} // namespace r73::archive
