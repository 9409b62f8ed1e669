#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <csignal>

namespace r73::test {

SimProcess::SimProcess(const QStringList& args)
{
    m_process.setProgram(qEnvironmentVariable("R73_SIM"));
    m_process.setArguments(args + QStringList{"--link", link(), "--log", logFile()});
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        m_errors = m_process.errorString();
        return;
    }
    // The device path is the first line; the link exists before it is printed.
    QDeadlineTimer deadline(5000);
    while (!m_process.canReadLine() && !deadline.hasExpired())
        m_process.waitForReadyRead(int(deadline.remainingTime()));
    if (m_process.canReadLine())
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (m_device.isEmpty() || !QFileInfo::exists(link())) {
        m_errors = QString::fromLocal8Bit(m_process.readAllStandardError());
        m_device.clear();
    }
}

SimProcess::~SimProcess() { stop(); }

bool SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    ::kill(pid_t(m_process.processId()), SIGTERM);
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
        return false;
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

} // namespace r73::test
