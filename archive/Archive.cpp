#include "Archive.h"

#include "Csv.h"
#include "ParamSets.h"
#include "SafeFile.h"
#include "TextHook.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace r73::archive {

namespace {

QAtomicInt g_connections;

QString isoText(const QDateTime& at)
{
    return at.toUTC().toString(Qt::ISODateWithMs);
}

/// The archive keeps the program's own documents (backups, journals, logbooks, reports), all far
/// below this; a larger file is refused rather than read into memory.
constexpr qint64 MaxKeptSize = 64 * 1024 * 1024;

bool sameContent(const QString& path, const QByteArray& bytes)
{
    QByteArray other;
    return readRegularFile(path, &other, nullptr, MaxKeptSize) && other == bytes;
}

} // namespace

const QList<CounterDef>& counterDefs()
{
    static const QList<CounterDef> defs = {
        {"clamp_pulses", "Spannen [Pulse]"},
        {"release_pulses", "Lösen [Pulse]"},
        {"release_deviation", "Löseabweichung [Pulse]"},
        {"frequency", "Frequenz [0,1 Hz]"},
        {"duration", "T_Dauer [ms]"},
        {"vibration", "Schwingung [mm/s]"},
        {"history_last", "Letzte Zyklus-Nr."},
    };
    return defs;
}

QString Location::describe() const
{
    if (!server()) return QDir::toNativeSeparators(sqliteFile);
    return QStringLiteral("%1@%2/%3").arg(user, host, database);
}

QString Location::serverKey() const
{
    return QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(database);
}

Archive::Archive()
    : m_connection(QStringLiteral("r73archive-%1").arg(g_connections.fetchAndAddRelaxed(1)))
{}

Archive::~Archive()
{
    close();
}

bool Archive::fail(QString* error, const QString& what) const
{
    if (error)
        *error = tr73own(QString::fromUtf8("Das Archiv %1 kann nicht benutzt werden: %2"))
                     .arg(m_where.describe(), what.trimmed());
    return false;
}

bool Archive::open(const Location& where, QString* error)
{
    close();
    m_where = where;
    QSqlDatabase db = QSqlDatabase::addDatabase(
        where.server() ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid()) return fail(error, tr73own(QStringLiteral("Datenbanktreiber fehlt")));
    if (where.server()) {
        db.setHostName(where.host);
        db.setPort(where.port);
        db.setDatabaseName(where.database);
        db.setUserName(where.user);
        db.setPassword(where.password);
        // A server that does not answer must not hold up a visit for long; its notices about
        // tables that exist already are no news.
        db.setConnectOptions(
            QStringLiteral("connect_timeout=3;options='-c client_min_messages=warning'"));
    } else {
        const QFileInfo info(where.sqliteFile);
        if (!info.absoluteDir().exists() && !QDir().mkpath(info.absolutePath()))
            return fail(error, tr73own(QStringLiteral("Ordner kann nicht angelegt werden")));
        db.setDatabaseName(where.sqliteFile);
        // Another program writing the same file: wait for it rather than fail at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    }
    if (!db.open()) {
        const QString why = db.lastError().text();
        db = QSqlDatabase();
        close();
        return fail(error, why);
    }
    db = QSqlDatabase(); // the connection is looked up by name from here on
    if (!createOrUpgrade(error)) {
        close();
        return false;
    }
    return true;
}

bool Archive::isOpen() const
{
    return QSqlDatabase::contains(m_connection) &&
           QSqlDatabase::database(m_connection, false).isOpen();
}

void Archive::close()
{
    if (!QSqlDatabase::contains(m_connection)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

namespace {

/// A visit's rows; one there already gains only the files it does not list yet.
bool writeVisit(QSqlQuery& q, const Visit& v)
{
    q.prepare(
        QStringLiteral("INSERT INTO visits (id, serial, bios, kind, at, technician, host, "
                       "customer, site, machine, order_no) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                       "?, ?) ON CONFLICT (id) DO NOTHING"));
    for (const QString& value : {v.id, v.serial, v.bios, v.kind, isoText(v.at), v.technician,
                                 v.host, v.customer, v.site, v.machine, v.order})
        q.addBindValue(value);
    bool ok = q.exec();
    // Zero rows: this visit is in the archive already, with its counters and files.
    const bool fresh = ok && q.numRowsAffected() != 0;
    for (qsizetype i = 0; ok && fresh && i < v.counters.size(); ++i) {
        q.prepare(QStringLiteral("INSERT INTO counters (visit_id, name, value) VALUES (?, ?, ?)"));
        q.addBindValue(v.id);
        q.addBindValue(v.counters[i].first);
        q.addBindValue(v.counters[i].second);
        ok = q.exec();
    }
    // Without ON CONFLICT: a first version's file table has no key to conflict on.
    for (qsizetype i = 0; ok && i < v.files.size(); ++i) {
        q.prepare(QStringLiteral("INSERT INTO files (visit_id, name) SELECT ?, ? WHERE NOT EXISTS "
                                 "(SELECT 1 FROM files WHERE visit_id = ? AND name = ?)"));
        for (const QString& value : {v.id, v.files[i], v.id, v.files[i]})
            q.addBindValue(value);
        ok = q.exec();
    }
    return ok;
}

} // namespace

bool Archive::inTransaction(const std::function<bool(QSqlQuery&)>& writes, QString* error)
{
    if (!isOpen()) return fail(error, tr73own(QStringLiteral("nicht geöffnet")));
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) return fail(error, db.lastError().text());
    QSqlQuery q(db);
    const bool ok = writes(q);
    const QString why = q.lastError().text();
    q.finish();
    if (!ok || !db.commit()) {
        const QString reason = ok ? db.lastError().text() : why;
        db.rollback();
        return fail(error, reason);
    }
    return true;
}

bool Archive::record(Visit v, QString* error)
{
    if (v.id.isEmpty()) v.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return inTransaction([&v](QSqlQuery& q) { return writeVisit(q, v); }, error);
}

bool Archive::recordChanges(QList<Change> changes, QString* error)
{
    return inTransaction(
        [&changes](QSqlQuery& q) {
            bool ok = true;
            for (qsizetype i = 0; ok && i < changes.size(); ++i) {
                Change& c = changes[i];
                if (c.id.isEmpty()) c.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
                q.prepare(QStringLiteral(
                    "INSERT INTO changes (id, serial, bios, at, technician, host, origin, source, "
                    "setting, caption, before_value, after_value) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                    "?, ?, ?, ?) ON CONFLICT (id) DO NOTHING"));
                for (const QString& value :
                     {c.id, c.serial, c.bios, isoText(c.at), c.technician, c.host, c.origin,
                      c.source, c.setting, c.caption, c.before, c.after})
                    q.addBindValue(value);
                ok = q.exec();
            }
            return ok;
        },
        error);
}

QList<Change> Archive::loadChanges(const QString& where, const QStringList& values,
                                   const QString& order, QString* error) const
{
    QList<Change> out;
    if (!isOpen()) return out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT id, serial, bios, at, technician, host, origin, source, "
                             "setting, caption, before_value, after_value FROM changes ") +
              where + QStringLiteral(" ORDER BY ") + order);
    for (const QString& v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        fail(error, q.lastError().text());
        return out;
    }
    while (q.next()) {
        Change c;
        QString* texts[] = {&c.id,     &c.serial, &c.bios,    nullptr,    &c.technician, &c.host,
                            &c.origin, &c.source, &c.setting, &c.caption, &c.before,     &c.after};
        for (int i = 0; i < 12; ++i)
            if (texts[i]) *texts[i] = q.value(i).toString();
        c.at = QDateTime::fromString(q.value(3).toString(), Qt::ISODateWithMs);
        out.append(c);
    }
    return out;
}

QList<Change> Archive::changes(const QString& serial, QString* error) const
{
    // The same time for several (a restore's writes): the order they were made in, reversed.
    return loadChanges(QStringLiteral("WHERE serial = ?"), {serial},
                       QStringLiteral("at DESC, id DESC"), error);
}

QList<Change> Archive::changesNotSentTo(const QString& serverKey, QString* error)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS sent_changes (change_id TEXT NOT NULL, "
                               "server TEXT NOT NULL, PRIMARY KEY (change_id, server))"))) {
        fail(error, q.lastError().text());
        return {};
    }
    return loadChanges(QStringLiteral("WHERE id NOT IN (SELECT change_id FROM sent_changes WHERE "
                                      "server = ?)"),
                       {serverKey}, QStringLiteral("at, id"), error);
}

bool Archive::markChangesSent(const QList<Change>& changes, const QString& serverKey,
                              QString* error)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    for (const Change& c : changes) {
        q.prepare(QStringLiteral("INSERT INTO sent_changes (change_id, server) VALUES (?, ?) "
                                 "ON CONFLICT DO NOTHING"));
        q.addBindValue(c.id);
        q.addBindValue(serverKey);
        if (!q.exec()) return fail(error, q.lastError().text());
    }
    return true;
}

QList<ControllerRow> Archive::controllers(QString* error) const
{
    QList<ControllerRow> rows;
    if (!isOpen()) return rows;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    // The BIOS of the last visit: the visit whose time is the controller's latest.
    if (!q.exec(QStringLiteral(
            "SELECT v.serial, v.at, v.bios, c.n FROM visits v JOIN (SELECT serial, MAX(at) AS "
            "last, COUNT(*) AS n FROM visits GROUP BY serial) c ON c.serial = v.serial AND "
            "c.last = v.at ORDER BY v.at DESC, v.serial"))) {
        fail(error, q.lastError().text());
        return rows;
    }
    while (q.next()) {
        if (!rows.isEmpty() && rows.last().serial == q.value(0).toString()) continue;
        rows.append({q.value(0).toString(),
                     QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs),
                     q.value(2).toString(), q.value(3).toInt()});
    }
    return rows;
}

QList<Visit> Archive::loadVisits(const QString& where, const QStringList& values,
                                 QString* error) const
{
    QList<Visit> out;
    if (!isOpen()) return out;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT id, serial, bios, kind, at, technician, host, customer, site, "
                             "machine, order_no FROM visits ") +
              where + QStringLiteral(" ORDER BY at, id"));
    for (const QString& v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        fail(error, q.lastError().text());
        return out;
    }
    while (q.next()) {
        Visit v;
        v.id = q.value(0).toString();
        v.serial = q.value(1).toString();
        v.bios = q.value(2).toString();
        v.kind = q.value(3).toString();
        v.at = QDateTime::fromString(q.value(4).toString(), Qt::ISODateWithMs);
        v.technician = q.value(5).toString();
        v.host = q.value(6).toString();
        v.customer = q.value(7).toString();
        v.site = q.value(8).toString();
        v.machine = q.value(9).toString();
        v.order = q.value(10).toString();
        out.append(v);
    }
    QSqlQuery part(db);
    for (Visit& v : out) {
        part.prepare(QStringLiteral("SELECT name, value FROM counters WHERE visit_id = ?"));
        part.addBindValue(v.id);
        if (part.exec())
            while (part.next()) {
                // Counts kept by older programs as signed words read as the page shows them now.
                const QString key = part.value(0).toString();
                v.counters.append({key, serviceNumber(key, part.value(1).toDouble())});
            }
        part.prepare(QStringLiteral("SELECT name FROM files WHERE visit_id = ? ORDER BY name"));
        part.addBindValue(v.id);
        if (part.exec())
            while (part.next())
                v.files.append(part.value(0).toString());
    }
    return out;
}

QList<Visit> Archive::visits(const QString& serial, QString* error) const
{
    return loadVisits(QStringLiteral("WHERE serial = ?"), {serial}, error);
}

QList<Visit> Archive::allVisits(QString* error) const
{
    return loadVisits({}, {}, error);
}

QList<Visit> Archive::visitsNotSentTo(const QString& serverKey, QString* error)
{
    // Kept beside the visits in the local file only; a file without it is read as before.
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS sent_visits (visit_id TEXT NOT NULL, "
                               "server TEXT NOT NULL, PRIMARY KEY (visit_id, server))"))) {
        fail(error, q.lastError().text());
        return {};
    }
    return loadVisits(QStringLiteral("WHERE id NOT IN (SELECT visit_id FROM sent_visits WHERE "
                                     "server = ?)"),
                      {serverKey}, error);
}

bool Archive::markSent(const QString& visitId, const QString& serverKey, QString* error)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT INTO sent_visits (visit_id, server) VALUES (?, ?) "
                             "ON CONFLICT DO NOTHING"));
    q.addBindValue(visitId);
    q.addBindValue(serverKey);
    return q.exec() || fail(error, q.lastError().text());
}

int sendUnsent(Archive& local, Archive& server, QString* error)
{
    const QString key = server.location().serverKey();
    QString problem;
    const QList<Visit> visits = local.visitsNotSentTo(key, &problem);
    int count = 0;
    for (const Visit& v : visits) {
        if (!problem.isEmpty()) break;
        if (server.record(v, &problem) && local.markSent(v.id, key, &problem)) ++count;
    }
    if (problem.isEmpty()) {
        const QList<Change> changes = local.changesNotSentTo(key, &problem);
        if (problem.isEmpty() && !changes.isEmpty() && server.recordChanges(changes, &problem))
            local.markChangesSent(changes, key, &problem);
    }
    if (problem.isEmpty()) return count;
    if (error) *error = problem;
    return -1;
}

QString sentNote(int count)
{
    return QStringLiteral("%1 visit(s) kept locally sent to the archive server").arg(count);
}

QString controllerFolder(const QString& root, const QString& serial)
{
    // A serial number is digits; anything else a damaged read may give stays out of the path.
    QString safe = serial;
    for (QChar& c : safe)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_') c = u'_';
    if (safe.isEmpty()) safe = QStringLiteral("_");
    return QDir(root).filePath(safe);
}

bool keepFiles(const QString& root, const QString& serial, const QStringList& paths,
               QStringList* kept, QString* error)
{
    const QString folder = controllerFolder(root, serial);
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = tr73own(QStringLiteral("Ordner %1 kann nicht angelegt werden"))
                         .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    bool allKept = true;
    for (const QString& path : paths) {
        const QFileInfo from(path);
        QString name = from.fileName();
        QString target = QDir(folder).filePath(name);
        const QString canonical = from.canonicalFilePath(); // empty: the file is missing
        if (!canonical.isEmpty() && QFileInfo(target).canonicalFilePath() == canonical) {
            kept->append(name); // made in its folder already
            continue;
        }
        QByteArray bytes;
        QString reason;
        if (readRegularFile(path, &bytes, &reason, MaxKeptSize)) {
            // Another file of that name already kept: this one takes the next free name.
            for (int n = 1; QFile::exists(target) && !sameContent(target, bytes); ++n) {
                name = from.completeBaseName() + QStringLiteral("_%1.").arg(n) + from.suffix();
                target = QDir(folder).filePath(name);
            }
            if (QFile::exists(target) || writeFileAtomically(target, bytes, &reason)) {
                kept->append(name);
                continue;
            }
        }
        allKept = false;
        if (error)
            *error = tr73own(QStringLiteral("Datei %1 kann nicht ins Archiv kopiert werden: %2"))
                         .arg(QDir::toNativeSeparators(path), reason);
    }
    return allKept;
}

QString kindName(const QString& kind)
{
    static const QList<QPair<const char*, const char*>> kinds = {{KindConnect, "Verbindung"},
                                                                 {KindBackup, "Sicherung"},
                                                                 {KindRestore, "Wiederherstellung"},
                                                                 {KindLogbook, "Logbuch"},
                                                                 {KindReport, "Servicebericht"}};
    for (const auto& [key, german] : kinds)
        if (kind == QLatin1String(key)) return tr73own(QString::fromUtf8(german));
    return kind;
}

QString originName(const Change& c)
{
    if (c.origin == QLatin1String(OriginPage)) return tr73own("Seite %1").arg(c.source);
    if (c.origin == QLatin1String(OriginRestore))
        return tr73own("Wiederherstellung aus %1").arg(c.source);
    if (c.origin == QLatin1String(OriginCli)) return QStringLiteral("r73ctl %1").arg(c.source);
    return (c.origin + u' ' + c.source).trimmed();
}

QString changesCsv(const QList<Change>& changes)
{
    const QStringList header{tr73own(QStringLiteral("Datum")),
                             QStringLiteral("BIOS"),
                             tr73own("Einstellung"),
                             tr73own("Schlüssel"),
                             tr73own("Vorher"),
                             tr73own("Nachher"),
                             tr73own("Techniker"),
                             tr73own("Arbeitsplatz"),
                             tr73own("Herkunft")};
    QList<QStringList> rows;
    for (const Change& c : changes)
        rows << QStringList{c.at.toUTC().toString(Qt::ISODate),
                            c.bios,
                            c.caption,
                            c.setting,
                            c.before,
                            c.after,
                            c.technician,
                            c.host,
                            originName(c)};
    return toCsv(header, rows);
}

QString countersCsv(const QList<Visit>& visits)
{
    QStringList header{tr73own(QStringLiteral("Datum")), tr73own(QStringLiteral("Art")),
                       QStringLiteral("BIOS")};
    for (const CounterDef& d : counterDefs())
        header << tr73own(QString::fromUtf8(d.caption));
    QList<QStringList> rows;
    for (const Visit& v : visits) {
        QStringList row{v.at.toUTC().toString(Qt::ISODate), kindName(v.kind), v.bios};
        for (const CounterDef& d : counterDefs()) {
            QString cell;
            for (const auto& [key, value] : v.counters)
                if (key == QLatin1String(d.key)) cell = QString::number(value, 'g', 10);
            row << cell;
        }
        rows << row;
    }
    return toCsv(header, rows);
}

} // namespace r73::archive
