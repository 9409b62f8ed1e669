#include "PortCheck.h"

#include "NorloIni.h"
#include "TextHook.h"
#include "WireCodec.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace r73 {

namespace {

/// The lock file the serial library keeps beside an open port, named after the device as it was
/// opened: "/dev/" dropped, further slashes turned into '_'.
QString lockFilePath(const QString& device)
{
    static const QStringList dirs = {
        QStringLiteral("/var/lock"),
        QStringLiteral("/etc/locks"),
        QStringLiteral("/var/spool/locks"),
        QStringLiteral("/var/spool/uucp"),
        QStringLiteral("/tmp"),
        QStringLiteral("/var/tmp"),
        QStringLiteral("/var/lock/lockdev"),
        QStringLiteral("/run/lock"),
        QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(u'/', u'_');
    for (const QString& dir : dirs) {
        const QFileInfo info(dir);
        const QString path = dir + QStringLiteral("/LCK..") + name;
        if (info.isReadable() && (QFile::exists(path) || info.isWritable())) return path;
    }
    return QString();
}

/// The live process that holds the device's lock: its id, and its name if it wrote one.
qint64 lockHolder(const QString& device, QString& name)
{
    QFile lock(lockFilePath(device));
    if (!lock.open(QIODevice::ReadOnly)) return 0;
    const qint64 pid = lock.readLine().trimmed().toLongLong();
    name = QString::fromLocal8Bit(lock.readLine().trimmed());
    if (pid <= 0 || (::kill(pid_t(pid), 0) == -1 && errno == ESRCH)) return 0;
    if (name.isEmpty()) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm.open(QIODevice::ReadOnly)) name = QString::fromLocal8Bit(comm.readAll().trimmed());
    }
    return pid;
}

bool findHolder(PortStatus& s)
{
    for (const QString& name : {s.device, QFileInfo(s.device).canonicalFilePath()}) {
        QString program;
        const qint64 pid = lockHolder(name, program);
        if (pid == 0) continue;
        if (pid == QCoreApplication::applicationPid()) {
            s.state = PortState::OwnPort;
        } else {
            s.state = PortState::Busy;
            s.holder = program.isEmpty() ? QStringLiteral("PID %1").arg(pid)
                                         : QStringLiteral("%1 (PID %2)").arg(program).arg(pid);
        }
        return true;
    }
    return false;
}

void setLine(QSerialPort& port)
{
    port.setBaudRate(qint32(wire::BaudRate));
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    port.clearError(); // a pseudo-terminal refuses some settings and works anyway
}

} // namespace

PortStatus checkPort(const QString& device)
{
    PortStatus s;
    s.device = device;
    if (device.isEmpty() || !QFileInfo::exists(device)) return s;
    if (findHolder(s)) return s;
    if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0) {
        s.state = PortState::NoPermission;
        return s;
    }
    QSerialPort port;
    port.setPortName(device);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        s.state = PortState::Free;
        return s;
    }
    s.systemText = port.errorString();
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        s.state = PortState::Missing;
        break;
    case QSerialPort::PermissionError:
        s.state = s.systemText.contains(QLatin1String("lock"), Qt::CaseInsensitive) ||
                          s.systemText.contains(QLatin1String("busy"), Qt::CaseInsensitive)
                      ? PortState::Busy
                      : PortState::NoPermission;
        break;
    default:
        s.state = PortState::Unusable;
    }
    return s;
}

QString SystemPort::about() const
{
    QStringList parts;
    if (!description.isEmpty()) parts << description;
    if (!manufacturer.isEmpty() && !description.contains(manufacturer)) parts << manufacturer;
    if (!serialNumber.isEmpty()) parts << tr73(0, QStringLiteral("Nr. %1")).arg(serialNumber);
    return parts.join(QStringLiteral(", "));
}

namespace {
PortLister& lister()
{
    static PortLister l;
    return l;
}
} // namespace

PortLister setPortLister(PortLister l)
{
    return std::exchange(lister(), std::move(l));
}

QList<SystemPort> systemPorts()
{
    if (lister()) return lister()();
    // The by-id names point at the devices; they stay the same when an adapter is plugged into
    // another socket or after others.
    QHash<QString, QString> stable;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files))
        stable.insert(link.canonicalFilePath(), link.absoluteFilePath());
    QList<SystemPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SystemPort p;
        p.device = info.systemLocation();
        p.stableName = stable.value(QFileInfo(p.device).canonicalFilePath());
        p.description = info.description();
        p.manufacturer = info.manufacturer();
        p.serialNumber = info.serialNumber();
        ports << p;
    }
    return ports;
}

bool sameDevice(const QString& a, const QString& b)
{
    if (a == b) return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

bool probeForController(const QString& device, int timeoutMs)
{
    QSerialPort port;
    port.setPortName(device);
    if (!port.open(QIODevice::ReadWrite)) return false;
    setLine(port);
    port.clear(QSerialPort::Input); // old bytes are no answer to this question
    QByteArray question;
    wire::stuffByte(question, wire::OpeningByte);
    wire::stuffByte(question, wire::SessionRequest);
    port.write(question);
    port.flush();
    // The answer: two bytes, then the session id as a word; 0 would be a refusal.
    QByteArray answer;
    wire::Unstuffer unstuffer;
    QDeadlineTimer deadline(timeoutMs);
    while (answer.size() < 4 && port.waitForReadyRead(int(deadline.remainingTime()))) {
        quint8 logical = 0;
        for (char c : port.readAll())
            if (unstuffer.push(quint8(c), logical)) answer.append(char(logical));
    }
    port.close();
    return answer.size() >= 4 && (answer.at(2) != 0 || answer.at(3) != 0);
}

QString stateText(const PortStatus& s)
{
    switch (s.state) {
    case PortState::Free:
        return tr73(0, QStringLiteral("frei"));
    case PortState::OwnPort:
        return tr73(0, QString::fromUtf8("von diesem Programm geöffnet"));
    case PortState::Busy:
        return s.holder.isEmpty() ? tr73(0, QStringLiteral("belegt"))
                                  : tr73(0, QStringLiteral("belegt von %1")).arg(s.holder);
    case PortState::Missing:
        return tr73(0, QStringLiteral("nicht vorhanden"));
    case PortState::NoPermission:
        return tr73(0, QStringLiteral("keine Berechtigung: den Benutzer in die Gruppe dialout "
                                      "aufnehmen, dann neu anmelden"));
    case PortState::Unusable:
        break;
    }
    return tr73(0, QStringLiteral("nicht nutzbar: %1")).arg(s.systemText);
}

QString portProblemText(int number, const PortStatus& s)
{
    return QStringLiteral("COM%1 (%2): %3").arg(number).arg(s.device, stateText(s));
}

QString portProblemText(int number)
{
    if (number < 1 || number > 4)
        return tr73(0, QStringLiteral("COM%1 gibt es nicht: nur COM1 bis COM4 sind möglich"))
            .arg(number);
    PortStatus s = checkPort(deviceNameForPort(number));
    // Free by now (or the open failed for a reason the device does not show): say what we know.
    if (s.state == PortState::Free || s.state == PortState::OwnPort) {
        s.state = PortState::Unusable;
        s.systemText = tr73(0, QStringLiteral("kann nicht geöffnet werden"));
    }
    return portProblemText(number, s);
}

} // namespace r73
