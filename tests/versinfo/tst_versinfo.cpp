#include "MainVer.h"
#include "VersInfo.h"
#include "VersionBlock.h"
#include "VersionResource.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <climits>

using r73::TVersInfo;

namespace {

/// A program file whose resource the test chooses; reads after the first readsOk ones fail.
class FakeResource : public r73::VersionResourceApi
{
public:
    QByteArray block;
    int readsOk = INT_MAX;
    mutable int reads = 0;

    qint32 GetFileVersionInfoSize(const QString&, quint32& handle) const override
    {
        handle = 0;
        return qint32(block.size());
    }
    bool GetFileVersionInfo(const QString&, quint32, qint32 size, QByteArray& data) const override
    {
        if (reads++ >= readsOk) return false;
        data = block.left(size);
        return true;
    }
};

enum Part { Fixed = 1, Translation = 2, Strings = 4, All = 7, ShortTranslation = 8 };

QByteArray makeBlock(int parts = All, quint32 fileOs = 0x00000004)
{
    r73::VersionBlockWriter w;
    if (parts & Fixed) {
        r73::FixedFileInfo fixed;
        fixed.fileOS = fileOs;
        w.addFixedInfo(fixed);
    }
    if (parts & Translation) w.addTranslation(0x0409, 0x04E4);
    if (parts & ShortTranslation)
        w.add(QStringLiteral("\\VarFileInfo\\Translation"), QByteArray(2, '\x09'));
    if (parts & Strings) {
        const auto add = [&](const char* name, const char* text) {
            w.addString(0x0409, 0x04E4, QLatin1String(name), QLatin1String(text));
        };
        add("CompanyName", "Spannwerk Test");
        add("FileDescription", "Desc");
        add("FileVersion", "7.8.9.10");
        add("LegalCopyright", "(c) 1999");
        add("ProductName", "Clamp Tool");
        // A stray string of another language must not be taken for ours.
        w.addString(0x0407, 0x04E4, QStringLiteral("ProductVersion"), QStringLiteral("wrong"));
    }
    return w.data();
}

} // namespace

class TestVersInfo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void osText_data();
    void osText();
    void load_data();
    void load();
    void versionStrings();
    void ownerMustBeForm();
    void formFromGeneratedBlock();
    void formKeepsInitialTextsWithoutResource();
    void onTime_data();
    void onTime();
    void showInfoClosesOnOkAndFreesWindow();
    void showInfoClosesItselfAfterOnTime();

private:
    QWidget m_owner;
    FakeResource m_fake;
    std::unique_ptr<TVersInfo> m_info;
};

void TestVersInfo::init()
{
    m_fake = FakeResource();
    m_info = std::make_unique<TVersInfo>(&m_owner);
    m_info->setResourceApi(&m_fake);
}

void TestVersInfo::osText_data()
{
    QTest::addColumn<quint32>("fileOs");
    QTest::addColumn<QString>("text");

    const QString d = QStringLiteral("Designed for ");
    QTest::newRow("1") << 0x00000001u << d + "16-bit Windows";
    QTest::newRow("2") << 0x00000002u << d + "16-bit PM";
    QTest::newRow("3") << 0x00000003u << d + "32-bit PM";
    QTest::newRow("4") << 0x00000004u << d + "32-bit Windows";
    QTest::newRow("10000") << 0x00010000u << d + "MS-DOS";
    QTest::newRow("10001") << 0x00010001u << d + "16-bit Windows, running on MS-DOS";
    QTest::newRow("10004") << 0x00010004u << d + "Win32 API, running on MS-DOS";
    QTest::newRow("20000") << 0x00020000u << d + "16-bit OS/2";
    QTest::newRow("20002") << 0x00020002u << d + "16-bit PM, running on 16-bit OS/2";
    QTest::newRow("30000") << 0x00030000u << d + "32-bit OS/2";
    QTest::newRow("30003") << 0x00030003u << d + "32-bit PM, running on 32-bit OS/2";
    QTest::newRow("40000") << 0x00040000u << d + "Windows NT";
    QTest::newRow("40004") << 0x00040004u << d + "Win32 API, running on Windows/NT";
    QTest::newRow("0") << 0x00000000u << "Unknown";
    QTest::newRow("unlisted 40001") << 0x00040001u << "Unknown";
    QTest::newRow("unlisted high word") << 0x00050004u << "Unknown";
}

void TestVersInfo::osText()
{
    QFETCH(quint32, fileOs);
    QFETCH(QString, text);

    m_fake.block = makeBlock(All, fileOs);
    QVERIFY(m_info->LoadVersionInfo());
    QCOMPARE(m_info->GetOsText(), text);
}

void TestVersInfo::load_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("readsOk");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("osText");

    const QString win32 = QStringLiteral("Designed for 32-bit Windows");
    QTest::newRow("complete") << makeBlock() << INT_MAX << true << "" << win32;
    QTest::newRow("no resource") << QByteArray() << INT_MAX << false << ""
                                 << "Unknown";
    QTest::newRow("read fails") << makeBlock() << 0 << false << "Cannot obtain version info."
                                << "Unknown";
    QTest::newRow("no translation")
        << makeBlock(Fixed | Strings) << INT_MAX << false << "No language info."
        << "Unknown";
    QTest::newRow("translation too short")
        << makeBlock(Fixed | ShortTranslation) << INT_MAX << false << "No language info."
        << "Unknown";
    QTest::newRow("second read fails") << makeBlock() << 1 << true << ""
                                       << "Unknown";
    QTest::newRow("no root block") << makeBlock(Translation | Strings) << INT_MAX << true << ""
                                   << "Unknown";
}

void TestVersInfo::load()
{
    QFETCH(QByteArray, block);
    QFETCH(int, readsOk);
    QFETCH(bool, result);
    QFETCH(QString, error);
    QFETCH(QString, osText);

    m_fake.block = block;
    m_fake.readsOk = readsOk;
    QCOMPARE(m_info->LoadVersionInfo(), result);
    QCOMPARE(m_info->LoadError(), error);
    QCOMPARE(m_info->GetOsText(), osText);
    QCOMPARE(m_info->ExeFileName(), QCoreApplication::applicationFilePath());
}

void TestVersInfo::versionStrings()
{
    m_fake.block = makeBlock();
    QVERIFY(m_info->LoadVersionInfo());
    const QStringList expected{"Spannwerk Test", "Desc", "7.8.9.10", "", "(c) 1999", "", "",
                               "Clamp Tool",     "",     ""};
    for (int i = 0; i < 10; ++i)
        QCOMPARE(m_info->GetVersionString(i), expected.at(i));
    QCOMPARE(m_info->GetVersionString(-1), QString());
    QCOMPARE(m_info->GetVersionString(10), QString());
}

void TestVersInfo::ownerMustBeForm()
{
    QObject plain;
    QWidget child(&m_owner);
    QVERIFY_THROWS_EXCEPTION(r73::EInvalidOwner, TVersInfo{nullptr});
    QVERIFY_THROWS_EXCEPTION(r73::EInvalidOwner, TVersInfo{&plain});
    QVERIFY_THROWS_EXCEPTION(r73::EInvalidOwner, TVersInfo{&child});
    QCOMPARE(m_owner.findChildren<TVersInfo*>().size(), 1);
}

void TestVersInfo::formFromGeneratedBlock()
{
    m_info->setResourceApi(nullptr);
    const auto form = m_info->CreateInfoForm();
    QString fileVersion = QStringLiteral(R73_PROJECT_VERSION);
    while (fileVersion.count(QLatin1Char('.')) < 3)
        fileVersion += QStringLiteral(".0");

    QCOMPARE(form->parentWidget(), &m_owner);
    QCOMPARE(form->windowTitle(), QStringLiteral("Product Information"));
    QCOMPARE(form->size(), QSize(636, 257));
    QVERIFY(!(form->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!form->findChild<QLabel*>(QStringLiteral("BlueLine"))->pixmap().isNull());
    QCOMPARE(form->CompanyName()->text(), QStringLiteral(R73_COMPANY));
    QCOMPARE(form->ProductName()->text(), QStringLiteral("R73 Service"));
    QCOMPARE(form->FileVersion()->text(), fileVersion);
    QCOMPARE(form->ProductVersion()->text(), QStringLiteral(R73_PROJECT_VERSION));
    QVERIFY(form->Copyright()->text().startsWith(QStringLiteral("Copyright © 20")));
    QVERIFY(form->Copyright()->text().endsWith(QStringLiteral(R73_COMPANY)));
    QVERIFY(form->OperatingSystem()->text().startsWith(QStringLiteral("Designed for ")));
}

void TestVersInfo::formKeepsInitialTextsWithoutResource()
{
    m_fake.block = makeBlock(Fixed | Strings);
    const auto form = m_info->CreateInfoForm();
    QCOMPARE(form->ProductName()->text(), QStringLiteral("Product Name"));
    QCOMPARE(form->FileVersion()->text(), QStringLiteral("FileVersion"));
    QCOMPARE(form->ProductVersion()->text(), QStringLiteral("ProductVersion"));
    QCOMPARE(form->OperatingSystem()->text(), QStringLiteral("OperatingSystem"));

    // With the resource back, a string it lacks empties its label.
    m_fake.block = makeBlock();
    const auto filled = m_info->CreateInfoForm();
    QCOMPARE(filled->ProductName()->text(), QStringLiteral("Clamp Tool"));
    QCOMPARE(filled->ProductVersion()->text(), QString());
}

void TestVersInfo::onTime_data()
{
    QTest::addColumn<double>("onTime");
    QTest::addColumn<bool>("timed");
    QTest::addColumn<int>("interval");

    QTest::newRow("0 stays") << 0.0 << false << 0;
    QTest::newRow("2.5 s") << 2.5 << true << 2500;
    QTest::newRow("cut, not rounded") << 1.9999 << true << 1999;
    QTest::newRow("0.0015 s is 1 ms") << 0.0015 << true << 1;
    QTest::newRow("below 1 ms still closes") << 0.0004 << true << 1;
    QTest::newRow("negative still closes") << -3.0 << true << 1;
    QTest::newRow("beyond the timer's range") << 1e10 << true << INT_MAX;
}

void TestVersInfo::onTime()
{
    QFETCH(double, onTime);
    QFETCH(bool, timed);
    QFETCH(int, interval);

    m_info->setProperty("OnTime", onTime);
    const auto form = m_info->CreateInfoForm();
    QCOMPARE(form->tmrClose()->isActive(), timed);
    QCOMPARE(form->BtnOk()->isHidden(), timed);
    if (timed) QCOMPARE(form->tmrClose()->interval(), interval);
}

void TestVersInfo::showInfoClosesOnOkAndFreesWindow()
{
    m_fake.block = makeBlock();
    QString shownCompany;
    bool modal = false;
    bool stayedOnEscape = false;
    QTimer::singleShot(0, this, [&] {
        auto* form = m_owner.findChild<TVersInfoForm*>();
        if (!form) return;
        modal = QApplication::activeModalWidget() == form;
        shownCompany = form->CompanyName()->text();
        // The window has no cancel: Escape leaves it open.
        QTest::keyClick(form, Qt::Key_Escape);
        stayedOnEscape = form->isVisible();
        QTest::mouseClick(form->BtnOk(), Qt::LeftButton);
    });
    m_info->ShowInfo(&m_owner);
    QVERIFY(modal);
    QVERIFY(stayedOnEscape);
    QCOMPARE(shownCompany, QStringLiteral("Spannwerk Test"));
    QCOMPARE(m_owner.findChildren<TVersInfoForm*>().size(), 0);
}

void TestVersInfo::showInfoClosesItselfAfterOnTime()
{
    m_info->setOnTime(0.01);
    bool rescued = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [&] {
        rescued = true;
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    watchdog.start(5000);
    m_info->ShowInfo(&m_owner);
    QVERIFY(!rescued);
}

QTEST_MAIN(TestVersInfo)
#include "tst_versinfo.moc"
