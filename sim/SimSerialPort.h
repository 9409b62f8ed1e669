#pragma once
/// A serial backend wired straight to an in-process simulated controller: what the host writes
/// goes into the engine, what the engine answers is there to read. No pacing, no threads, no
/// port: the window works on it offline, tests drive the pages over it.

#include "SimEngine.h"
#include "SuperCom.h"

#include <functional>

namespace r73::sim {

class SimSerialPort : public SerialBackend
{
public:
    explicit SimSerialPort(SimEngine& engine) : m_engine(engine) {}

    void init(quint8) override
    {
        ++initCalls;
        m_result = openFails ? 1 : 0;
    }
    quint16 result(quint8) override { return m_result; }
    void setState(quint8, quint32, quint8, quint8, char, quint8) override {}
    bool write(quint8, quint8 byte) override;
    void read(quint8, quint8& byte) override;
    bool receiveEmpty(quint8) override { return m_pending.isEmpty(); }
    WaitResult waitForData(quint8, int msecs) override;
    QString errorText(quint8) override { return {}; }

    std::function<void()> afterWrite; ///< runs after each byte the host writes
    bool openFails = false;           ///< the port will not open, as a missing or busy one
    int initCalls = 0;
    qint64 bytesWritten = 0;
    qint64 bytesRead = 0;

private:
    SimEngine& m_engine;
    QByteArray m_pending;
    quint16 m_result = 0;
};

} // namespace r73::sim
