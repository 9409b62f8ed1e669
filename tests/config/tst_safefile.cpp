#include "SafeFile.h"
#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace r73;
using r73::test::inSmallFileSystem;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

private slots:
    void wholeFileIsAllOrNothing_data();
    void wholeFileIsAllOrNothing();
    void targetsARenameWouldWreckAreRefused();
    void specialFilesAreRefusedBeforeReading_data();
    void specialFilesAreRefusedBeforeReading();
};

void TestSafeFile::wholeFileIsAllOrNothing_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("written");
    QTest::newRow("fits") << qint64(1 << 20) << 5000 << true;
    QTest::newRow("disk full at the first block") << qint64(4096) << 5000 << false;
    QTest::newRow("disk full part way") << qint64(65536) << 200000 << false;
}

void TestSafeFile::wholeFileIsAllOrNothing()
{
    QFETCH(qint64, limit);
    QFETCH(int, size);
    QFETCH(bool, written);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.json"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the old backup") > 0);
    old.close();
    QCOMPARE(::chmod(QFile::encodeName(path), 0640), 0);

    const QByteArray bytes(size, 'x');
    QString reason;
    const bool ok = inSmallFileSystem(
        limit, [&](QString* why) { return writeFileAtomically(path, bytes, why); }, &reason);
    QCOMPARE(ok, written);
    QFile back(path);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), written ? bytes : QByteArray("the old backup"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("old.json")});
    struct stat st
    {
    };
    QCOMPARE(::stat(QFile::encodeName(path), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0640u);
    if (!written) QCOMPARE(reason, QStringLiteral("Datei zu groß"));
}

void TestSafeFile::targetsARenameWouldWreckAreRefused()
{
    // A rename would put a plain file in place of a FIFO or device (as root, /dev/null itself)
    // and create whatever a dangling link points to.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo");
    const QString dangling = dir.filePath("dangling");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    QVERIFY(QFile::link(dir.filePath("gone/file"), dangling));
    QString why;
    QVERIFY(!writeFileAtomically(fifo, "new", &why));
    QCOMPARE(why, QStringLiteral("keine gewöhnliche Datei"));
    QVERIFY(!writeFileAtomically(dangling, "new", &why));
    QCOMPARE(why, QStringLiteral("die Verknüpfung zeigt ins Leere"));
    QCOMPARE(entries(dir.path()), (QStringList{"dangling", "fifo"}));
}

void TestSafeFile::specialFilesAreRefusedBeforeReading_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("fifo") << "fifo"
                          << "keine gewöhnliche Datei";
    QTest::newRow("device") << "/dev/zero"
                            << "keine gewöhnliche Datei";
    QTest::newRow("folder") << "folder"
                            << "ist ein Ordner";
    QTest::newRow("too large") << "large"
                               << "Datei größer als 10 MB";
    QTest::newRow("missing") << "missing"
                             << "Datei oder Ordner nicht vorhanden";
}

void TestSafeFile::specialFilesAreRefusedBeforeReading()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath(kind);
    if (kind == QLatin1String("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
    if (kind.startsWith(u'/')) path = kind;
    if (kind == QLatin1String("folder")) QVERIFY(QDir().mkdir(path));
    if (kind == QLatin1String("large")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(MaxReadSize + 1));
    }
    QByteArray bytes;
    QString why;
    QVERIFY(!readRegularFile(path, &bytes, &why));
    QCOMPARE(why, reason);
    QVERIFY(bytes.isEmpty());
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
