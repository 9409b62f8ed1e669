#include "NorloIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestNorloIni : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartWritesDefaults();
    void readsAreWrittenBack_data();
    void readsAreWrittenBack();
    void writesReplaceValues();
    void withoutFolderReadsGiveDefaults();
    void unwritableFileIsNamed_data();
    void unwritableFileIsNamed();
    void deviceNameForPort_data();
    void deviceNameForPort();

private:
    void put(const QByteArray& bytes);
    QByteArray contents() const;

    QString m_oldCurrent;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestNorloIni::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkdir(QStringLiteral("ini")));
}

void TestNorloIni::cleanup()
{
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

void TestNorloIni::put(const QByteArray& bytes)
{
    QFile f(r73::configFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray TestNorloIni::contents() const
{
    QFile f(r73::configFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestNorloIni::firstStartWritesDefaults()
{
    QCOMPARE(r73::readComPort(), 1);
    QCOMPARE(r73::readDemoMode(), false);
    QCOMPARE(r73::readLanguage(3), 3);
    QCOMPARE(contents(), QByteArray("[Comunication]\r\nCOM=1\r\n"
                                    "[DemoMode]\r\nACTIVE=0\r\n"
                                    "[Language]\r\nLanguage=3\r\n"));
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("ini/norlo.ini"))));
}

void TestNorloIni::readsAreWrittenBack_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("com");
    QTest::addColumn<bool>("demo");
    QTest::addColumn<int>("language");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("stored values")
        << QByteArray("[comunication]\ncom=4\n[DEMOMODE]\nactive=1\n[Language]\nLanguage=2\n") << 4
        << true << 2
        << QByteArray("[comunication]\ncom=4\n[DEMOMODE]\nactive=1\n[Language]\nLanguage=2\n");
    QTest::newRow("normalised")
        << QByteArray("[Comunication]\nCOM=$3\n[DemoMode]\nACTIVE=7\n[Language]\nLanguage=010\n")
        << 3 << true << 10
        << QByteArray("[Comunication]\nCOM=3\n[DemoMode]\nACTIVE=1\n[Language]\nLanguage=10\n");
    // Read, not dropped with a default "COM=1" appended; written back in the file's own form.
    QTest::newRow("UTF-8 mark")
        << QByteArray("\xEF\xBB\xBF[Comunication]\r\nCOM=3\r\n[DemoMode]\r\nACTIVE=0\r\n") << 3
        << false << 5
        << QByteArray("\xEF\xBB\xBF[Comunication]\r\nCOM=3\r\n[DemoMode]\r\nACTIVE=0\r\n"
                      "[Language]\r\nLanguage=5\r\n");
    QTest::newRow("garbage replaced by defaults")
        << QByteArray("[Comunication]\nCOM=x\n[DemoMode]\nACTIVE=on\n[Language]\nLanguage=\n") << 1
        << false << 5
        << QByteArray("[Comunication]\nCOM=1\n[DemoMode]\nACTIVE=0\n[Language]\nLanguage=5\n");
}

void TestNorloIni::readsAreWrittenBack()
{
    QFETCH(QByteArray, before);
    QFETCH(int, com);
    QFETCH(bool, demo);
    QFETCH(int, language);
    QFETCH(QByteArray, after);
    put(before);

    QCOMPARE(r73::readComPort(), com);
    QCOMPARE(r73::readDemoMode(), demo);
    QCOMPARE(r73::readLanguage(5), language);
    QCOMPARE(contents(), after);
}

void TestNorloIni::writesReplaceValues()
{
    put("; settings\r\n[Comunication]\r\nCOM=1\r\n[Language]\r\nLanguage=0\r\n");
    QVERIFY(r73::writeComPort(3));
    QVERIFY(r73::writeLanguage(2));
    QCOMPARE(contents(),
             QByteArray("; settings\r\n[Comunication]\r\nCOM=3\r\n[Language]\r\nLanguage=2\r\n"));
    QCOMPARE(r73::readComPort(), 3);
    QCOMPARE(r73::readLanguage(0), 2);
}

void TestNorloIni::withoutFolderReadsGiveDefaults()
{
    QVERIFY(QDir().rmdir(QStringLiteral("ini")));
    QCOMPARE(r73::readComPort(), 1);
    QCOMPARE(r73::readDemoMode(), false);
    QCOMPARE(r73::readLanguage(4), 4);
    QVERIFY(!r73::writeComPort(2));
    QVERIFY(!QFileInfo::exists(QStringLiteral("ini")));
}

void TestNorloIni::unwritableFileIsNamed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("problem");
    QTest::newRow("plain file") << "file"
                                << "";
    QTest::newRow("no file yet") << "none"
                                 << "";
    QTest::newRow("a folder of that name") << "folder"
                                           << "ist ein Ordner";
    QTest::newRow("a link to nothing") << "dangling"
                                       << "die Verknüpfung zeigt ins Leere";
    QTest::newRow("a FIFO") << "fifo"
                            << "keine gewöhnliche Datei";
}

void TestNorloIni::unwritableFileIsNamed()
{
    QFETCH(QString, kind);
    QFETCH(QString, problem);
    const QString path = r73::configFilePath();
    if (kind == "file") put("[Comunication]\r\nCOM=2\r\n");
    if (kind == "folder") QVERIFY(QDir().mkdir(path));
    if (kind == "dangling") QVERIFY(QFile::link(m_dir->filePath("gone/norlo.ini"), path));
    if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
    QCOMPARE(r73::configFileProblem(), problem);
    // Reads give their defaults at once; a FIFO does not hold them up.
    QCOMPARE(r73::readComPort(), kind == "file" ? 2 : 1);
    QCOMPARE(r73::writeComPort(3), problem.isEmpty());
    QCOMPARE(r73::configFileProblem(), problem);
}

void TestNorloIni::deviceNameForPort_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no file, port 1") << QByteArray() << 1 << "/dev/ttyS0";
    QTest::newRow("no file, port 4") << QByteArray() << 4 << "/dev/ttyS3";
    QTest::newRow("port 0") << QByteArray() << 0 << "";
    QTest::newRow("port 5") << QByteArray() << 5 << "";

    const QByteArray withDevice = "[Comunication]\r\nCOM=2\r\ndevice2 = /dev/ttyUSB0 \r\n";
    QTest::newRow("configured") << withDevice << 2 << "/dev/ttyUSB0";
    QTest::newRow("other port not configured") << withDevice << 1 << "/dev/ttyS0";
    QTest::newRow("configured but port out of range")
        << QByteArray("[Comunication]\nDevice5=/dev/ttyUSB1\n") << 5 << "";
    QTest::newRow("empty entry") << QByteArray("[Comunication]\nDevice3=\n") << 3 << "/dev/ttyS2";
    QTest::newRow("key in another section")
        << QByteArray("[Other]\nDevice1=/dev/ttyUSB0\n") << 1 << "/dev/ttyS0";
}

void TestNorloIni::deviceNameForPort()
{
    QFETCH(QByteArray, file);
    QFETCH(int, port);
    QFETCH(QString, expected);
    if (!file.isNull()) put(file);

    QCOMPARE(r73::deviceNameForPort(port), expected);
    // The key is never created or written back.
    QCOMPARE(QFile::exists(r73::configFilePath()), !file.isNull());
    QCOMPARE(contents(), file.isNull() ? QByteArray() : file);
}

QTEST_GUILESS_MAIN(TestNorloIni)
#include "tst_norloini.moc"
