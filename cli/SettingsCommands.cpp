#include "SettingsCommands.h"

#include "BackupFile.h"

#include <QTextStream>

namespace r73::cli {

QCommandLineOption jsonOption()
{
    return {QStringLiteral("json"), QStringLiteral("params: print the settings as a backup file.")};
}

QCommandLineOption saveOption()
{
    return {QStringLiteral("save"),
            QStringLiteral("restore: after a clean verification, save the changed sets "
                           "permanently.")};
}

QCommandLineOption yesOption()
{
    return {QStringLiteral("yes"), QStringLiteral("restore: write (without it: compare only).")};
}

QCommandLineOption confirmIdentityOption()
{
    return {QStringLiteral("confirm-identity"),
            QStringLiteral("restore: allow a file of another controller by naming the connected "
                           "one, e.g. 5678:2.07 (serial number:BIOS version)."),
            QStringLiteral("serial:bios")};
}

bool readController(Session& session, backup::Snapshot& out)
{
    QString error;
    if (!session.open(error)) {
        fail(error);
        return false;
    }
    const Identity& id = session.identity();
    backup::LinkController controller(session, {id.biosVersion, id.serialNumber});
    out = controller.read();
    if (controller.failed()) {
        fail(session.failure());
        return false;
    }
    return true;
}

bool loadFile(const QString& path, backup::Snapshot& out)
{
    QString error;
    if (backup::loadBackup(path, out, &error)) return true;
    refuse(error);
    return false;
}

int refuse(const QString& line)
{
    QTextStream(stderr) << "r73ctl: refused: " << line << Qt::endl;
    return Refused;
}

void printLines(const QStringList& lines)
{
    QTextStream out(stdout);
    for (const QString& l : lines)
        out << l << '\n';
    out.flush();
}

} // namespace r73::cli
