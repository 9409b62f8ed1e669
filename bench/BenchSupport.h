#pragma once
/// Shared by the benchmarks: the paced simulator on a pseudo-terminal, a serial port that counts
/// the bytes crossing the line, and process CPU time.

#include "QtSerialBackend.h"
#include "WireCodec.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
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

} // namespace r73::bench
