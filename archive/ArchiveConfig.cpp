#include "ArchiveConfig.h"

#include "NorloIni.h"
#include "ProfileFile.h"
#include "SafeFile.h"
#include "TextHook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace r73::archive {

namespace {

QString value(const char* key)
{
    return ProfileFile(configFilePath())
        .readString(QLatin1String(ArchiveSection), QLatin1String(key), {});
}

} // namespace

QString localIndexFile()
{
    return QDir::current().filePath(QStringLiteral("r73archive.sqlite"));
}

QString filesRoot()
{
    return QDir::current().filePath(QStringLiteral("Archive"));
}

bool configuredLocation(Location* where, QString* error)
{
    *where = Location{};
    where->sqliteFile = localIndexFile();
    const QString host = value("Server");
    if (host.isEmpty()) return true;
    where->host = host;
    where->port = ProfileFile(configFilePath())
                      .readInteger(QLatin1String(ArchiveSection), QStringLiteral("Port"), 5432);
    where->database = value("Datenbank");
    where->user = value("Benutzer");
    where->password = qEnvironmentVariable("R73_ARCHIVE_PASSWORD");
    const QString passwordFile = value("Passwortdatei");
    if (where->password.isEmpty() && !passwordFile.isEmpty()) {
        QFile f(passwordFile);
        // Readable by others, the password would not be the user's secret any more.
        const auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (f.exists() && (f.permissions() & others)) {
            *error = tr73own(QString::fromUtf8("Die Passwortdatei %1 darf nur für ihren "
                                               "Besitzer lesbar sein (chmod 600)."))
                         .arg(passwordFile);
            return false;
        }
        // A FIFO or device named there must not hold up the start.
        QByteArray bytes;
        if (!readRegularFile(passwordFile, &bytes, nullptr, 64 * 1024)) {
            *error = tr73own(QString::fromUtf8("Die Passwortdatei %1 kann nicht gelesen werden."))
                         .arg(passwordFile);
            return false;
        }
        where->password = QString::fromUtf8(bytes.split('\n').value(0)).trimmed();
    }
    return true;
}

QString technicianName()
{
    return ProfileFile(configFilePath())
        .readString(QLatin1String(ReportSection), QStringLiteral("Techniker"), {});
}

bool writeTechnicianName(const QString& name)
{
    return ProfileFile(configFilePath())
        .writeString(QLatin1String(ReportSection), QStringLiteral("Techniker"), name);
}

} // namespace r73::archive
