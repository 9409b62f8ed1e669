#include "SimSerialPort.h"

#include <QThread>

namespace r73::sim {

bool SimSerialPort::write(quint8, quint8 byte)
{
    if (m_engine.lineClosed()) {
        m_result = 1;
        return false;
    }
    ++bytesWritten;
    m_pending.append(m_engine.feed(QByteArray(1, char(byte))));
    if (afterWrite) afterWrite();
    return true;
}

void SimSerialPort::read(quint8, quint8& byte)
{
    byte = quint8(m_pending.at(0));
    m_pending.remove(0, 1);
    ++bytesRead;
}

WaitResult SimSerialPort::waitForData(quint8, int msecs)
{
    if (!m_pending.isEmpty()) return WaitResult::DataWaiting;
    if (m_engine.lineClosed()) return WaitResult::LineFailed;
    // Everything the engine will ever say is already here: wait out the time as a quiet line.
    QThread::msleep(ulong(msecs));
    // The host waited for an answer and sent nothing: a message it left half-sent stays so.
    if (msecs > 0) m_engine.lineQuiet();
    return WaitResult::TimedOut;
}

} // namespace r73::sim
