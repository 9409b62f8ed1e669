#include "LogFile.h"

#include "Cp1252.h"
#include "SafeFile.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

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
    // A failure part way leaves an existing logbook as it was.
    return writeFileAtomically(path, bytes, error);
}

} // namespace r73
