// The archive's schema: made by the program, upgraded step by step from older files, and
// refused when a newer program made it.

#include "Archive.h"

#include "TextHook.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <iterator>
#include <span>

namespace r73::archive {

namespace {

// Version 1: visits with their counters and files.
const char* const Version1[] = {
    "CREATE TABLE IF NOT EXISTS visits (id TEXT PRIMARY KEY, serial TEXT NOT NULL, bios TEXT, "
    "kind TEXT NOT NULL, at TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS visits_serial ON visits (serial, at)",
    "CREATE TABLE IF NOT EXISTS counters (visit_id TEXT NOT NULL REFERENCES visits (id), "
    "name TEXT NOT NULL, value DOUBLE PRECISION, PRIMARY KEY (visit_id, name))",
    "CREATE TABLE IF NOT EXISTS files (visit_id TEXT NOT NULL REFERENCES visits (id), "
    "name TEXT NOT NULL, PRIMARY KEY (visit_id, name))",
};
// Version 2: who recorded a visit, and on which workstation (a team shares the archive).
const char* const Version2[] = {
    "ALTER TABLE visits ADD COLUMN technician TEXT",
    "ALTER TABLE visits ADD COLUMN host TEXT",
};

// Version 3: every write to a controller, with its value before and after.
const char* const Version3[] = {
    "CREATE TABLE IF NOT EXISTS changes (id TEXT PRIMARY KEY, serial TEXT NOT NULL, bios TEXT, "
    "at TEXT NOT NULL, technician TEXT, host TEXT, origin TEXT, source TEXT, "
    "setting TEXT NOT NULL, caption TEXT, before_value TEXT, after_value TEXT)",
    "CREATE INDEX IF NOT EXISTS changes_serial ON changes (serial, at)",
};

// Version 4: whom a report was for, proposed again for the controller's next report.
const char* const Version4[] = {
    "ALTER TABLE visits ADD COLUMN customer TEXT",
    "ALTER TABLE visits ADD COLUMN site TEXT",
    "ALTER TABLE visits ADD COLUMN machine TEXT",
    "ALTER TABLE visits ADD COLUMN order_no TEXT",
};

bool run(QSqlDatabase& db, const char* sql, QString* message)
{
    QSqlQuery q(db);
    if (q.exec(QString::fromLatin1(sql))) return true;
    *message = q.lastError().text();
    return false;
}

} // namespace

bool Archive::createOrUpgrade(QString* error)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QString message;
    if (!db.transaction()) return fail(error, db.lastError().text());
    // Two programs opening a fresh server archive at once: the second waits for the first.
    if (m_where.server()) run(db, "SELECT pg_advisory_xact_lock(7304)", &message);
    QSqlQuery q(db);
    int version = 0;
    if (!q.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"))) {
        db.rollback();
        return fail(error, q.lastError().text());
    }
    if (q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next())
        version = q.value(0).toInt();
    q.finish();
    if (version > SchemaVersion) {
        db.rollback();
        if (error)
            *error = tr73own(QString::fromUtf8("Das Archiv %1 stammt von einer neueren "
                                               "Programmversion (Schema %2, dieses Programm kennt "
                                               "Schema %3). Es wird nicht verändert."))
                         .arg(m_where.describe())
                         .arg(version)
                         .arg(SchemaVersion);
        return false;
    }
    // Each step from the file's version up, in order.
    const std::span<const char* const> steps[] = {Version1, Version2, Version3, Version4};
    static_assert(std::size(steps) == SchemaVersion);
    bool ok = true;
    for (int step = version; ok && step < SchemaVersion; ++step)
        for (const char* sql : steps[step])
            ok = ok && run(db, sql, &message);
    if (ok && version != SchemaVersion) {
        QSqlQuery set(db);
        ok = set.exec(QStringLiteral("DELETE FROM schema_version")) &&
             set.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)")
                          .arg(SchemaVersion));
        if (!ok) message = set.lastError().text();
    }
    if (!ok || !db.commit()) {
        if (message.isEmpty()) message = db.lastError().text();
        db.rollback();
        return fail(error, message);
    }
    return true;
}

} // namespace r73::archive
