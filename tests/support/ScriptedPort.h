#pragma once
/// A serial backend for byte-exact link tests: records every byte written and hands out scripted
/// answer chunks, each one only after the host has written something since the last chunk (so
/// a flush before a request cannot swallow the answer to it).

#include "SuperCom.h"

#include <QByteArray>
#include <QList>
#include <functional>

namespace r73::test {

class ScriptedPort : public SerialBackend
{
public:
    QByteArray written;        ///< every raw byte the host wrote
    QByteArray received;       ///< bytes waiting to be read right now
    QList<QByteArray> answers; ///< chunks released one per request
    bool openFails = false;
    QString openError = QStringLiteral("serial port /dev/null0 does not exist");
    int refuseNextWrites = 0; ///< that many writes are "not taken", then accepted
    bool broken = false;      ///< writes fail with a nonzero result
    int initCalls = 0;
    int setStateCalls = 0;
    quint32 baud = 0;
    int waits = 0;
    std::function<void()> onWait; ///< runs while the host looks for an answer, as a timer might

    void init(quint8) override;
    quint16 result(quint8) override { return m_result; }
    void setState(quint8, quint32 b, quint8, quint8, char, quint8) override;
    bool write(quint8, quint8 byte) override;
    void read(quint8, quint8& byte) override;
    bool receiveEmpty(quint8) override;
    WaitResult waitForData(quint8, int msecs) override;
    QString errorText(quint8) override { return m_result ? openError : QString(); }

private:
    void release();
    quint16 m_result = 0;
    bool m_wroteSinceRelease = false;
};

} // namespace r73::test
