#pragma once
/// Serial port access: the six port operations the link relies on, addressed by port index
/// (0..3 for COM1..COM4), plus three of our own: a blocking wait for received bytes, the reason
/// of the last failure in words, and closing a port that is no longer chosen. The operations
/// delegate to an exchangeable backend: QSerialPort by default, a scripted port or the in-process
/// simulator in tests.

#include <QString>
#include <QtGlobal>
#include <memory>

namespace r73 {

enum class WaitResult {
    DataWaiting, ///< at least one received byte can be read
    TimedOut,    ///< nothing arrived within the time given
    LineFailed,  ///< the port is gone or the other end closed: nothing will arrive
};

/// One serial port implementation. Indices outside 0..3 are never opened.
class SerialBackend
{
public:
    virtual ~SerialBackend() = default;
    virtual void init(quint8 port) = 0;
    virtual quint16 result(quint8 port) = 0;
    virtual void setState(quint8 port, quint32 baud, quint8 dataBits, quint8 mode, char parity,
                          quint8 stopBits) = 0;
    /// True if the byte was accepted for sending.
    virtual bool write(quint8 port, quint8 byte) = 0;
    virtual void read(quint8 port, quint8& byte) = 0;
    /// Non-blocking: true while nothing has been received.
    virtual bool receiveEmpty(quint8 port) = 0;
    /// Sends what is pending, then blocks until a byte is waiting or msecs have passed.
    virtual WaitResult waitForData(quint8 port, int msecs) = 0;
    /// Why the last open or transfer failed, in a technician's words; empty after success.
    virtual QString errorText(quint8 port) = 0;
    /// Lets go of the port, for other programs; a later init opens it again.
    virtual void close(quint8 /*port*/) {}
};

/// Installs a backend for the whole program and returns the previous one.
std::unique_ptr<SerialBackend> setSerialBackend(std::unique_ptr<SerialBackend> backend);
SerialBackend& serialBackend();

/// The six port operations. Results follow the port library: ComResult 0 = success; ComWrite
/// nonzero = accepted; ComBufEmpty nonzero = nothing received.
void ComInit(quint8 port);
quint16 ComResult(quint8 port);
void ComSetState(quint8 port, quint32 baud, quint8 dataBits, quint8 mode, char parity,
                 quint8 stopBits);
quint16 ComWrite(quint8 port, quint8 byte);
quint16 ComRead(quint8 port, quint8* byte);
quint16 ComBufEmpty(quint8 port, quint8 buffer);

WaitResult ComWaitForData(quint8 port, int msecs);
QString ComErrorText(quint8 port);
/// Closes the port, so the choice of another one leaves this one to other programs.
void ComClose(quint8 port);

} // namespace r73
