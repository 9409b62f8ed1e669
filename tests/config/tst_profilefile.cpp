#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <sys/stat.h>

using r73::ProfileFile;

namespace {

/// text in UTF-16 with its byte order mark, as an editor saves "Unicode".
QByteArray utf16(const char* text, bool littleEndian = true)
{
    QStringEncoder encoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           QStringConverter::Flag::WriteBom);
    return encoder(QString::fromUtf8(text));
}

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void readsTheFileEveryTime();

    void write_data();
    void write();
    void cp1252OnDisk();
    void unencodableValueFails();
    void writeFailure_data();
    void writeFailure();
    void readOnlyFolder();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("test.ini")); }
    void put(const QByteArray& bytes);
    QByteArray contents() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProfileFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestProfileFile::put(const QByteArray& bytes)
{
    QFile f(path());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray TestProfileFile::contents() const
{
    QFile f(path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestProfileFile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic = "[Comunication]\r\nCOM=2\r\n";
    QTest::newRow("exact") << basic << "Comunication"
                           << "COM"
                           << "2";
    QTest::newRow("section and key ignore case") << basic << "COMUNICATION"
                                                 << "com"
                                                 << "2";
    QTest::newRow("umlaut ignores case")
        << QByteArray("[\xC4nderung]\r\nSt\xE4rke=5\r\n") << QString::fromUtf8("änderung")
        << QString::fromUtf8("STÄRKE") << "5";
    QTest::newRow("blanks trimmed") << QByteArray("  [ A ]  \n \t key \t=  some value \t\n") << "a"
                                    << "KEY"
                                    << "some value";
    QTest::newRow("comment ignored") << QByteArray("[A]\n;k=1\n  ; k=2\nk=3\n") << "A"
                                     << "k"
                                     << "3";
    QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                    << "k"
                                    << "1";
    QTest::newRow("first section wins") << QByteArray("[A]\nx=1\n[a]\nk=2\n") << "A"
                                        << "k"
                                        << "default";
    QTest::newRow("key of another section") << QByteArray("[A]\nk=1\n[B]\n") << "B"
                                            << "k"
                                            << "default";
    QTest::newRow("key before any section") << QByteArray("k=1\n[A]\n") << "A"
                                            << "k"
                                            << "default";
    QTest::newRow("empty value is a value") << QByteArray("[A]\nk=\n") << "A"
                                            << "k"
                                            << "";
    QTest::newRow("equals sign inside value") << QByteArray("[A]\nk=a=b\n") << "A"
                                              << "k"
                                              << "a=b";
    QTest::newRow("no file") << QByteArray() << "A"
                             << "k"
                             << "default";
    // Saved by editors that mark their encoding, or with old Mac line ends: the first section
    // (or the whole file) is read, not skipped.
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF[Gr\xC3\xB6\xC3\x9F"
                                              "e]\r\nk=\xC3\x84\r\n")
                                << QString::fromUtf8("GRÖßE") << "k" << QString::fromUtf8("Ä");
    QTest::newRow("UTF-16 LE mark") << utf16("[A]\r\nx=1\r\nk=Größe Ω\r\n") << "a"
                                    << "K" << QString::fromUtf8("Größe Ω");
    QTest::newRow("UTF-16 BE mark") << utf16("[A]\nk=3\n", false) << "A"
                                    << "k"
                                    << "3";
    QTest::newRow("CR only") << QByteArray("[A]\rx=1\rk=2\r[B]\rk=3\r") << "A"
                             << "k"
                             << "2";
}

void TestProfileFile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    if (!file.isEmpty()) put(file);

    ProfileFile f(path());
    QCOMPARE(f.readString(section, key, QStringLiteral("default")), expected);
    QCOMPARE(f.hasKey(section, key), expected != QLatin1String("default"));
}

void TestProfileFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");

    constexpr int def = 42;
    QTest::newRow("decimal") << QByteArray("12") << 12;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("minus") << QByteArray("-7") << -7;
    QTest::newRow("leading zero is decimal") << QByteArray("010") << 10;
    QTest::newRow("0x") << QByteArray("0x1F") << 31;
    QTest::newRow("0X") << QByteArray("0X1f") << 31;
    QTest::newRow("dollar") << QByteArray("$ff") << 255;
    QTest::newRow("int max") << QByteArray("2147483647") << std::numeric_limits<int>::max();
    QTest::newRow("int min") << QByteArray("-2147483648") << std::numeric_limits<int>::min();
    QTest::newRow("above int") << QByteArray("2147483648") << def;
    QTest::newRow("hex above int") << QByteArray("0x80000000") << def;
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << def;
    QTest::newRow("empty") << QByteArray("") << def;
    QTest::newRow("trailing garbage") << QByteArray("12abc") << def;
    QTest::newRow("letters") << QByteArray("abc") << def;
    QTest::newRow("inner blank") << QByteArray("1 2") << def;
    QTest::newRow("sign only") << QByteArray("-") << def;
    QTest::newRow("prefix only") << QByteArray("0x") << def;
    QTest::newRow("dollar only") << QByteArray("$") << def;
    QTest::newRow("bad hex digit") << QByteArray("$1g") << def;
    QTest::newRow("signed hex") << QByteArray("-0x5") << def;
    QTest::newRow("decimal with hex digit") << QByteArray("1f") << def;
}

void TestProfileFile::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    put("[A]\r\nk=" + value + "\r\n");
    QCOMPARE(ProfileFile(path()).readInteger(QStringLiteral("A"), QStringLiteral("k"), 42),
             expected);
}

void TestProfileFile::readBool_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("whenDefaultFalse");
    QTest::addColumn<bool>("whenDefaultTrue");

    QTest::newRow("one") << QByteArray("1") << true << true;
    QTest::newRow("zero") << QByteArray("0") << false << false;
    QTest::newRow("any nonzero") << QByteArray("-3") << true << true;
    QTest::newRow("hex zero") << QByteArray("$0") << false << false;
    QTest::newRow("word") << QByteArray("true") << false << true;
    QTest::newRow("empty") << QByteArray("") << false << true;
}

void TestProfileFile::readBool()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, whenDefaultFalse);
    QFETCH(bool, whenDefaultTrue);
    put("[A]\nk=" + value + "\n");
    ProfileFile f(path());
    QCOMPARE(f.readBool(QStringLiteral("A"), QStringLiteral("k"), false), whenDefaultFalse);
    QCOMPARE(f.readBool(QStringLiteral("A"), QStringLiteral("k"), true), whenDefaultTrue);
}

void TestProfileFile::readsTheFileEveryTime()
{
    ProfileFile f(path());
    put("[A]\nk=1\n");
    QCOMPARE(f.readInteger(QStringLiteral("A"), QStringLiteral("k"), 0), 1);
    put("[A]\nk=2\n");
    QCOMPARE(f.readInteger(QStringLiteral("A"), QStringLiteral("k"), 0), 2);
}

void TestProfileFile::write_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    // Every row writes the value "9".
    QTest::newRow("new file is CR LF") << QByteArray() << "Sec"
                                       << "Key" << QByteArray("[Sec]\r\nKey=9\r\n");
    QTest::newRow("replace keeps comments, order, spelling, CR LF")
        << QByteArray("; head\r\n[Sec]\r\n; note\r\n  com = 1 \r\nX=2\r\n\r\n[B]\r\ny=3\r\n")
        << "SEC"
        << "COM" << QByteArray("; head\r\n[Sec]\r\n; note\r\ncom=9\r\nX=2\r\n\r\n[B]\r\ny=3\r\n");
    QTest::newRow("LF file stays LF") << QByteArray("[A]\nk=1\n") << "A"
                                      << "new" << QByteArray("[A]\nk=1\nnew=9\n");
    QTest::newRow("new key after last key, before blank lines")
        << QByteArray("[A]\r\nx=1\r\n; tail\r\n\r\n[B]\r\ny=2\r\n") << "a"
        << "z" << QByteArray("[A]\r\nx=1\r\nz=9\r\n; tail\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("new key in empty section, before blank lines")
        << QByteArray("[A]\r\n\r\n[B]\r\n") << "A"
        << "z" << QByteArray("[A]\r\nz=9\r\n\r\n[B]\r\n");
    QTest::newRow("new key goes to first of duplicate sections")
        << QByteArray("[A]\nx=1\n[A]\ny=1\n") << "A"
        << "z" << QByteArray("[A]\nx=1\nz=9\n[A]\ny=1\n");
    QTest::newRow("new section at end") << QByteArray("[A]\nx=1\n\n") << "B"
                                        << "y" << QByteArray("[A]\nx=1\n\n[B]\ny=9\n");
    QTest::newRow("new section after unterminated last line")
        << QByteArray("[A]\nx=1") << "B"
        << "y" << QByteArray("[A]\nx=1\n[B]\ny=9\n");
    QTest::newRow("replace unterminated last line") << QByteArray("[A]\r\nx=1") << "A"
                                                    << "x" << QByteArray("[A]\r\nx=9");
    QTest::newRow("new key after unterminated last line")
        << QByteArray("[A]\r\nx=1") << "A"
        << "z" << QByteArray("[A]\r\nx=1\r\nz=9\r\n");
    QTest::newRow("section without keys: after its comment")
        << QByteArray("[A]\n;x=1\n") << "A"
        << "x" << QByteArray("[A]\n;x=1\nx=9\n");
    QTest::newRow("mixed endings: other lines untouched") << QByteArray("[A]\nx=1\r\ny=2\n") << "A"
                                                          << "x" << QByteArray("[A]\nx=9\r\ny=2\n");
    QTest::newRow("CR only stays CR only") << QByteArray("[A]\rx=1\r") << "B"
                                           << "y" << QByteArray("[A]\rx=1\r[B]\ry=9\r");
    QTest::newRow("UTF-8 mark and its text kept")
        << QByteArray("\xEF\xBB\xBF[A]\r\nn=\xC3\x84\r\nx=1\r\n") << "A"
        << "x" << QByteArray("\xEF\xBB\xBF[A]\r\nn=\xC3\x84\r\nx=9\r\n");
    QTest::newRow("UTF-16 stays UTF-16") << utf16("[A]\r\nn=Ω\r\n") << "A"
                                         << "x" << utf16("[A]\r\nn=Ω\r\nx=9\r\n");
}

void TestProfileFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    if (!before.isNull()) put(before);

    ProfileFile f(path());
    QVERIFY2(f.writeInteger(section, key, 9), qPrintable(f.errorString()));
    QCOMPARE(contents(), after);
    QCOMPARE(f.readString(section, key, QString()), QStringLiteral("9"));
}

void TestProfileFile::cp1252OnDisk()
{
    ProfileFile f(path());
    const QString size = QString::fromUtf8("Größe");
    QVERIFY(f.writeString(size, size, size));
    QCOMPARE(contents(), QByteArray("[Gr\xF6\xDF"
                                    "e]\r\nGr\xF6\xDF"
                                    "e=Gr\xF6\xDF"
                                    "e\r\n"));
    QCOMPARE(f.readString(QString::fromUtf8("GRÖßE"), size, QString()), size);
}

void TestProfileFile::unencodableValueFails()
{
    const QByteArray before = "[A]\r\nk=1\r\n";
    put(before);
    ProfileFile f(path());
    QVERIFY(!f.writeString(QStringLiteral("A"), QStringLiteral("k"), QString::fromUtf8("5 Ω")));
    QVERIFY2(f.errorString().contains(QString::fromUtf8("Ω")), qPrintable(f.errorString()));
    QVERIFY(f.errorString().contains(QLatin1String("Windows-1252")));
    QCOMPARE(contents(), before);
}

void TestProfileFile::writeFailure_data()
{
    QTest::addColumn<QString>("file");

    QTest::newRow("folder missing") << "missing/test.ini";
    QTest::newRow("folder is a file") << "plain/test.ini";
    QTest::newRow("file is a folder") << "dir";
    QTest::newRow("file is a FIFO") << "fifo"; // reads gave a hang
    QTest::newRow("link to nothing") << "dangling";
    QTest::newRow("broken UTF-16") << "broken";
}

void TestProfileFile::writeFailure()
{
    QFETCH(QString, file);
    QDir dir(m_dir->path());
    QVERIFY(dir.mkdir(QStringLiteral("dir")));
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))), 0600), 0);
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")),
                        dir.filePath(QStringLiteral("dangling"))));
    QFile broken(dir.filePath(QStringLiteral("broken")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xFE[\0A\0]\0\n", 9); // odd length: cut off
    broken.close();
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList before = dir.entryList(all);

    ProfileFile f(dir.filePath(file));
    QCOMPARE(f.readInteger(QStringLiteral("A"), QStringLiteral("k"), 7), 7);
    QVERIFY(!f.writeInteger(QStringLiteral("A"), QStringLiteral("k"), 1));
    QVERIFY2(f.errorString().contains(QDir::toNativeSeparators(f.path())),
             qPrintable(f.errorString()));
    QCOMPARE(dir.entryList(all), before);
    QCOMPARE(broken.size(), 9);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("dir"))).isEmpty(), true);
}

void TestProfileFile::readOnlyFolder()
{
    const QByteArray before = "[A]\r\nk=1\r\n";
    put(before);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(m_dir->filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(m_dir->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("permissions do not restrict this user");
    }

    ProfileFile f(path());
    const bool written = f.writeInteger(QStringLiteral("A"), QStringLiteral("k"), 2);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!written);
    QVERIFY(!f.errorString().isEmpty());
    QCOMPARE(contents(), before);
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
