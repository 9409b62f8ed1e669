#include "SuperCom.h"

#include "QtSerialBackend.h"

namespace r73 {

namespace {
std::unique_ptr<SerialBackend>& backendSlot()
{
    static std::unique_ptr<SerialBackend> backend;
    return backend;
}
} // namespace

std::unique_ptr<SerialBackend> setSerialBackend(std::unique_ptr<SerialBackend> backend)
{
    std::unique_ptr<SerialBackend> old = std::move(backendSlot());
    backendSlot() = std::move(backend);
    return old;
}

SerialBackend& serialBackend()
{
    auto& slot = backendSlot();
    if (!slot) slot = std::make_unique<QtSerialBackend>();
    return *slot;
}

void ComInit(quint8 port)
{
    serialBackend().init(port);
}

quint16 ComResult(quint8 port)
{
    return serialBackend().result(port);
}

void ComSetState(quint8 port, quint32 baud, quint8 dataBits, quint8 mode, char parity,
                 quint8 stopBits)
{
    serialBackend().setState(port, baud, dataBits, mode, parity, stopBits);
}

quint16 ComWrite(quint8 port, quint8 byte)
{
    return serialBackend().write(port, byte) ? 1 : 0;
}

quint16 ComRead(quint8 port, quint8* byte)
{
    quint8 b = 0;
    serialBackend().read(port, b);
    if (byte) *byte = b;
    return 0;
}

quint16 ComBufEmpty(quint8 port, quint8 buffer)
{
    // Only the receive buffer (selector 0) is ever asked about.
    if (buffer != 0) return 1;
    return serialBackend().receiveEmpty(port) ? 1 : 0;
}

WaitResult ComWaitForData(quint8 port, int msecs)
{
    return serialBackend().waitForData(port, msecs);
}

QString ComErrorText(quint8 port)
{
    return serialBackend().errorText(port);
}

void ComClose(quint8 port)
{
    serialBackend().close(port);
}

} // namespace r73
