#pragma once
/// Comma-separated values for spreadsheets and scripts: a header line with names and units,
/// fields quoted where they must be, CR LF line ends, UTF-8.

#include <QList>
#include <QString>
#include <QStringList>

namespace r73::archive {

/// The whole text: header, then one line per row.
QString toCsv(const QStringList& header, const QList<QStringList>& rows);

} // namespace r73::archive
