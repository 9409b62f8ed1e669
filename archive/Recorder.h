#pragma once
/// Records visits and changes without holding up the window or the controller: each visit is queued
/// and written, its files copied, on a thread of its own. A team's server that cannot be reached is
/// said once; the visit then goes into the local index, and the first visit that reaches the
/// server again, in this run or a later one, sends those local visits there once.

#include "Archive.h"

#include <QMutex>
#include <QObject>
#include <QThread>
#include <QWaitCondition>

namespace r73::archive {

class RecorderWorker;

class Recorder : public QObject
{
    Q_OBJECT
public:
    /// where: the configured index; local: the fall-back SQLite file; filesRoot: "Archive".
    Recorder(const Location& where, const QString& localFile, const QString& filesRoot,
             QObject* parent = nullptr);
    /// Writes what is queued still (for a few seconds at most), then ends the thread.
    ~Recorder() override;

    /// Queues a visit; the files at filePaths are copied into the controller's folder and
    /// listed with it. Returns at once, with the visit as queued (its id, time and workstation
    /// filled in): recorded again with more files, it gains them.
    Visit record(Visit visit, const QStringList& filePaths = {});
    /// Queues changes made to a controller (id, time and workstation filled in where empty),
    /// written in one transaction. Returns at once.
    void recordChanges(QList<Change> changes);
    /// Reads a controller's changes, newest first, on the recorder's thread (after what is
    /// queued); done gets them on context's thread. None when the archive cannot be read.
    void readChanges(const QString& serial, QObject* context,
                     std::function<void(const QList<Change>&)> done);
    /// Queues sending the local visits the server does not hold yet (recording does so by
    /// itself once the server answers).
    void sendLocalVisits();
    /// Waits until everything queued is written; false on time-out.
    bool flush(int timeoutMs = 10000);

    const Location& location() const { return m_where; }
    QString filesRoot() const { return m_filesRoot; }

signals:
    /// A failure, said once until the archive works again.
    void problem(const QString& message);
    /// A visit is in the archive.
    void recorded(const QString& serial);
    /// The server answers again after visits went into the local index.
    void serverBack();
    /// Local visits were sent to the server; count > 0.
    void sent(int count);

private:
    friend class RecorderWorker;
    void queue(std::function<void()> job);
    void done();

    Location m_where;
    QString m_filesRoot;
    QThread m_thread;
    RecorderWorker* m_worker = nullptr;
    QMutex m_mutex;
    QWaitCondition m_idle;
    int m_pending = 0;
    QDateTime m_lastChangeAt;
};

} // namespace r73::archive
