#pragma once
/// The serial ports as they are: whether a device exists, can be opened by this user and is free,
/// which other serial ports the system lists, and whether an R73 answers on one. Shared by the
/// port dialog and r73ctl; no windows.

#include <QList>
#include <QString>
#include <functional>

namespace r73 {

enum class PortState {
    Free,         ///< present, and this user can open it
    OwnPort,      ///< held open by this program's link
    Busy,         ///< another program holds it
    Missing,      ///< no such device
    NoPermission, ///< present, but this user may not read and write it
    Unusable,     ///< present, but it will not open as a serial port
};

struct PortStatus
{
    QString device;
    PortState state = PortState::Missing;
    QString holder;     ///< the program that holds a busy port, when the system tells
    QString systemText; ///< the system's words for an unusable port
};

/// Looks at the device without sending anything; a free port is opened and closed again.
PortStatus checkPort(const QString& device);

/// A serial port the system lists (USB adapters and the like).
struct SystemPort
{
    QString device;     ///< /dev/ttyUSB0
    QString stableName; ///< its /dev/serial/by-id/ name, which survives re-plugging; may be empty
    QString description;
    QString manufacturer;
    QString serialNumber;

    /// The name to store: the stable one where there is one.
    QString preferredName() const { return stableName.isEmpty() ? device : stableName; }
    /// Description, maker and serial number, as far as known.
    QString about() const;
};

/// The ports the system lists now.
QList<SystemPort> systemPorts();
/// Where systemPorts() looks: the system by default; a test that has no USB adapter to plug in
/// names devices of its own. Returns the previous source; an empty one restores the system.
using PortLister = std::function<QList<SystemPort>()>;
PortLister setPortLister(PortLister lister);

/// The same device under another name (a symlink, the by-id name)?
bool sameDevice(const QString& a, const QString& b);

/// Opens the port at 2400 8N1, sends the opening handshake and nothing else, and waits at most
/// timeoutMs for the controller's answer. True when a controller opened a session.
bool probeForController(const QString& device, int timeoutMs = 500);

/// The state in the window's language, e.g. "belegt von r73-sim (4711)".
QString stateText(const PortStatus& status);
/// "COM1 (/dev/ttyS0): nicht vorhanden" — why a configured port is not available.
QString portProblemText(int number, const PortStatus& status);
/// Why port number n is not available, with its device looked at now.
QString portProblemText(int number);

} // namespace r73
