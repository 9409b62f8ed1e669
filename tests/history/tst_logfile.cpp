// The logbook window's file and printout: the proposed name, the bytes of the file, characters
// code page 1252 lacks, a failed save that leaves the old file alone and says why, printing to a
// PDF file and a printer that fails.

#include "FiPri.h"
#include "LogFile.h"
#include "TestEnv.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTime>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace r73;
using r73::test::TestEnv;

namespace {

const QDate March5(2024, 3, 5);

void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

/// Lets writes of this process grow no file beyond limit bytes, like a disk that is full.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lower = m_old;
        lower.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

/// 14:05:06 in the long time format of a locale.
QString timeIn(QLocale::Language language)
{
    QLocale::setDefault(QLocale(language));
    const QString time = QLocale().toString(QTime(14, 5, 6), longTimeFormat());
    QLocale::setDefault(QLocale::system());
    return time;
}

} // namespace

class TstLogFile : public QObject
{
    Q_OBJECT
private slots:
    void proposedNames();
    void savedBytesAndDialog();
    void savedWholeOrOldFileKept_data();
    void savedWholeOrOldFileKept();
    void print_data();
    void print();
};

void TstLogFile::proposedNames()
{
    TestEnv env;
    QDir().mkpath("Log");
    resetShortDateFormat();
    QCOMPARE(ProposeLogFileName("1234", March5), QString("1234_20240305.log"));
    QCOMPARE(shortDateFormat(), QString("yyyy.MM.dd")); // for the rest of the run
    // Saving three times a day into "Log".
    touch("Log/1234_20240305.log");
    QCOMPARE(ProposeLogFileName("1234", March5), QString("1234_20240305_0.log"));
    touch("Log/1234_20240305_0.log");
    QCOMPARE(ProposeLogFileName("1234", March5), QString("1234_20240305_1.log"));
    // The working folder is looked at first; its numbering is its own.
    touch("1234_20240305.log");
    QCOMPARE(ProposeLogFileName("1234", March5), QString("1234_20240305_0.log"));
    QCOMPARE(ProposeLogFileName("", March5), QString("_20240305.log"));
    resetShortDateFormat();
}

void TstLogFile::savedBytesAndDialog()
{
    TestEnv env;
    QDir().mkpath("Log");
    TFileForm form;
    form.setLines({QString::fromUtf8("Lösen"), " ", "\tE0 : aktiv"});
    SaveDialogRequest asked;
    QString answer;
    const SaveDialogHandler old = setSaveDialogHandler([&](const SaveDialogRequest& r) {
        asked = r;
        return answer;
    });
    form.BtSaveClick(); // cancelled: nothing happens
    QCOMPARE(asked.directory, QDir::current().absoluteFilePath("Log"));
    QCOMPARE(asked.defaultSuffix, QString("log"));
    QVERIFY(asked.fileName.endsWith(QDate::currentDate().toString("yyyyMMdd") + ".log"));
    QVERIFY(env.boxes.isEmpty());

    answer = env.path("Log/x.log");
    form.BtSaveClick();
    setSaveDialogHandler(old);
    QCOMPARE(contents(answer), QByteArray("L\xF6sen\r\n \r\n\tE0 : aktiv\r\n"));
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, "Datei " + answer + " gespeichert !");
    QCOMPARE(env.boxes[0].icon, MsgIcon::Information);
    resetShortDateFormat();
}

void TstLogFile::savedWholeOrOldFileKept_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("kept"); // "old.log" afterwards
    QTest::addColumn<QString>("told");    // the box after "Datei " and the path
    const QByteArray old("old logbook");
    const QString failed(" kann nicht gespeichert werden!\n");
    const QString replaced(" gespeichert ! (%1 Zeichen durch \"?\" ersetzt)");
    QTest::newRow("disk full") << QString(4000, 'x') << true << "old.log" << old
                               << failed + QString::fromUtf8("Datei zu groß");
    QTest::newRow("no such folder")
        << "x" << false << "gone/old.log" << old << failed + "Datei oder Ordner nicht vorhanden";
    QTest::newRow("no such character in 1252")
        << QString::fromUtf8("Last \u2192 ok") << false << "old.log" << QByteArray("Last ? ok")
        << replaced.arg(1);
    QTest::newRow("Japanese time") << timeIn(QLocale::Japanese) << false << "old.log"
                                   << QByteArray("14?05?06?") << replaced.arg(3);
    QTest::newRow("Spanish time, zone in brackets")
        << timeIn(QLocale::Spanish) << false << "old.log" << QByteArray("14:05:06")
        << " gespeichert !";
}

void TstLogFile::savedWholeOrOldFileKept()
{
    QFETCH(QString, line);
    QFETCH(bool, diskFull);
    QFETCH(QString, file);
    QFETCH(QByteArray, kept);
    QFETCH(QString, told);
    TestEnv env;
    const QString path = env.path(file);
    {
        QFile f(env.path("old.log"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old logbook\r\n");
    }
    TFileForm form;
    form.setLines({line});
    bool saved = true;
    {
        std::optional<FileSizeLimit> limit;
        if (diskFull) limit.emplace(1000);
        saved = form.SaveFile(path);
    }
    QCOMPARE(saved, !told.contains('\n'));
    QCOMPARE(contents(env.path("old.log")), kept + "\r\n");
    QCOMPARE(QDir(env.path(".")).entryList(QDir::Files | QDir::Hidden), QStringList{"old.log"});
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].icon, saved ? MsgIcon::Information : MsgIcon::Error);
    QCOMPARE(env.boxes[0].text, "Datei " + path + told);
}

void TstLogFile::print_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("box"); // how its one box begins
    QTest::newRow("to a PDF file") << "log.pdf"
                                   << "Daten werden gedruckt !";
    // A printer that fails gets a box of its own, and no confirmation.
    QTest::newRow("printer fails") << "no/such/folder/log.pdf"
                                   << "Fehler beim Drucken: ";
}

void TstLogFile::print()
{
    QFETCH(QString, file);
    QFETCH(QString, box);
    TestEnv env;
    TFileForm form;
    form.setLines({"SPANNEN", "\tKurz [Pulse] : 120", " ", "\t12\tok\t"});
    QPageSize::PageSizeId size = QPageSize::Letter;
    const PrintDialogHandler old = setPrintDialogHandler([&](QWidget*, QPrinter& printer) {
        size = printer.pageLayout().pageSize().id();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(env.path(file));
        return true;
    });
    form.BtPrintClick();
    setPrintDialogHandler(old);
    QCOMPARE(size, QPageSize::A4);
    QCOMPARE(env.boxes.size(), 1);
    QVERIFY2(env.boxes[0].text.startsWith(box), qPrintable(env.boxes[0].text));
    if (env.boxes[0].icon == MsgIcon::Error) return;
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (Debian package poppler-utils) is not installed");
    QProcess p;
    p.start("pdftotext", {"-layout", env.path(file), "-"});
    QVERIFY(p.waitForFinished(10000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(QRegularExpression("SPANNEN\\s+Kurz \\[Pulse\\] : 120\\s+12\\s+ok")),
             qPrintable(text));
}

QTEST_MAIN(TstLogFile)
#include "tst_logfile.moc"
