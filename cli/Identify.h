#pragma once
/// The "identify" command of r73ctl: connect as the program does, read BIOS version and serial
/// number.

#include <QString>
#include <QtGlobal>

namespace r73 {
class TTarget;
}

namespace r73::cli {

struct Identity
{
    quint16 biosVersion = 0; ///< version × 100
    quint16 serialNumber = 0;
};

/// Registers the connect group and opens the session on the link, as the program's connect
/// does before its reads. False with a one-line reason in error on any failure.
bool openSession(TTarget& link, QString& error, int timeoutSeconds);

/// Registers the connect group, opens the session and reads the identity over the port that is
/// configured now. False with a one-line reason in error on any failure.
bool identify(Identity& out, QString& error, int timeoutSeconds);

/// Opens the session and reads the identity over link, which stays open for the command's
/// further calls.
bool openSession(TTarget& link, Identity& out, QString& error, int timeoutSeconds);

/// The same over link, which stays open for the command's further calls.
bool openSession(TTarget& link, Identity& out, QString& error, int timeoutSeconds);

/// "3.10" for 310: two decimals and a point, whatever the locale.
QString formatVersion(quint16 v);

} // namespace r73::cli
