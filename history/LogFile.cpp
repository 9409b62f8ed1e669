#include "LogFile.h"

#include "Cp1252.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

namespace r73 {

namespace {

QString& dateFormatOverride()
{
    static QString format; // empty: the user's regional format
    return format;
}

} // namespace

QString shortDateFormat()
{
    const QString& format = dateFormatOverride();
    return format.isEmpty() ? QLocale().dateFormat(QLocale::ShortFormat) : format;
}

void resetShortDateFormat()
{
    dateFormatOverride().clear();
}

QString longTimeFormat()
{
    // Qt's long format ends in the time zone; the platform's long time format has none.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    return QLocale().timeFormat(QLocale::LongFormat).remove(zone).trimmed();
}

QString ProposeLogFileName(const QString& serial, const QDate& today)
{
    dateFormatOverride() = QStringLiteral("yyyy.MM.dd");
    const QString d = today.toString(dateFormatOverride()).remove(u'.');
    QString name = serial + u'_' + d + QStringLiteral(".log");
    QString folder;
    if (QFile::exists(name)) {
        folder.clear(); // the working folder
    } else if (QFile::exists(QStringLiteral("Log/") + name)) {
        folder = QStringLiteral("Log/");
    } else {
        return name;
    }
    for (int n = 0;; ++n) {
        name = serial + u'_' + d + u'_' + QString::number(n) + QStringLiteral(".log");
        if (!QFile::exists(folder + name)) return name;
    }
}

bool writeLogFile(const QString& path, const QStringList& lines, QString* error)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        QByteArray encoded;
        QString bad;
        if (!toCp1252(line, encoded, &bad)) {
            if (error)
                *error = QStringLiteral("no character for \"%1\" in code page 1252").arg(bad);
            return false;
        }
        bytes += encoded + "\r\n";
    }
    // QSaveFile writes beside the target and renames at the end, so a failure part way leaves
    // an existing logbook as it was. The explicit flush matters: on a full disk commit() alone
    // was seen to succeed with a short file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace r73
