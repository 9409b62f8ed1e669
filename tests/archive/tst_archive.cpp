// The archive's index on a SQLite file and on a throwaway PostgreSQL server: records without
// duplicates, an older schema upgraded and a newer one refused, a damaged file, two programs
// writing at once, and a server that goes away.

#include "Archive.h"
#include "Recorder.h"
#include "TextTable.h"
#include "Translate.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace r73::archive;

namespace {

const QString PgBin = QStringLiteral("/usr/lib/postgresql/15/bin/");

/// A PostgreSQL server of its own in a temporary folder, on a Unix socket only. The server
/// refuses to run as root, so then it runs as the user "postgres".
class Postgres
{
public:
    bool start()
    {
        if (!QFile::exists(PgBin + "initdb")) return fail("PostgreSQL 15 is not installed");
        if (geteuid() == 0 && QProcess::execute("chown", {"postgres", m_dir.path()}) != 0)
            return fail("no user postgres");
        return run("initdb", {"-D", data(), "-A", "trust", "-U", "r73"}) && startServer();
    }
    bool startServer()
    {
        return run("pg_ctl", {"-D", data(), "-l", m_dir.filePath("log"), "-o",
                              "-k " + m_dir.path() + " -c listen_addresses=''", "-w", "start"});
    }
    bool stop() { return run("pg_ctl", {"-D", data(), "-m", "fast", "-w", "stop"}); }
    ~Postgres()
    {
        if (m_started) stop();
    }
    Location location() const
    {
        Location l;
        l.host = m_dir.path();
        l.database = "postgres";
        l.user = "r73";
        return l;
    }
    QString error;

private:
    QString data() const { return m_dir.filePath("data"); }
    bool fail(const QString& why)
    {
        error = why;
        return false;
    }
    bool run(const QString& tool, QStringList args)
    {
        QProcess p;
        if (geteuid() == 0) {
            args.prepend(PgBin + tool);
            args = QStringList{"-u", "postgres", "--"} + args;
            p.start("runuser", args);
        } else {
            p.start(PgBin + tool, args);
        }
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return fail(tool + ": " + p.readAllStandardError());
        m_started = m_started || tool == "pg_ctl";
        return true;
    }
    QTemporaryDir m_dir;
    bool m_started = false;
};

Visit visit(const QString& serial, const char* kind, const QString& id = {})
{
    Visit v;
    v.id = id;
    v.serial = serial;
    v.bios = "3.10";
    v.kind = kind;
    v.at = QDateTime::currentDateTimeUtc();
    v.counters = {{"clamp_pulses", 120}, {"vibration", 0.35}};
    return v;
}

Change change(const QString& id, const QString& before, const QString& after)
{
    Change c;
    c.id = id;
    c.serial = "1234";
    c.at = QDateTime::currentDateTimeUtc();
    c.origin = OriginPage;
    c.source = "SPANNEN";
    c.setting = "clamp.short";
    c.caption = "SPANNEN: Kurz [Pulse]";
    c.before = before;
    c.after = after;
    return c;
}

/// Runs SQL on the location's database outside the archive.
void exec(const Location& where, const QStringList& statements)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(where.server() ? "QPSQL" : "QSQLITE", "raw");
    db.setDatabaseName(where.server() ? where.database : where.sqliteFile);
    db.setHostName(where.host);
    db.setUserName(where.user);
    QVERIFY(db.open());
    for (const QString& s : statements)
        QVERIFY2(QSqlQuery(db).exec(s), qPrintable(s));
    db.close();
    db = {};
    QSqlDatabase::removeDatabase("raw");
}

} // namespace

class TstArchive : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void recordsEachVisitOnce_data() { backends(); }
    void recordsEachVisitOnce();
    void olderSchemaUpgradedNewerRefused_data() { backends(); }
    void olderSchemaUpgradedNewerRefused();
    void twoProgramsWritingAtOnce_data() { backends(); }
    void twoProgramsWritingAtOnce();
    void damagedFileIsSaidOnce();
    void serverGoneRecordsLocallyThenSends();

private:
    void backends();
    Location fresh(const QString& backend);

    QTemporaryDir m_dir;
    Postgres m_pg;
    bool m_pgUp = false;
    int m_files = 0;
};

void TstArchive::initTestCase()
{
    r73::BuildTextTable();
    m_pgUp = m_pg.start();
    if (!m_pgUp) qWarning("PostgreSQL tests skipped: %s", qPrintable(m_pg.error));
}

void TstArchive::backends()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << "sqlite";
    QTest::newRow("postgres") << "postgres";
}

Location TstArchive::fresh(const QString& backend)
{
    if (backend == "sqlite") {
        Location l;
        l.sqliteFile = m_dir.filePath(QString("index%1.sqlite").arg(++m_files));
        return l;
    }
    if (!m_pgUp) return {};
    const Location l = m_pg.location();
    exec(l, {"DROP TABLE IF EXISTS files, counters, visits, changes, schema_version"});
    return l;
}

void TstArchive::recordsEachVisitOnce()
{
    QFETCH(QString, backend);
    const Location where = fresh(backend);
    if (where.sqliteFile.isEmpty() && !where.server()) QSKIP("no PostgreSQL server");
    Archive a;
    QString error;
    QVERIFY2(a.open(where, &error), qPrintable(error));
    Visit report = visit("1234", KindReport, "r-1");
    report.files = {"1234_bericht.pdf"};
    QVERIFY(a.record(visit("1234", KindConnect), &error));
    QVERIFY(a.record(report, &error));
    QVERIFY(a.record(report, &error)); // sent again: stays one
    QVERIFY(a.record(visit("5678", KindConnect), &error));

    const QList<ControllerRow> rows = a.controllers(&error);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].serial, QString("5678")); // seen last
    QCOMPARE(rows[1].visits, 2);
    const QList<Visit> visits = a.visits("1234", &error);
    QCOMPARE(visits.size(), 2);
    QCOMPARE(visits[1].kind, QString(KindReport));
    QCOMPARE(visits[1].files, QStringList{"1234_bericht.pdf"});
    QCOMPARE(visits[1].counters.size(), 2);
    // The kinds in the window's language, the captions in proper English.
    QVERIFY(countersCsv(visits).contains(",Servicebericht,3.10,120,,,,,0.35,"));
    r73::CurrentLanguage = 1;
    const QString english = countersCsv(visits);
    r73::CurrentLanguage = 0;
    QVERIFY(english.contains(",Service report,3.10,120,,,,,0.35,"));
    QVERIFY(english.contains(",Connect,"));
    QVERIFY(english.contains(",Frequency [0.1 Hz],"));
}

void TstArchive::olderSchemaUpgradedNewerRefused()
{
    QFETCH(QString, backend);
    const Location where = fresh(backend);
    if (where.sqliteFile.isEmpty() && !where.server()) QSKIP("no PostgreSQL server");
    // A first version's archive with one visit, before technician and workstation were kept.
    exec(where, {"CREATE TABLE schema_version (version INTEGER NOT NULL)",
                 "INSERT INTO schema_version VALUES (1)",
                 "CREATE TABLE visits (id TEXT PRIMARY KEY, serial TEXT NOT NULL, bios TEXT, "
                 "kind TEXT NOT NULL, at TEXT NOT NULL)",
                 "CREATE TABLE counters (visit_id TEXT, name TEXT, value DOUBLE PRECISION)",
                 "CREATE TABLE files (visit_id TEXT, name TEXT)",
                 "INSERT INTO visits VALUES ('old', '1234', '3.00', 'connect', "
                 "'2023-01-02T03:04:05.000Z')"});
    QString error;
    {
        Archive a;
        QVERIFY2(a.open(where, &error), qPrintable(error));
        Visit v = visit("1234", KindBackup, "b-1");
        v.technician = "Meier";
        v.customer = "Kühlwerk Ø-Nord 株式会社"; // beyond code page 1252: kept as given
        QVERIFY(a.record(v, &error));
        // A file made after the visit joins it, once, in the first version's table too.
        v.files = {"1234_20261210_report.txt"};
        QVERIFY(a.record(v, &error));
        QVERIFY2(a.record(v, &error), qPrintable(error));
        const QList<Visit> visits = a.visits("1234", &error);
        QCOMPARE(visits.size(), 2);
        QCOMPARE(visits[0].id, QString("old"));
        QCOMPARE(visits[1].technician, QString("Meier"));
        QCOMPARE(visits[1].customer, v.customer);
        QCOMPARE(visits[1].files, v.files);
        QVERIFY(countersCsv(visits).contains(",Verbindung,3.00,"));
        // The upgrade brings the record of changes; one recorded again stays one.
        QVERIFY2(a.recordChanges({change("c-1", "", "300"), change("c-2", "300", "275")}, &error),
                 qPrintable(error));
        QVERIFY(a.recordChanges({change("c-2", "300", "275")}, &error));
        const QList<Change> changes = a.changes("1234", &error);
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes[0].before + ">" + changes[0].after, QString("300>275")); // newest first
        QVERIFY(changesCsv(changes).contains(",SPANNEN: Kurz [Pulse],clamp.short,300,275,"));
    }
    exec(where, {"UPDATE schema_version SET version = 5"});
    Archive a;
    QVERIFY(!a.open(where, &error));
    QVERIFY2(error.contains("neueren") && error.contains("Schema 4"), qPrintable(error));
    QVERIFY(!a.isOpen());
}

void TstArchive::twoProgramsWritingAtOnce()
{
    QFETCH(QString, backend);
    const Location where = fresh(backend);
    if (where.sqliteFile.isEmpty() && !where.server()) QSKIP("no PostgreSQL server");
    {
        // Two recorders, each with its own connection on its own thread, and each visit
        // recorded by both: every visit arrives exactly once.
        Recorder one(where, m_dir.filePath("local1.sqlite"), m_dir.filePath("Archive"));
        Recorder two(where, m_dir.filePath("local2.sqlite"), m_dir.filePath("Archive"));
        QSignalSpy problems(&one, &Recorder::problem), problems2(&two, &Recorder::problem);
        for (int i = 0; i < 30; ++i) {
            const Visit v =
                visit(QString::number(1000 + i % 3), KindConnect, QString("v%1").arg(i));
            one.record(v);
            two.record(v);
        }
        QVERIFY(one.flush() && two.flush());
        QVERIFY2(problems.isEmpty() && problems2.isEmpty(),
                 qPrintable(problems.value(0).value(0).toString() +
                            problems2.value(0).value(0).toString()));
    }
    Archive a;
    QString error;
    QVERIFY(a.open(where, &error));
    QCOMPARE(a.allVisits(&error).size(), 30);
    QCOMPARE(a.controllers(&error).value(0).visits, 10);
}

void TstArchive::damagedFileIsSaidOnce()
{
    Location where;
    where.sqliteFile = m_dir.filePath("damaged.sqlite");
    QFile f(where.sqliteFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, '\x5a'));
    f.close();
    Recorder r(where, m_dir.filePath("unused.sqlite"), m_dir.filePath("Archive"));
    QSignalSpy problems(&r, &Recorder::problem), recorded(&r, &Recorder::recorded);
    r.record(visit("1234", KindConnect));
    r.record(visit("1234", KindLogbook));
    QVERIFY(r.flush());
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems[0][0].toString().contains("damaged.sqlite"),
             qPrintable(problems[0][0].toString()));
    QCOMPARE(recorded.size(), 0);
    QCOMPARE(f.size(), 4096); // left as it was for whoever can mend it
}

void TstArchive::serverGoneRecordsLocallyThenSends()
{
    const Location where = fresh("postgres");
    if (!where.server()) QSKIP("no PostgreSQL server");
    const QString local = m_dir.filePath("fallback.sqlite");
    Recorder r(where, local, m_dir.filePath("Archive"));
    QSignalSpy problems(&r, &Recorder::problem), back(&r, &Recorder::serverBack),
        sent(&r, &Recorder::sent);
    r.record(visit("1234", KindConnect, "before"));
    QVERIFY(r.flush());
    QVERIFY(m_pg.stop());
    r.record(visit("1234", KindReport, "away-1"));
    r.record(visit("1234", KindLogbook, "away-2"));
    r.recordChanges({change("away-change", "300", "275")});
    QVERIFY(r.flush());
    QCOMPARE(problems.size(), 1); // said once for both
    QVERIFY(problems[0][0].toString().contains("lokal"));
    // Read back while the server is away: what this workstation kept.
    QList<Change> read;
    r.readChanges("1234", &r, [&read](const QList<Change>& found) { read = found; });
    QTRY_COMPARE(read.size(), 1);
    QVERIFY(m_pg.startServer());
    r.record(visit("1234", KindConnect, "after"));
    QVERIFY(r.flush());
    QCOMPARE(back.size(), 1);
    r.sendLocalVisits(); // sent already, without asking
    QVERIFY(r.flush());
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0][0].toInt(), 2);
    QVERIFY(m_pg.stop());
    r.record(visit("1234", KindBackup, "away-3"));
    QVERIFY(r.flush() && m_pg.startServer());
    // The next run that reaches the server sends what is still local, and only that.
    Recorder next(where, local, m_dir.filePath("Archive"));
    QSignalSpy nextSent(&next, &Recorder::sent);
    next.record(visit("1234", KindConnect, "next"));
    QVERIFY(next.flush());
    QCOMPARE(nextSent.value(0).value(0).toInt(), 1);
    Archive a;
    QString error;
    QVERIFY(a.open(where, &error));
    QStringList ids;
    for (const Visit& v : a.visits("1234", &error))
        ids << v.id;
    ids.sort();
    QCOMPARE(ids, (QStringList{"after", "away-1", "away-2", "away-3", "before", "next"}));
    const QList<Change> changes = a.changes("1234", &error);
    QVERIFY(changes.size() == 1 && changes[0].id == "away-change");
}

QTEST_GUILESS_MAIN(TstArchive)
#include "tst_archive.moc"
