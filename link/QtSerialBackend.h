#pragma once
/// The serial port over QSerialPort: port index 0..3 opens the device that the configuration
/// names for COM1..COM4.

#include "SuperCom.h"

#include <QSerialPort>
#include <array>
#include <functional>
#include <memory>

namespace r73 {

class QtSerialBackend : public SerialBackend
{
public:
    /// Names the device behind port number 1..4.
    using DeviceResolver = std::function<QString(int number)>;

    /// By default the configuration names the devices; a tool may pass its own resolver.
    explicit QtSerialBackend(DeviceResolver resolver = {});
    ~QtSerialBackend() override;

    void init(quint8 port) override;
    quint16 result(quint8 port) override;
    void setState(quint8 port, quint32 baud, quint8 dataBits, quint8 mode, char parity,
                  quint8 stopBits) override;
    bool write(quint8 port, quint8 byte) override;
    void read(quint8 port, quint8& byte) override;
    bool receiveEmpty(quint8 port) override;
    WaitResult waitForData(quint8 port, int msecs) override;
    QString errorText(quint8 port) override;
    void close(quint8 port) override;

    /// Turns a port error into words a technician understands.
    static QString describe(QSerialPort::SerialPortError error, const QString& device,
                            const QString& systemText);

private:
    struct Slot
    {
        std::unique_ptr<QSerialPort> port;
        QString device;
        quint16 result = 1; // nothing opened yet
        QString error;
        bool failed = false; // the line broke: every transfer fails from now on
    };
    Slot* slot(quint8 port);
    bool isBroken(QSerialPort::SerialPortError e) const;
    void markFailed(Slot& s);

    DeviceResolver m_resolver;
    std::array<Slot, 4> m_slots;
};

} // namespace r73
