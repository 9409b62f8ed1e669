#include "ScriptedPort.h"

#include <QThread>

namespace r73::test {

void ScriptedPort::init(quint8)
{
    ++initCalls;
    m_result = openFails ? 1 : 0;
}

void ScriptedPort::setState(quint8, quint32 b, quint8, quint8, char, quint8)
{
    ++setStateCalls;
    baud = b;
}

bool ScriptedPort::write(quint8, quint8 byte)
{
    if (broken) {
        m_result = 1;
        return false;
    }
    if (refuseNextWrites > 0) {
        --refuseNextWrites;
        return false;
    }
    written.append(char(byte));
    m_wroteSinceRelease = true;
    return true;
}

void ScriptedPort::release()
{
    if (m_wroteSinceRelease && !answers.isEmpty()) {
        received.append(answers.takeFirst());
        m_wroteSinceRelease = false;
    }
}

void ScriptedPort::read(quint8, quint8& byte)
{
    byte = received.isEmpty() ? 0 : quint8(received.front());
    if (!received.isEmpty()) received.remove(0, 1);
}

bool ScriptedPort::receiveEmpty(quint8)
{
    if (onWait) onWait();
    release();
    return received.isEmpty();
}

WaitResult ScriptedPort::waitForData(quint8, int msecs)
{
    ++waits;
    if (onWait) onWait();
    release();
    if (!received.isEmpty()) return WaitResult::DataWaiting;
    // Nothing more is scripted: block as a silent line would.
    QThread::msleep(ulong(msecs));
    return WaitResult::TimedOut;
}

} // namespace r73::test
