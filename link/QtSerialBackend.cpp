#include "QtSerialBackend.h"

#include "NorloIni.h"

namespace r73 {

QtSerialBackend::QtSerialBackend(DeviceResolver resolver)
    : m_resolver(resolver ? std::move(resolver) : DeviceResolver(deviceNameForPort))
{}

QtSerialBackend::~QtSerialBackend() = default;

QtSerialBackend::Slot* QtSerialBackend::slot(quint8 port)
{
    return port < m_slots.size() ? &m_slots[port] : nullptr;
}

QString QtSerialBackend::describe(QSerialPort::SerialPortError error, const QString& device,
                                  const QString& systemText)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("serial port %1 does not exist").arg(device);
    case QSerialPort::PermissionError:
        // Qt reports both a lock held by another program and missing rights this way.
        if (systemText.contains(QLatin1String("lock"), Qt::CaseInsensitive))
            return QStringLiteral("serial port %1 is busy: another program is using it")
                .arg(device);
        return QStringLiteral("no permission to open serial port %1 (is the user in the group "
                              "'dialout'?)")
            .arg(device);
    case QSerialPort::OpenError:
        return QStringLiteral("serial port %1 is already open").arg(device);
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return QStringLiteral("serial port %1 stopped working (cable or adapter removed?)")
            .arg(device);
    default:
        return QStringLiteral("serial port %1 cannot be used: %2").arg(device, systemText);
    }
}

void QtSerialBackend::init(quint8 port)
{
    Slot* s = slot(port);
    if (!s) return;
    const QString device = m_resolver(port + 1);
    // The port stays open for the life of the program; opening it again is a no-op.
    if (s->port && s->port->isOpen() && s->device == device && !s->failed) {
        s->result = 0;
        return;
    }
    s->port = std::make_unique<QSerialPort>();
    s->device = device;
    s->failed = false;
    s->port->setPortName(device);
    if (s->port->open(QIODevice::ReadWrite)) {
        // Bytes left on the line by an earlier program are no answer to anything of ours.
        s->port->clear(QSerialPort::Input);
        s->port->clearError();
        s->result = 0;
        s->error.clear();
    } else {
        s->result = 1;
        s->error = describe(s->port->error(), device, s->port->errorString());
        s->port.reset();
    }
}

quint16 QtSerialBackend::result(quint8 port)
{
    Slot* s = slot(port);
    return s ? s->result : 1;
}

void QtSerialBackend::setState(quint8 port, quint32 baud, quint8 dataBits, quint8 /*mode*/,
                               char parity, quint8 stopBits)
{
    Slot* s = slot(port);
    if (!s || !s->port) return;
    QSerialPort& p = *s->port;
    p.setBaudRate(qint32(baud));
    p.setDataBits(QSerialPort::DataBits(dataBits));
    p.setParity(parity == 'E'   ? QSerialPort::EvenParity
                : parity == 'O' ? QSerialPort::OddParity
                                : QSerialPort::NoParity);
    p.setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    p.setFlowControl(QSerialPort::NoFlowControl);
    // Pseudo-terminals refuse some settings with UnsupportedOperationError; the line works anyway.
    p.clearError();
}

void QtSerialBackend::markFailed(Slot& s)
{
    s.failed = true;
    s.result = 1;
    s.error = describe(s.port ? s.port->error() : QSerialPort::ResourceError, s.device,
                       s.port ? s.port->errorString() : QString());
}

bool QtSerialBackend::isBroken(QSerialPort::SerialPortError e) const
{
    return e == QSerialPort::ReadError || e == QSerialPort::WriteError ||
           e == QSerialPort::ResourceError || e == QSerialPort::NotOpenError;
}

bool QtSerialBackend::write(quint8 port, quint8 byte)
{
    Slot* s = slot(port);
    if (!s || !s->port || s->failed) {
        if (s) s->result = 1;
        return false;
    }
    const char c = char(byte);
    if (s->port->write(&c, 1) == 1) {
        s->result = 0;
        return true;
    }
    markFailed(*s);
    return false;
}

void QtSerialBackend::read(quint8 port, quint8& byte)
{
    Slot* s = slot(port);
    char c = 0;
    if (s && s->port && s->port->getChar(&c))
        byte = quint8(c);
    else
        byte = 0;
}

bool QtSerialBackend::receiveEmpty(quint8 port)
{
    Slot* s = slot(port);
    if (!s || !s->port || s->failed) return true;
    QSerialPort& p = *s->port;
    if (p.bytesAvailable() > 0) return false;
    // bytesAvailable() does not look at the device by itself; a zero wait refreshes it.
    p.waitForReadyRead(0);
    if (isBroken(p.error())) {
        markFailed(*s);
        return true;
    }
    p.clearError();
    return p.bytesAvailable() == 0;
}

WaitResult QtSerialBackend::waitForData(quint8 port, int msecs)
{
    Slot* s = slot(port);
    if (!s || !s->port || s->failed) return WaitResult::LineFailed;
    QSerialPort& p = *s->port;
    // The answer cannot come before the question has left.
    if (p.bytesToWrite() > 0) p.flush();
    if (p.bytesAvailable() > 0) return WaitResult::DataWaiting;
    if (p.waitForReadyRead(msecs)) return WaitResult::DataWaiting;
    if (isBroken(p.error())) {
        markFailed(*s);
        return WaitResult::LineFailed;
    }
    p.clearError();
    return p.bytesAvailable() > 0 ? WaitResult::DataWaiting : WaitResult::TimedOut;
}

void QtSerialBackend::close(quint8 port)
{
    if (Slot* s = slot(port)) *s = Slot{}; // the port's destructor closes it and its lock
}

QString QtSerialBackend::errorText(quint8 port)
{
    Slot* s = slot(port);
    return s ? s->error : QStringLiteral("no serial port has the index %1").arg(port);
}

} // namespace r73
