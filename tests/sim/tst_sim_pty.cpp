// The r73-sim program on its pseudo terminal, driven through the link with plain POSIX calls.

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "WireCodec.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QByteArray Handshake = QByteArray::fromHex("0004");
const QByteArray HandshakeAnswer = QByteArray::fromHex("52371b3b1b33");
const QByteArray LookupLang = QByteArray::fromHex("011b3b1b3304") + "LANG";
const QByteArray LookupLangAnswer = QByteArray::fromHex("1b311b330100");

/// Starts r73-sim and waits for the device line; empty on failure.
QString startSim(QProcess& sim, const QStringList& args)
{
    sim.setProgram(qEnvironmentVariable("R73_SIM"));
    sim.setArguments(args);
    sim.start();
    if (!sim.waitForStarted(5000)) return {};
    while (!sim.canReadLine())
        if (!sim.waitForReadyRead(5000)) return {};
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

int openRaw(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

/// Writes the request and reads until `expected` bytes arrived or a second passes without any.
QByteArray exchange(int fd, const QByteArray& request, int expected)
{
    if (::write(fd, request.constData(), size_t(request.size())) != request.size()) return {};
    QByteArray answer;
    char buffer[64];
    while (answer.size() < expected) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0) break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        answer.append(buffer, n);
    }
    return answer;
}

/// Sends a logical request stuffed and reads until `expected` logical bytes are back.
QByteArray exchangeLogical(int fd, const QByteArray& logical, int expected)
{
    const QByteArray line = r73::wire::stuff(logical);
    if (::write(fd, line.constData(), size_t(line.size())) != line.size()) return {};
    QByteArray raw;
    char buffer[64];
    while (r73::wire::unstuff(raw).size() < expected || raw.endsWith(char(r73::wire::EscapeByte))) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0) break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        raw.append(buffer, n);
    }
    return r73::wire::unstuff(raw);
}

/// Ends the simulator; true when it saw nothing against the protocol (else it prints why).
bool stoppedClean(QProcess& sim)
{
    sim.terminate();
    if (!sim.waitForFinished(5000)) return false;
    const QByteArray errors = sim.readAllStandardError();
    if (sim.exitCode() != 0) qWarning().noquote() << errors;
    return sim.exitStatus() == QProcess::NormalExit && sim.exitCode() == 0;
}

/// Looks up the getter, calls it and fetches its value with PUT; -1 when anything goes wrong.
int readValue(int fd, const QByteArray& getter)
{
    const QByteArray ok = QByteArray::fromHex("0100");
    auto idOf = [fd, &ok](const QByteArray& name) -> QByteArray {
        QByteArray request = QByteArray::fromHex("011b13");
        r73::wire::appendString(request, name);
        const QByteArray answer = exchangeLogical(fd, request, 4);
        return answer.endsWith(ok) ? answer.left(2) : QByteArray();
    };
    const QByteArray getterId = idOf(getter), putId = idOf("PUT");
    if (getterId.isEmpty() || putId.isEmpty()) return -1;
    if (exchangeLogical(fd, "\x01" + getterId, 2) != ok) return -1;
    const QByteArray value = exchangeLogical(fd, "\x01" + putId, 4);
    return value.size() == 4 && value.endsWith(ok) ? (quint8(value[0]) << 8) | quint8(value[1])
                                                   : -1;
}

} // namespace

class SimPtyTest : public QObject
{
    Q_OBJECT

private slots:
    void serveThroughLinkUntilTerminated();
    void pacedExchangeTakesItsLineTime();
    void closeAfterEndsTheProgram();
    void frozenWordsFromTheCommandLine();
    void hostBreakingTheProtocolFailsTheRun_data();
    void hostBreakingTheProtocolFailsTheRun();
    void malformedWordIsRefused_data();
    void malformedWordIsRefused();
};

void SimPtyTest::serveThroughLinkUntilTerminated()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("r73-link");
    QVERIFY(QFile::link("/nonexistent/old-pty", link)); // stale, from a run that crashed

    QProcess sim;
    const QString device = startSim(sim, {"--link", link});
    QVERIFY2(device.startsWith("/dev/"), qPrintable(device + sim.readAllStandardError()));
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    const int fd = openRaw(link);
    QVERIFY(fd >= 0);
    QCOMPARE(exchange(fd, Handshake, HandshakeAnswer.size()).toHex(), HandshakeAnswer.toHex());
    QCOMPARE(exchange(fd, LookupLang, LookupLangAnswer.size()).toHex(), LookupLangAnswer.toHex());
    ::close(fd);

    ::kill(pid_t(sim.processId()), SIGTERM);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
}

void SimPtyTest::pacedExchangeTakesItsLineTime()
{
    QTemporaryDir dir;
    QProcess sim;
    const QString device = startSim(sim, {"--baud", "2400"});
    QVERIFY(device.startsWith("/dev/"));
    const int fd = openRaw(device);
    QVERIFY(fd >= 0);
    QCOMPARE(exchange(fd, Handshake, HandshakeAnswer.size()).toHex(), HandshakeAnswer.toHex());

    // 11 bytes out, 6 back, 10 bits each at 2400 baud.
    const qint64 lineNs =
        qint64(LookupLang.size() + LookupLangAnswer.size()) * 10 * 1000000000 / 2400;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(exchange(fd, LookupLang, LookupLangAnswer.size()).toHex(), LookupLangAnswer.toHex());
    const qint64 elapsed = timer.nsecsElapsed();
    ::close(fd);
    QVERIFY2(elapsed >= lineNs - 1000000, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < lineNs * 3, qPrintable(QString::number(elapsed)));
    QVERIFY(stoppedClean(sim));
}

void SimPtyTest::closeAfterEndsTheProgram()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("r73-link");
    QProcess sim;
    QVERIFY(!startSim(sim, {"--link", link, "--fault", "close-after=1"}).isEmpty());
    const int fd = openRaw(link);
    QVERIFY(fd >= 0);
    // The last answer still reaches the host before the line goes.
    QCOMPARE(exchange(fd, Handshake, HandshakeAnswer.size()).toHex(), HandshakeAnswer.toHex());
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
    ::close(fd);
}

void SimPtyTest::frozenWordsFromTheCommandLine()
{
    QProcess sim;
    const QString device = startSim(sim, {"--inputs", "0x0081", "--outputs", "1b13"});
    QVERIFY2(device.startsWith("/dev/"), qPrintable(sim.readAllStandardError()));
    const int fd = openRaw(device);
    QVERIFY(fd >= 0);
    QCOMPARE(exchange(fd, Handshake, HandshakeAnswer.size()).toHex(), HandshakeAnswer.toHex());
    for (int i = 0; i < 100; ++i) { // several hundred exchanges: the machine runs on meanwhile
        QCOMPARE(readValue(fd, "R_INPORT"), 0x0081);
        QCOMPARE(readValue(fd, "R_OPORT"), 0x1B13);
    }
    ::close(fd);
    QVERIFY(stoppedClean(sim));
}

void SimPtyTest::hostBreakingTheProtocolFailsTheRun_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("violation");
    // GET (0x1100) of a word whose low byte went out unescaped.
    QTest::newRow("unescaped 0x11")
        << Handshake + QByteArray::fromHex("011b31000011") << "unescaped 0x11";
    QTest::newRow("no handshake") << LookupLang << "name lookup before the handshake";
    QTest::newRow("unbalanced PUT")
        << Handshake + QByteArray::fromHex("011b3101") << "PUT with nothing queued";
    QTest::newRow("half-sent") << Handshake + QByteArray::fromHex("011b31")
                               << "message stopped half-sent";
}

void SimPtyTest::hostBreakingTheProtocolFailsTheRun()
{
    QFETCH(QByteArray, request);
    QFETCH(QString, violation);
    QProcess sim;
    const QString device = startSim(sim, {"--quiet", "100"});
    QVERIFY(device.startsWith("/dev/"));
    const int fd = openRaw(device);
    QVERIFY(fd >= 0);
    exchange(fd, request, 100); // whatever comes back within a quiet second
    ::close(fd);
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 3);
    const QString errors = QString::fromLocal8Bit(sim.readAllStandardError());
    QVERIFY2(errors.contains("r73-sim: protocol violation: " + violation), qPrintable(errors));
}

void SimPtyTest::malformedWordIsRefused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("too big") << QStringList{"--inputs", "10000"};
    QTest::newRow("not hex") << QStringList{"--outputs", "0xZZ"};
    QTest::newRow("empty") << QStringList{"--outputs", ""};
}

void SimPtyTest::malformedWordIsRefused()
{
    QFETCH(QStringList, args);
    QProcess sim;
    sim.start(qEnvironmentVariable("R73_SIM"), args);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty()); // no device line for a script to trust
    QVERIFY(sim.readAllStandardError().contains(args[0].toUtf8() + " needs a hex word"));
}

QTEST_GUILESS_MAIN(SimPtyTest)
#include "tst_sim_pty.moc"
