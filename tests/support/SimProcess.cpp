#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTest>
#include <csignal>

namespace r73::test {

SimProcess::SimProcess(const QStringList& args)
{
    m_process.setProgram(qEnvironmentVariable("R73_SIM"));
    // A message left unfinished for a second is abandoned: the tests' hosts time out sooner.
    m_process.setArguments(args +
                           QStringList{"--link", link(), "--log", logFile(), "--quiet", "1000"});
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        m_errors = m_process.errorString();
        return;
    }
    // The device path is the first line; the link exists before it is printed.
    QDeadlineTimer deadline(5000);
    while (!m_process.canReadLine() && !deadline.hasExpired())
        m_process.waitForReadyRead(int(deadline.remainingTime()));
    if (m_process.canReadLine()) m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (m_device.isEmpty() || !QFileInfo::exists(link())) {
        m_errors = QString::fromLocal8Bit(m_process.readAllStandardError());
        m_device.clear();
    }
}

SimProcess::~SimProcess()
{
    stop();
    const QStringList seen = takeViolations();
    if (!seen.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("the host broke the protocol:\n  ") +
                                seen.join(QStringLiteral("\n  "))),
                     __FILE__, __LINE__);
}

QStringList SimProcess::takeViolations()
{
    m_stderr += m_process.readAllStandardError();
    QStringList out;
    const QByteArray mark = "r73-sim: protocol violation: ";
    const qsizetype end = m_stderr.lastIndexOf('\n') + 1; // whole lines only
    for (const QByteArray& line : m_stderr.left(end).split('\n'))
        if (line.startsWith(mark)) out << QString::fromLocal8Bit(line.mid(mark.size()));
    m_stderr.remove(0, end);
    return out;
}

bool SimProcess::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
            return false;
        }
    }
    // Exit status 3: the host broke the protocol; the violations say how.
    const int code = m_process.exitCode();
    return m_process.exitStatus() == QProcess::NormalExit && (code == 0 || code == 3);
}

} // namespace r73::test
