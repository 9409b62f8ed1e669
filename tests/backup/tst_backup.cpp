// Backup, compare and restore end to end: r73ctl against the simulator on a pseudo-terminal,
// real files.

#include "BackupFile.h"
#include "SimProcess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using r73::test::SimProcess;
namespace bk = r73::backup;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run r73ctl(const QStringList& args)
{
    QProcess p;
    // Its archive in a folder of its own, not in the build's.
    static QTemporaryDir work;
    p.setWorkingDirectory(work.path());
    p.start(qEnvironmentVariable("R73_CTL"), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

/// The controller's settings now, through "params --json".
bk::Snapshot settingsOf(const SimProcess& sim)
{
    const Run run = r73ctl({"--device", sim.link(), "params", "--json"});
    bk::Snapshot s;
    QString error;
    if (run.exitCode != 0 || !bk::parseBackup(run.out.toUtf8(), "params", s, &error))
        qWarning() << run.err << error;
    return s;
}

/// A copy of the backup with some settings changed, saved as a file.
QString changed(const QTemporaryDir& dir, const bk::Snapshot& from, const char* name,
                const QMap<QString, bk::Value>& changes)
{
    bk::Snapshot s = from;
    for (auto it = changes.begin(); it != changes.end(); ++it)
        s.values[it.key()] = it.value();
    const QString path = dir.filePath(QLatin1String(name));
    bk::saveBackup(path, s, nullptr);
    return path;
}

/// The summaries of the simulator's log, one per exchange.
QStringList summaries(const SimProcess& sim)
{
    QFile log(sim.logFile());
    QStringList out;
    if (!log.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& row : log.readAll().split('\n')) {
        const qsizetype at = row.indexOf("\"summary\":\"");
        if (at >= 0) out << QString::fromUtf8(row.mid(at + 11)).section('"', 0, 0);
    }
    return out;
}

QStringList reportRows(const QString& out, const QString& verdict)
{
    QStringList rows;
    for (const QString& line : out.split(u'\n'))
        if (line.endsWith(" | " + verdict)) rows << line;
    return rows;
}

} // namespace

class TstBackup : public QObject
{
    Q_OBJECT
private slots:
    void roundTripRestoresEverySetting();
    void ignoredSetterIsTheOneMismatch();
    void olderBiosSkipsAndLists();
    void restoreKeepsRulesAndRecords_data();
    void restoreKeepsRulesAndRecords();
    void badFileWritesNothing_data();
    void badFileWritesNothing();
    void heldItemIsSkippedAndListed_data();
    void heldItemIsSkippedAndListed();
    void offlineEditKeepsThePagesRules_data();
    void offlineEditKeepsThePagesRules();

private:
    QTemporaryDir m_dir;
};

void TstBackup::roundTripRestoresEverySetting()
{
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const QString a = m_dir.filePath("a.json");
    Run run = r73ctl({"--device", sim.link(), "backup", a});
    QCOMPARE(run.exitCode, 0);
    bk::Snapshot backup;
    QVERIFY(bk::loadBackup(a, backup, nullptr));
    QCOMPARE(backup.values.size(), 45);

    // Changed on the controller: a set of each kind and a channel's every kind of item.
    const QString b = changed(m_dir, backup, "b.json",
                              {{"clamp.short", {120, {}}},
                               {"release.long", {0xFFEC, {}}},
                               {"flat.timeout", {4000, {}}},
                               {"vibration.threshold", {50, {}}},
                               {"hydraulics.enabled", {0xFFFF, {}}},
                               {"channel2.parameters", {1, {}}},
                               {"channel2.name", {0, "Öldruck"}},
                               {"channel2.max1", {194, "190"}}});
    run = r73ctl({"--device", sim.link(), "restore", b, "--yes"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(reportRows(run.out, "OK").size(), 8);
    QCOMPARE(settingsOf(sim).values.value("channel2.name").text, QString("Öldruck"));

    run = r73ctl({"--device", sim.link(), "restore", a, "--yes", "--save"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QCOMPARE(reportRows(run.out, "OK").size(), 8);
    QVERIFY(reportRows(run.out, "MISMATCH").isEmpty());
    QVERIFY(run.out.contains("saved permanently"));
    const bk::Snapshot after = settingsOf(sim);
    for (const bk::Setting& s : bk::allSettings())
        QVERIFY2(bk::sameValue(s, after.values.value(s.key), backup.values.value(s.key)),
                 qPrintable(s.key));
    run = r73ctl({"--device", sim.link(), "diff", a});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(!run.out.contains("| different"), qPrintable(run.out));

    // On file: the backup and both restores with their files, every write and the save.
    run = r73ctl({"archive", "show", "1234"});
    QVERIFY2(run.out.count(",Backup,") == 1 && run.out.count(",Restore,") == 2,
             qPrintable(run.out));
    run = r73ctl({"archive", "changes", "1234"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 8 + 8 + 1);
    QVERIFY(lines[1].contains("\tSaved permanently: CLAMP, RELEASE, FLAT, VIBRATION\t\t\t"));
    QVERIFY(lines[1].endsWith("\tr73ctl restore a.json"));
    QVERIFY2(run.out.contains(
                 QString("\tclamp.short\t120\t%1\t").arg(backup.values["clamp.short"].word)),
             qPrintable(run.out));
    QVERIFY(run.out.contains("\tchannel2.name\tÖldruck\t"));
}

void TstBackup::ignoredSetterIsTheOneMismatch()
{
    SimProcess sim({"--fault", "ignore=KURZ"});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const bk::Snapshot now = settingsOf(sim);
    const QString b = changed(m_dir, now, "mismatch.json",
                              {{"clamp.short", {77, {}}}, {"clamp.timeout", {1234, {}}}});
    const Run run = r73ctl({"--device", sim.link(), "restore", b, "--yes", "--save"});
    QCOMPARE(run.exitCode, 2);
    const QStringList mismatches = reportRows(run.out, "MISMATCH");
    QCOMPARE(mismatches, QStringList{"CLAMP: Short [Pulses] | 77 | 275 | MISMATCH"});
    QCOMPARE(reportRows(run.out, "OK").size(), 1);
    // No permanent save after a failed verification.
    QFile log(sim.logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(!log.readAll().contains("call SPEICHERN"));
    QVERIFY(!run.out.contains("saved permanently"));
}

void TstBackup::olderBiosSkipsAndLists()
{
    SimProcess sim({"--bios", "207"});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const QString a = m_dir.filePath("a.json"); // from BIOS 3.10, serial 1234
    const bk::Snapshot older = settingsOf(sim);
    QCOMPARE(older.values.size(), 14); // the sets, without the clamp-without-tool limit
    Run run = r73ctl({"--device", sim.link(), "restore", a, "--yes"});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains("Another BIOS version: file 3.10, controller 2.07") &&
                 run.err.contains("--confirm-identity 1234:2.07"),
             qPrintable(run.err));
    run =
        r73ctl({"--device", sim.link(), "restore", a, "--yes", "--confirm-identity", "1234:2.07"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QVERIFY(run.out.contains("Controller: serial number 1234, BIOS 2.07\n")); // the one verified
    const QString skipped = run.out.mid(run.out.indexOf("Not written:"));
    for (const char* item :
         {"CLAMP: Clamp without tool", "HYDRAULIC CHECK: active", "ANALOG1: Name", "ANALOG3: Min2"})
        QVERIFY2(skipped.contains(QLatin1String(item)), qPrintable(skipped));
}

void TstBackup::restoreKeepsRulesAndRecords_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QStringList>("changes"); // KEY=WORD, or -KEY: left out; bios=N: the file's
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("wrap"); // shell commands before r73ctl runs
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("calls"); // in this order on the line; {"-"}: nothing written
    QTest::addColumn<QStringList>("lines");
    const QStringList raise{"call SPANN", "GET 12300",  "call M_OHNE_TOOL", "call F_MIN2@",
                            "PUT 12300",  "call SPANN", "GET 300",          "call LANG"};
    QTest::newRow("2.09 file onto 2.10: raised before Lang")
        << QStringList{"--bios", "210"}
        << QStringList{"bios=209", "-clamp.without_tool", "clamp.long=300"}
        << QStringList{"--confirm-identity", "1234:2.10"} << QString() << 0 << raise
        << QStringList{
               "CLAMP: Clamp without tool | raised to 12300 (not in the file) | 12300 | OK",
               "| different (raised to 12300 before Long (Long 300 + 2 × |RELEASE Long 6000|))"};
    QTest::newRow("file with W <= L, and its own R")
        << QStringList{}
        << QStringList{"clamp.long=500", "clamp.without_tool=500", "release.long=65516"}
        << QStringList{} << QString() << 0
        << QStringList{"GET 540", "call M_OHNE_TOOL", "call F_MIN2@",   "PUT 540", "call SPANN",
                       "GET 500", "call LANG",        "call M_ZGROSS@", "PUT 500"}
        << QStringList{"| raised to 540 (file 500) | 540 | OK", "| 500 | 500 | OK"};
    QTest::newRow("held stop frequency")
        << QStringList{} << QStringList{"clamp.stop_frequency=5000"} << QStringList{} << QString()
        << 0 << QStringList{"GET 1000", "call F_STOP"}
        << QStringList{"| held to 1000 (file 5000) | 1000 | OK"};
    QTest::newRow("journal cannot be opened")
        << QStringList{} << QStringList{"clamp.short=120"} << QStringList{} << "mkdir \"$J\"" << 1
        << QStringList{"-"}
        << QStringList{"cannot write the journal", "is a folder; nothing written"};
    // 512 bytes hold the first lines and a few writes, not all of them.
    QTest::newRow("journal fails part way")
        << QStringList{}
        << QStringList{"clamp.short=120",       "clamp.timeout=1234",  "flat.timeout=4000",
                       "vibration.timeout=900", "release.short=7",     "release.timeout=800",
                       "clamp.min_time=30",     "release.min_time=31", "flat.threshold=40"}
        << QStringList{} << "trap '' XFSZ; ulimit -f 1" << 1 << QStringList{"GET 120", "call KURZ"}
        << QStringList{"ABORTED: the journal cannot be written (file too large)",
                       "file too large; restore stopped"};
    QTest::newRow("save breaks off at PLAN")
        // The call of PLAN in the save: 720 exchanges after the start (the read, then the restore).
        << QStringList{"--fault", "bad-status-at=720"}
        << QStringList{"clamp.short=120", "release.short=7", "flat.timeout=4000",
                       "vibration.timeout=900"}
        << QStringList{"--save"} << QString() << 1 << QStringList{"call SPEICHERN", "call LOES"}
        << QStringList{"Saved permanently: CLAMP, RELEASE",
                       "NOT saved permanently: FLAT, VIBRATION", "the permanent save broke off",
                       "saved LOES\n", "FAILED while saving PLAN\n"};
}

void TstBackup::restoreKeepsRulesAndRecords()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QStringList, changes);
    QFETCH(QStringList, args);
    QFETCH(QString, wrap);
    QFETCH(int, exitCode);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, lines);
    SimProcess sim(simArgs);
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    bk::Snapshot file = settingsOf(sim);
    for (const QString& c : changes) {
        if (c.startsWith('-'))
            file.values.remove(c.mid(1));
        else if (c.startsWith("bios="))
            file.id.bios = c.mid(5).toUShort();
        else
            file.values[c.section('=', 0, 0)] = {c.section('=', 1).toUShort(), {}};
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("f.json");
    QVERIFY(bk::saveBackup(path, file, nullptr));
    const qsizetype before = summaries(sim).size();
    QProcess p;
    p.setProcessEnvironment([&] {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("J", path + ".restore.log");
        return e;
    }());
    p.start("sh", QStringList{"-c", (wrap.isEmpty() ? QString() : wrap + "; ") + "exec \"$@\"",
                              "sh", qEnvironmentVariable("R73_CTL"), "--device", sim.link(),
                              "restore", path, "--yes"} +
                      args);
    QVERIFY(p.waitForFinished(30000));
    QFile journal(path + ".restore.log");
    (void)journal.open(QIODevice::ReadOnly);
    const QString out =
        QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError() + journal.readAll());
    QVERIFY2(p.exitCode() == exitCode, qPrintable(out));
    for (const QString& l : lines)
        QVERIFY2(out.contains(l), qPrintable(l + "\n" + out));
    const QStringList after = summaries(sim).mid(before);
    if (calls == QStringList{"-"}) {
        QVERIFY2(after.isEmpty(), qPrintable(after.join(", ")));
        return;
    }
    const QString joined = after.join(", ");
    QVERIFY2(joined.contains(calls.join(", ")), qPrintable(joined));
}

void TstBackup::badFileWritesNothing_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated") << QByteArray("\"read_only\"") << QByteArray()
                               << "corrupt or truncated";
    QTest::newRow("newer format") << QByteArray("\"format_version\": 1")
                                  << QByteArray("\"format_version\": 2")
                                  << "format version 2 is newer than this program's (1)";
    QTest::newRow("unknown key") << QByteArray("\"clamp.long\"") << QByteArray("\"clamp.lang\"")
                                 << ": unknown setting";
    QTest::newRow("word out of range")
        << QByteArray("\"word\": 6939") << QByteArray("\"word\": 69390")
        << "clamp.long.word: not a word from 0 to 65535";
    QTest::newRow("name too long") << QByteArray("\"text\": \"Druck\"")
                                   << QByteArray("\"text\": \"") + QByteArray(256, 'D') + '"'
                                   << "channel2.name.text: text longer than 255 characters";
    QTest::newRow("limit outside range")
        << QByteArray("\"text\": \"220\"") << QByteArray("\"text\": \"260\"")
        << "channel2.max2.text: Number out of range";
    QTest::newRow("duplicate key")
        << QByteArray("\"clamp.short\": {")
        << QByteArray("\"clamp.short\": {\"word\": 999, \"shown\": \"999\", \"unit\": \"Pulse\"},\n"
                      "\"clamp.short\": {")
        << "settings.clamp.short: key given twice";
    QTest::newRow("format version 1e10")
        << QByteArray("\"format_version\": 1") << QByteArray("\"format_version\": 1e10")
        << "format_version: invalid format version";
    QTest::newRow("format version 2^32+1")
        << QByteArray("\"format_version\": 1") << QByteArray("\"format_version\": 4294967297")
        << "format_version: invalid format version";
    QTest::newRow("undefined in code page 1252")
        << QByteArray("\"text\": \"Druck\"") << QByteArray("\"text\": \"Dr\\u0081ck\"")
        << "channel2.name.text: The character \"\u0081\" (U+0081) cannot be sent";
    QTest::newRow("limit word disagrees")
        << QByteArray("\"text\": \"220\",\n            \"word\": 231")
        << QByteArray("\"text\": \"220\",\n            \"word\": 5")
        << "channel2.max2.word: the word 5 does not match";
    QTest::newRow("missing key") << QByteArray("\"bios_version\": \"3.10\",") << QByteArray(" ")
                                 << "line 2, controller: key \"bios_version\" is missing";
    QTest::newRow("edited offline from nowhere")
        << QByteArray("\"format\":")
        << QByteArray("\"edited_offline\": {\"from\": \"\"}, \"format\":")
        << "edited_offline.from: no file name";
}

void TstBackup::badFileWritesNothing()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, message);
    QFile good(m_dir.filePath("a.json"));
    QVERIFY(good.open(QIODevice::ReadOnly));
    QByteArray bytes = good.readAll();
    const qsizetype at = bytes.indexOf(from);
    QVERIFY(at > 0);
    bytes = to.isEmpty() ? bytes.left(at) : bytes.replace(at, from.size(), to);
    const QString bad = m_dir.filePath("bad.json");
    QFile out(bad);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
    out.close();

    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const Run run = r73ctl({"--device", sim.link(), "restore", bad, "--yes"});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.startsWith("r73ctl: refused: Backup file \"" + bad + "\", line ") &&
                 run.err.contains(message),
             qPrintable(run.err));
    QFile log(sim.logFile());
    QVERIFY(!log.exists() || (log.open(QIODevice::ReadOnly) && log.readAll().isEmpty()));
}

void TstBackup::heldItemIsSkippedAndListed_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("label");
    QTest::newRow("empty name") << "NAME2="
                                << "channel2.name"
                                << "ANALOG2: Name";
    QTest::newRow("limit not a number") << "STR_MAX1_2=abc"
                                        << "channel2.max1"
                                        << "ANALOG2: Max1";
    QTest::newRow("minimum above maximum") << "PHYS_ZERO2=300"
                                           << "channel2.minimum"
                                           << "ANALOG2: Minimum";
}

void TstBackup::heldItemIsSkippedAndListed()
{
    QFETCH(QString, held);
    QFETCH(QString, key);
    QFETCH(QString, label);
    SimProcess sim({"--text", held});
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const QString a = m_dir.filePath("held.json");
    Run run = r73ctl({"--device", sim.link(), "backup", a});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("held_as_is=" + key + ": "), qPrintable(run.out));
    QCOMPARE(run.out.count("held_as_is="), 1);
    bk::Snapshot backup;
    QString error;
    QVERIFY2(bk::loadBackup(a, backup, &error), qPrintable(error));
    QCOMPARE(backup.values.size(), 45);
    QVERIFY(!backup.values.value(key).heldAsIs.isEmpty());

    const QString b = changed(m_dir, backup, "held-b.json", {{"clamp.short", {120, {}}}});
    run = r73ctl({"--device", sim.link(), "restore", b, "--yes"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QCOMPARE(reportRows(run.out, "OK").size(), 1);
    const QString skipped = run.out.mid(run.out.indexOf("Not written:"));
    QVERIFY2(skipped.contains(label + ": ") && skipped.contains("found so in the controller"),
             qPrintable(run.out));
    QCOMPARE(settingsOf(sim).values.value("clamp.short").word, quint16(120));
}

void TstBackup::offlineEditKeepsThePagesRules_data()
{
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<QString>("refusal");  ///< empty: written, and restored as edited
    QTest::addColumn<QStringList>("held"); ///< KEY=VALUE the controller holds after the restore
    // clang-format off
    QTest::newRow("not a number") << QStringList{"clamp.short=12a"} << "clamp.short: Numbers Only"
                                  << QStringList();
    QTest::newRow("beyond a word") << QStringList{"flat.timeout=70000"}
        << "flat.timeout: The value does not fit the field. Allowed are -32768 to 65535."
        << QStringList();
    QTest::newRow("threshold below zero") << QStringList{"vibration.threshold=-1"}
        << "vibration.threshold: The value does not fit the field. Allowed are 0.00 to 3276.75."
        << QStringList();
    QTest::newRow("without tool under long") << QStringList{"clamp.without_tool=100"}
        << "clamp.without_tool: Clamp without tool must be lager than Long" << QStringList();
    QTest::newRow("unknown key") << QStringList{"clamp.shortest=1"}
        << "clamp.shortest=1: no such setting (KEY=VALUE, keys as params lists them)"
        << QStringList();
    QTest::newRow("edited, restored as edited")
        << QStringList{"clamp.short=120", "vibration.threshold=2.5", "release.stop_frequency=5000",
                       "hydraulics.enabled=on"}
        << QString()
        << QStringList{"clamp.short=120", "vibration.threshold=2.50", "release.stop_frequency=1000",
                       "hydraulics.enabled=on"};
    QTest::newRow("long raises without tool") << QStringList{"clamp.long=9000"} << QString()
        << QStringList{"clamp.long=9000", "clamp.without_tool=21000"};
    QTest::newRow("limit off the range") << QStringList{"channel2.max1=300"}
        << "channel2.max1: Number out of range" << QStringList();
    QTest::newRow("range above its top") << QStringList{"channel2.minimum=300"}
        << "channel2.minimum: Minimum must not exceed maximum" << QStringList();
    QTest::newRow("channel rescaled")
        << QStringList{"channel2.maximum=500", "channel2.max1=400", "channel2.name=Öldruck"}
        << QString() << QStringList{"channel2.max1=400 (214)", "channel2.max2=220 (141)",
                                    "channel2.name=Öldruck"};
    // clang-format on
}

void TstBackup::offlineEditKeepsThePagesRules()
{
    QFETCH(QStringList, assignments);
    QFETCH(QString, refusal);
    QFETCH(QStringList, held);
    SimProcess sim;
    QVERIFY2(sim.started(), qPrintable(sim.errors()));
    const QString a = m_dir.filePath("offline-a.json"), b = m_dir.filePath("offline-b.json");
    QFile::remove(b);
    QCOMPARE(r73ctl({"--device", sim.link(), "backup", a}).exitCode, 0);
    // No controller: the file alone, checked as the pages check what they send.
    Run run = r73ctl(QStringList{"set", a} + assignments + QStringList{"--out", b});
    if (!refusal.isEmpty()) {
        QCOMPARE(run.err, "r73ctl: refused: " + refusal + "\n");
        QVERIFY(run.exitCode != 0 && !QFile::exists(b));
        return;
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QString listed = r73ctl({"params", b}).out;
    QCOMPARE(r73ctl({"--device", sim.link(), "restore", b, "--yes"}).exitCode, 0);
    const QString onController = r73ctl({"--device", sim.link(), "params"}).out;
    QCOMPARE(listed, onController);
    for (const QString& line : held)
        QVERIFY2(onController.contains(line + "\n"), qPrintable(line));
}

QTEST_GUILESS_MAIN(TstBackup)
#include "tst_backup.moc"
