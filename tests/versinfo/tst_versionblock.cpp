#include "VersionBlock.h"
#include "VersionResource.h"

#include <QCoreApplication>
#include <QTest>

using r73::VerQueryValue;

class TestVersionBlock : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data();
    void lookUp();
    void truncatedBlock_data();
    void truncatedBlock();
    void builtInSpeaksOnlyForRunningProgram_data();
    void builtInSpeaksOnlyForRunningProgram();
};

namespace {

// Laid out by hand, so the writer and the reader cannot agree on a wrong layout unnoticed.
const QByteArray HandMade = QByteArray("\x01\x00\\\x02\x00"
                                       "ab"
                                       "\x03\x00x\\y\x00\x00",
                                       14);

QByteArray sampleBlock()
{
    r73::VersionBlockWriter w;
    r73::FixedFileInfo fixed;
    fixed.fileOS = 0x00040004;
    w.addFixedInfo(fixed);
    w.addTranslation(0x0407, 0x04E4);
    w.addString(0x0407, 0x04E4, QStringLiteral("CompanyName"), QStringLiteral("Spannwerk Süd"));
    return w.data();
}

} // namespace

void TestVersionBlock::lookUp_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("value");

    const QByteArray block = sampleBlock();
    QTest::newRow("translation: language id, then code page")
        << block << "\\VarFileInfo\\Translation" << true << QByteArray("\x07\x04\xE4\x04", 4);
    QTest::newRow("string, named as written") << block << "\\StringFileInfo\\040704E4\\CompanyName"
                                              << true << QStringLiteral("Spannwerk Süd").toUtf8();
    QTest::newRow("string, named in other case")
        << block << "\\stringfileinfo\\040704e4\\COMPANYNAME" << true
        << QStringLiteral("Spannwerk Süd").toUtf8();
    QTest::newRow("name is only a prefix")
        << block << "\\StringFileInfo\\040704E4\\Company" << false << QByteArray();
    QTest::newRow("name runs past the entry")
        << block << "\\StringFileInfo\\040704E4\\CompanyNames" << false << QByteArray();
    QTest::newRow("other language")
        << block << "\\StringFileInfo\\040904E4\\CompanyName" << false << QByteArray();
    QTest::newRow("missing string")
        << block << "\\StringFileInfo\\040704E4\\Comments" << false << QByteArray();
    QTest::newRow("empty name") << block << "" << false << QByteArray();
    QTest::newRow("empty block") << QByteArray() << "\\" << false << QByteArray();
    QTest::newRow("hand-made root") << HandMade << "\\" << true << QByteArray("ab");
    QTest::newRow("hand-made empty value") << HandMade << "x\\y" << true << QByteArray("");
}

void TestVersionBlock::lookUp()
{
    QFETCH(QByteArray, block);
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(QByteArray, value);

    const auto result = VerQueryValue(block, name);
    QCOMPARE(result.has_value(), found);
    if (found) QCOMPARE(block.mid(result->offset, result->length), value);
}

void TestVersionBlock::truncatedBlock_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("rootFound");
    QTest::addColumn<bool>("lastFound");

    QTest::newRow("whole") << 14 << true << true;
    QTest::newRow("last value length cut") << 13 << true << false;
    QTest::newRow("last name cut") << 9 << true << false;
    QTest::newRow("first value cut") << 6 << false << false;
    QTest::newRow("first name length only") << 2 << false << false;
    QTest::newRow("one byte") << 1 << false << false;
}

void TestVersionBlock::truncatedBlock()
{
    QFETCH(int, length);
    QFETCH(bool, rootFound);
    QFETCH(bool, lastFound);

    const QByteArray block = HandMade.left(length);
    QCOMPARE(VerQueryValue(block, QStringLiteral("\\")).has_value(), rootFound);
    QCOMPARE(VerQueryValue(block, QStringLiteral("x\\y")).has_value(), lastFound);
}

void TestVersionBlock::builtInSpeaksOnlyForRunningProgram_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("hasResource");

    QTest::newRow("running program") << QCoreApplication::applicationFilePath() << true;
    QTest::newRow("another file") << QCoreApplication::applicationDirPath() << false;
    QTest::newRow("missing file") << QStringLiteral("/nonexistent/r73-service") << false;
    QTest::newRow("empty name") << QString() << false;
}

void TestVersionBlock::builtInSpeaksOnlyForRunningProgram()
{
    QFETCH(QString, fileName);
    QFETCH(bool, hasResource);

    const auto& api = r73::BuiltInVersionResource::instance();
    quint32 handle = 99;
    const qint32 size = api.GetFileVersionInfoSize(fileName, handle);
    QCOMPARE(handle, 0u);
    QCOMPARE(size > 0, hasResource);

    QByteArray data("untouched");
    QCOMPARE(api.GetFileVersionInfo(fileName, handle, hasResource ? size : 100, data), hasResource);
    QCOMPARE(data, hasResource ? r73::builtInVersionBlock() : QByteArray("untouched"));
}

QTEST_GUILESS_MAIN(TestVersionBlock)
#include "tst_versionblock.moc"
