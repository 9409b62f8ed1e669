#pragma once
/// Serves a SimEngine on a pseudo terminal, so the real program can open the simulator like a
/// serial port. Optionally paces both directions to a baud rate, so timings look like the line.

#include <QString>
#include <QtGlobal>

namespace r73::sim {

class SimEngine;

struct PtyOptions
{
    quint32 baud = 0; ///< 0: no pacing
    QString linkPath; ///< symlink to the slave device; empty: none
    /// A message the host leaves unfinished for this long counts as abandoned (the host's own
    /// byte time-out); 0: never.
    quint32 quietMs = 5000;
};

class SimPty
{
public:
    SimPty(SimEngine& engine, const PtyOptions& options);
    ~SimPty();
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;

    /// Opens the pty, sets the slave raw and creates the link. False and the reason on failure.
    bool open(QString* error);
    QString slavePath() const { return m_slavePath; }

    /// Serves until SIGINT/SIGTERM or until the engine closes the line; returns the exit code.
    /// The caller must have blocked SIGINT and SIGTERM (see blockStopSignals()).
    int run();

    /// Blocks SIGINT and SIGTERM so run() can receive them synchronously.
    static void blockStopSignals();

private:
    /// Feeds the engine and sends its answer; false once the line is closed.
    bool serveBytes(const char* data, qsizetype size, qint64 notBefore);
    void transmit(const QByteArray& bytes, qint64 notBefore);
    void drainBeforeClose();
    void writeAll(const char* data, qsizetype size);
    void closeAll();
    /// Prints the violations recorded since the last call to standard error.
    void reportViolations();

    SimEngine& m_engine;
    PtyOptions m_options;
    int m_master = -1;
    int m_slave = -1;
    int m_signals = -1;
    QString m_slavePath;
    bool m_linkCreated = false;
    qint64 m_txClock = 0; // when the last byte sent leaves the modelled wire
    qsizetype m_reported = 0;
};

} // namespace r73::sim
