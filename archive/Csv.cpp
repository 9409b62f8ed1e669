#include "Csv.h"

namespace r73::archive {

namespace {

QString field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r') && text.trimmed() == text)
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString line(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& f : fields)
        quoted << field(f);
    return quoted.join(u',') + QStringLiteral("\r\n");
}

} // namespace

QString toCsv(const QStringList& header, const QList<QStringList>& rows)
{
    QString text = line(header);
    for (const QStringList& row : rows)
        text += line(row);
    return text;
}

} // namespace r73::archive
