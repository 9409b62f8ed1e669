#pragma once
/// The simulator binary on a pseudo-terminal, for tests that go through a real serial port:
/// started with a link in a temporary folder, stopped with SIGTERM. At its end the test fails if
/// the simulator saw the host break the protocol, unless the test said it provokes that.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace r73::test {

class SimProcess
{
public:
    /// Starts r73-sim (path from the environment variable R73_SIM) with args plus --link.
    explicit SimProcess(const QStringList& args = {});
    ~SimProcess();

    bool started() const { return !m_device.isEmpty(); }
    /// The symlink to the simulator's end of the line.
    QString link() const { return m_dir.filePath(QStringLiteral("sim.tty")); }
    QString device() const { return m_device; }
    QString logFile() const { return m_dir.filePath(QStringLiteral("sim.log")); }
    QString errors() const { return m_errors; }
    /// Sends SIGTERM and waits for the exit; true when it ended by itself with status 0.
    bool stop();
    /// The violations the simulator printed so far; a test that provokes them takes them, so
    /// only later ones fail it at the end.
    QStringList takeViolations();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
    QString m_errors;
    QByteArray m_stderr;
};

} // namespace r73::test
