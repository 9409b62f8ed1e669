#pragma once
/// Shared by the benchmarks: the paced simulator on a pseudo-terminal, a serial port that counts
/// the bytes crossing the line, and process CPU time.

#include "FunctionCatalog.h"
#include "NorloIni.h"
#include "Protocol.h"
#include "QtSerialBackend.h"
#include "Target.h"
#include "WireCodec.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace r73::bench {

/// Forwards to the real port and counts the bytes that cross the line.
class CountingPort : public QtSerialBackend
{
public:
    using QtSerialBackend::QtSerialBackend;
    bool write(quint8 port, quint8 byte) override
    {
        const bool ok = QtSerialBackend::write(port, byte);
        written += ok ? 1 : 0;
        return ok;
    }
    void read(quint8 port, quint8& byte) override
    {
        QtSerialBackend::read(port, byte);
        ++received;
    }
    qint64 total() const { return written + received; }
    qint64 written = 0;
    qint64 received = 0;
};

inline double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

/// Seconds the bytes need on the line at the controller's baud rate.
inline double wireSeconds(qint64 bytes)
{
    return double(bytes) * wire::BitsPerByteOnLine / wire::BaudRate;
}

/// The longest stretch in which the GUI thread served no events: a zero-interval timer ticks
/// at every turn of the event loop, so the largest gap between its ticks is the longest stall.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    /// Milliseconds of the longest stall since start(), the stretch up to now included.
    qint64 stop()
    {
        tick();
        m_timer.stop();
        return m_longest;
    }

private:
    void tick() { m_longest = qMax(m_longest, m_clock.restart()); }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

/// r73-sim paced at 2400 baud, reachable through link().
class PacedSimulator
{
public:
    explicit PacedSimulator(const QStringList& extraArgs = {})
    {
        m_process.start(QStringLiteral(R73_SIM_PATH),
                        QStringList{"--baud", "2400", "--link", link()} + extraArgs);
        QDeadlineTimer deadline(5000);
        while (!m_process.canReadLine() && !deadline.hasExpired())
            m_process.waitForReadyRead(100);
    }
    ~PacedSimulator()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    QString link() const { return m_dir.filePath("sim.tty"); }
    bool started() const { return QFileInfo::exists(link()); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

/// The link over the simulator's pseudo-terminal with its bytes counted, made before any
/// target opens the port. Null, after a line on standard error, when the simulator did not start.
inline CountingPort* countOnSimulator(const PacedSimulator& sim, const char* bench)
{
    const QString link = sim.link();
    if (!sim.started()) {
        std::fprintf(stderr, "%s: the simulator did not start\n", bench);
        return nullptr;
    }
    useConfigFile(false);
    auto port = std::make_unique<CountingPort>([link](int) { return link; });
    CountingPort* counter = port.get();
    setSerialBackend(std::move(port));
    return counter;
}

/// Registers the connect group on target and opens the session; false after a line on
/// standard error.
inline bool openSession(TTarget& target, const char* bench)
{
    for (const FunctionDef& f : connectGroup())
        services().make(&target, QString::fromLatin1(f.name));
    if (target.Initialize() == 0) return true;
    std::fprintf(stderr, "%s: no session with the simulator\n", bench);
    return false;
}

} // namespace r73::bench
