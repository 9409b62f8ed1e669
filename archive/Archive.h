#pragma once
/// The archive: every connect, backup, restore, logbook save and report, recorded per
/// controller (serial number and BIOS version) with its time, the service counters read then
/// and the files it produced. The index is a database through Qt SQL; the files are kept in a
/// folder per controller, "Archive/<serial number>/".
///
/// A visit carries a unique id: recording it again (after a failed commit, or sending local
/// visits to the team's server) changes nothing, and each visit is written in one transaction,
/// so several programs writing at once neither lose nor duplicate one.

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class QSqlQuery;

namespace r73::archive {

/// What a visit did; stored by these names.
inline constexpr auto KindConnect = "connect";
inline constexpr auto KindBackup = "backup";
inline constexpr auto KindRestore = "restore";
inline constexpr auto KindLogbook = "logbook";
inline constexpr auto KindReport = "report";

/// A service counter: its stored key and its German caption with the unit.
struct CounterDef
{
    const char* key;
    const char* caption;
};
/// The counters the program records, in the order of the service page.
const QList<CounterDef>& counterDefs();

struct Visit
{
    QString id; ///< unique; record() makes one when empty
    QString serial;
    QString bios;
    QString kind;
    QDateTime at; ///< kept in UTC
    QString technician;
    QString host;                           ///< the workstation that recorded it
    QList<QPair<QString, double>> counters; ///< key, value
    QStringList files;                      ///< names in the controller's folder
    /// Whom a report was for (customer, site, machine, order number); empty for other visits.
    QString customer;
    QString site;
    QString machine;
    QString order;
};

/// Where a change was made; stored by these names.
inline constexpr auto OriginPage = "page";       ///< source: the page's caption
inline constexpr auto OriginRestore = "restore"; ///< source: the file restored from
inline constexpr auto OriginCli = "r73ctl";      ///< source: the command
/// The setting of a change that is a permanent save; its caption names the sets.
inline constexpr auto SaveSetting = "save";

/// One write to a controller: a setting sent and read back, or a permanent save. Unique by id,
/// as visits are, so sending it again to a server keeps it once.
struct Change
{
    QString id; ///< recordChanges() makes one when empty
    QString serial;
    QString bios;
    QDateTime at; ///< kept in UTC
    QString technician;
    QString host;
    QString origin; ///< OriginPage, OriginRestore, OriginCli
    QString source;
    QString setting; ///< its key ("clamp.short"), or SaveSetting
    QString caption; ///< as the program named it then
    QString before;  ///< as last read; empty when not known
    QString after;   ///< as read back; empty when the read-back failed
};

/// Where a change was made, in the current language: "Seite SPANNEN", "Wiederherstellung aus …".
QString originName(const Change& c);
/// Changes as comma-separated values, in the order given.
QString changesCsv(const QList<Change>& changes);

struct ControllerRow
{
    QString serial;
    QDateTime lastSeen;
    QString bios; ///< at the last visit
    int visits = 0;
};

/// Where the index lives: a SQLite file, or a PostgreSQL server when host is set.
struct Location
{
    QString sqliteFile;
    QString host; ///< a name, an address, or the folder of a Unix socket
    int port = 5432;
    QString database;
    QString user;
    QString password;
    bool server() const { return !host.isEmpty(); }
    /// For messages: the file, or user@host/database.
    QString describe() const;
    /// Names the server's database, for noting which local visits it holds already.
    QString serverKey() const;
};

class Archive
{
public:
    /// The schema this program writes. Older files are upgraded, newer ones refused.
    static constexpr int SchemaVersion = 4;

    Archive();
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    /// Opens the index, creating or upgrading its schema. False with a message a technician
    /// understands (damaged file, newer program, server not reachable).
    bool open(const Location& where, QString* error);
    bool isOpen() const;
    void close();
    const Location& location() const { return m_where; }

    /// Records a visit in one transaction. A visit whose id is there already keeps what it has
    /// and gains the files it does not list yet: a file made after the visit (a restore's
    /// verification report) is added by recording the visit again with it.
    bool record(Visit visit, QString* error);
    /// Records changes in one transaction; one whose id is there already is left alone.
    bool recordChanges(QList<Change> changes, QString* error);
    /// A controller's changes, the newest first.
    QList<Change> changes(const QString& serial, QString* error) const;
    /// The changes not yet noted as held by the server of that key, oldest first.
    QList<Change> changesNotSentTo(const QString& serverKey, QString* error);
    /// Notes that the server of that key holds the changes.
    bool markChangesSent(const QList<Change>& changes, const QString& serverKey, QString* error);
    /// Every controller, the one seen last first.
    QList<ControllerRow> controllers(QString* error) const;
    /// The visits of one controller, oldest first, with counters and files.
    QList<Visit> visits(const QString& serial, QString* error) const;
    /// Every visit of every controller, for sending them to another archive.
    QList<Visit> allVisits(QString* error) const;
    /// The visits not yet noted as held by the server of that key, oldest first.
    QList<Visit> visitsNotSentTo(const QString& serverKey, QString* error);
    /// Notes that the server of that key holds the visit.
    bool markSent(const QString& visitId, const QString& serverKey, QString* error);

private:
    bool createOrUpgrade(QString* error);
    /// Runs writes in one transaction, committed only when they all succeeded.
    bool inTransaction(const std::function<bool(QSqlQuery&)>& writes, QString* error);
    bool fail(QString* error, const QString& what) const;
    QList<Visit> loadVisits(const QString& where, const QStringList& values, QString* error) const;
    QList<Change> loadChanges(const QString& where, const QStringList& values, const QString& order,
                              QString* error) const;

    QString m_connection;
    Location m_where;
};

/// Sends every visit and change of local that server does not hold yet, noting each in local once
/// the server has it: a later run sends none of them again, and one cut off part-way sends only the
/// rest (recording is by id, so a visit sent twice stays one). Returns how many were sent, or -1
/// with the reason.
int sendUnsent(Archive& local, Archive& server, QString* error);
/// For r73ctl and r73-service --report: how many local visits went to the server.
QString sentNote(int count);

/// The folder of a controller's files below root ("Archive" in the working folder).
QString controllerFolder(const QString& root, const QString& serial);

/// Copies files into the controller's folder (made if needed), each under its own name, or with
/// a number added when that name holds a different file already. Returns the names kept; false
/// and the reason when one could not be copied (the others stay).
bool keepFiles(const QString& root, const QString& serial, const QStringList& paths,
               QStringList* kept, QString* error);

/// Counters of visits as comma-separated values: date (ISO 8601), kind, one column per counter.
QString countersCsv(const QList<Visit>& visits);

/// A visit's kind ("connect", ...) in the current language; an unknown kind as it is stored.
QString kindName(const QString& kind);

} // namespace r73::archive
