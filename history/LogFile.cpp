#include "LogFile.h"

#include "Cp1252.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>

namespace r73 {

namespace {

QString& dateFormatOverride()
{
    static QString format; // empty: the user's regional format
    return format;
}

/// The line in code page 1252, each character it lacks written as "?" (as the platform's own
/// conversion does) and counted. A regional date or time format may hold such characters.
QByteArray encodeReplacing(const QString& line, int& replaced)
{
    QByteArray bytes;
    if (toCp1252(line, bytes)) return bytes;
    bytes.clear();
    for (const char32_t c : line.toUcs4()) {
        QByteArray one;
        if (toCp1252(QString::fromUcs4(&c, 1), one)) {
            bytes += one;
        } else {
            bytes += '?';
            ++replaced;
        }
    }
    return bytes;
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
    // Qt's long format holds the time zone; the platform's long time format has none. Where the
    // zone stood in brackets (Spanish "H:mm:ss (t)"), the brackets go with it.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    static const QRegularExpression emptyBrackets(QStringLiteral("\\s*(\\(\\s*\\)|\\[\\s*\\])"));
    return QLocale().timeFormat(QLocale::LongFormat).remove(zone).remove(emptyBrackets).trimmed();
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

bool writeLogFile(const QString& path, const QStringList& lines, QString* error, int* replaced)
{
    QByteArray bytes;
    int substitutes = 0;
    for (const QString& line : lines)
        bytes += encodeReplacing(line, substitutes) + "\r\n";
    if (replaced) *replaced = substitutes;
    // QSaveFile writes beside the target and renames at the end, so a failure part way leaves
    // an existing logbook as it was. The explicit flush matters: on a full disk commit() alone
    // was seen to succeed with a short file.
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString(); // a missing or write-protected folder
    } else {
        // A failed flush reads "Unknown error" in Qt; the system's own reason (a full disk)
        // is in errno.
        errno = 0;
        if (file.write(bytes) == bytes.size() && file.flush() && file.commit()) return true;
        const int cause = errno;
        reason = cause ? qt_error_string(cause) : file.errorString();
    }
    if (error) *error = reason;
    return false;
}

} // namespace r73
