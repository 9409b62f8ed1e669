// Scaling between raw and physical values, and numbers in the system's format.

#include "Berechnung.h"
#include "MessageFacade.h"

#include <QLocale>
#include <QTest>

using namespace r73;

class TstScaling : public QObject
{
    Q_OBJECT
private slots:
    void physToBin_data();
    void physToBin();
    void binToPhys();
    void strToPhys_data();
    void strToPhys();
    void cleanup() { QLocale::setDefault(QLocale::c()); }
};

namespace {

TUmrechnung scale(double physMin, double physMax, int binMin)
{
    TUmrechnung s;
    s.BinMin = binMin;
    s.BinMax = 255;
    s.PhysMin = physMin;
    s.PhysMax = physMax;
    return s;
}

} // namespace

void TstScaling::physToBin_data()
{
    QTest::addColumn<double>("physMin");
    QTest::addColumn<double>("physMax");
    QTest::addColumn<int>("binMin");
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("top") << -100.0 << 100.0 << 0 << 100.0 << qint64(255);
    QTest::newRow("bottom") << -100.0 << 100.0 << 0 << -100.0 << qint64(0);
    QTest::newRow("75") << -100.0 << 100.0 << 0 << 75.0 << qint64(223);
    QTest::newRow("60") << -100.0 << 100.0 << 0 << 60.0 << qint64(204);
    QTest::newRow("not clamped") << -100.0 << 100.0 << 0 << 150.0 << qint64(319);
    QTest::newRow("half up to even") << 0.0 << 10.0 << 0 << 1.0 << qint64(26);
    QTest::newRow("half down to even") << 0.0 << 10.0 << 0 << 3.0 << qint64(76);
    QTest::newRow("negative half to even") << 0.0 << 10.0 << 0 << -1.0 << qint64(-26);
    QTest::newRow("2.5") << 0.0 << 10.0 << 0 << 2.5 << qint64(64);
    QTest::newRow("4-20 mA") << 0.0 << 10.0 << 51 << 5.0 << qint64(153);
    QTest::newRow("empty range") << 10.0 << 10.0 << 51 << 3.0 << qint64(51);
    QTest::newRow("reversed range") << 10.0 << 0.0 << 0 << 5.0 << qint64(0);
    QTest::newRow("NaN range") << qQNaN() << 10.0 << 51 << 5.0 << qint64(51);
    QTest::newRow("beyond 32 bits saturates") << 0.0 << 1.0 << 0 << 1e300 << qint64(INT32_MAX);
}

void TstScaling::physToBin()
{
    QFETCH(double, physMin);
    QFETCH(double, physMax);
    QFETCH(int, binMin);
    QFETCH(double, value);
    QFETCH(qint64, raw);
    QCOMPARE(scale(physMin, physMax, binMin).PhysToBin(value), raw);
}

void TstScaling::binToPhys()
{
    QCOMPARE(scale(-100, 100, 0).BinToPhys(128), 200.0 / 255 * 128 - 100); // just past the middle
    const TUmrechnung mA = scale(0, 10, 51);
    QCOMPARE(QList<double>({mA.BinToPhys(51), mA.BinToPhys(255), mA.BinToPhys(0)}),
             QList<double>({0, 10, -2.5})); // below 51 lies below the range
}

void TstScaling::strToPhys_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown"); ///< formatPhys of the value
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("German comma") << de << " 0,392 " << true << 0.392 << "0,39";
    QTest::newRow("English point") << en << "0.392" << true << 0.392 << "0.39";
    QTest::newRow("no group separator shown") << en << "9000" << true << 9000.0 << "9000.00";
    QTest::newRow("German point") << de << "0.5" << false << 7.0 << "";
    QTest::newRow("English comma is not a group separator") << en << "1,5" << false << 7.0 << "";
    QTest::newRow("letters") << en << "abc" << false << 7.0 << "";
    QTest::newRow("infinity") << en << "inf" << false << 7.0 << "";
}

void TstScaling::strToPhys()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QFETCH(QString, shown);
    QLocale::setDefault(locale);
    QList<MessageRequest> boxes;
    const MessageHandler old = setMessageHandler([&](const MessageRequest& r) {
        boxes << r;
        return MsgAnswer::Ok;
    });
    double target = 7.0;
    QCOMPARE(TUmrechnung().StrToPhys(text, target, QStringLiteral("Max1")), ok);
    setMessageHandler(old);
    QCOMPARE(target, value);
    if (ok) {
        QVERIFY(boxes.isEmpty());
        QCOMPARE(formatPhys(value), shown);
    } else {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QString("Max1"));
        QCOMPARE(boxes[0].text, QString("Nur Zahlen erlaubt"));
        QCOMPARE(boxes[0].buttons, MsgButtons::Ok);
    }
}

QTEST_APPLESS_MAIN(TstScaling)
#include "tst_scaling.moc"
