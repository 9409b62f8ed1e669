#pragma once
/// The trend's CSV file: a header with names and units, then one row per poll step with an
/// ISO 8601 time stamp (milliseconds and offset from UTC). By default a point is the decimal
/// separator and a comma separates the cells, so spreadsheets and pandas read it as is; with
/// the locale's decimal separator a comma one uses semicolons between the cells. A cell left
/// empty was not read in that step.

#include "TrendRow.h"

#include <QChar>
#include <QStringList>
#include <vector>

namespace r73 {

struct CsvFormat
{
    QChar separator = u',';
    QChar decimal = u'.';
    /// The locale's decimal separator, with semicolons when that is a comma.
    static CsvFormat localeDecimal();
};

/// Cells before the channels': time, sensor, words, texts.
inline constexpr int TrendFixedColumns = 9;
/// Cells of one channel: raw, value, flags, four limits.
inline constexpr int TrendChannelColumns = 7;

/// The header line, ending in a line feed.
QString csvHeader(const ChannelInfos& channels, const CsvFormat& format);
/// One row as a line, ending in a line feed.
QString csvLine(const TrendRow& row, const CsvFormat& format);

/// A file read back.
struct TrendFile
{
    ChannelInfos channels;
    std::vector<TrendRow> rows;
    /// Lines that could not be read ("line 7: ..."), the rest of the file is kept.
    QStringList problems;
    /// Set when nothing could be read at all (no such file, not a trend file).
    QString error;
};

TrendFile readTrendFile(const QString& path);
/// Parses a whole file's text (as readTrendFile after reading it).
TrendFile parseTrendCsv(const QString& text);

} // namespace r73
