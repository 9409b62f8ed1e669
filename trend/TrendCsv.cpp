#include "TrendCsv.h"

#include "SafeFile.h"
#include "TextHook.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

namespace r73 {

namespace {

const char* const FixedHeader[TrendFixedColumns] = {
    "time",  "sensor [0.05 mm/s]", "inputs", "outputs", "status", "selection",
    "state", "finished",           "result"};

QString quoted(const QString& cell, const CsvFormat& f)
{
    const bool plain = !cell.contains(f.separator) && !cell.contains(u'"') &&
                       !cell.contains(u'\n') && !cell.contains(u'\r') && cell.trimmed() == cell;
    if (plain) return cell;
    return u'"' + QString(cell).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString word(qint32 w)
{
    return w < 0 ? QString() : QString::number(w);
}

QString number(double v, const CsvFormat& f, int decimals)
{
    if (std::isnan(v)) return {};
    // To the channel's resolution; where that is not known, the shortest text that reads back
    // as the same number.
    QString text = decimals >= 0 ? QLocale::c().toString(v, 'f', decimals)
                                 : QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
    if (f.decimal != u'.') text.replace(u'.', f.decimal);
    return text;
}

QString timeStamp(qint64 msecs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(msecs);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

/// Splits the text into records of cells; a quoted cell may hold separators and line breaks.
/// ends[i] tells whether record i ended with a line break (the last one of a cut file does not).
std::vector<QStringList> splitRecords(const QString& text, QChar sep, std::vector<bool>& ends,
                                      std::vector<int>& lines)
{
    std::vector<QStringList> records;
    QStringList cells;
    QString cell;
    bool inQuotes = false;
    bool any = false;
    int line = 1;
    int startLine = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == u'\n') ++line;
                cell += c;
            }
            continue;
        }
        any = true;
        if (c == u'"') {
            inQuotes = true;
        } else if (c == sep) {
            cells << cell;
            cell.clear();
        } else if (c == u'\n') {
            cells << cell;
            records.push_back(cells);
            ends.push_back(true);
            lines.push_back(startLine);
            cells.clear();
            cell.clear();
            any = false;
            startLine = ++line;
        } else if (c != u'\r') {
            cell += c;
        }
    }
    if (any || inQuotes) {
        cells << cell;
        records.push_back(cells);
        ends.push_back(false);
        lines.push_back(startLine);
    }
    return records;
}

bool parseWord(const QString& cell, qint32& out)
{
    if (cell.isEmpty()) return (out = -1), true;
    bool ok = false;
    const uint v = cell.toUInt(&ok);
    out = qint32(v);
    return ok && v <= 0xFFFF;
}

/// The decimals a value's cell was written with, −1 for the shortest texts of older files.
int decimalsOf(const QString& cell, const CsvFormat& f)
{
    const qsizetype point = cell.indexOf(f.decimal);
    const qsizetype decimals = point < 0 ? 0 : cell.size() - point - 1;
    const bool shortest =
        cell.isEmpty() || decimals > 9 || cell.contains(u'e', Qt::CaseInsensitive);
    return shortest ? -1 : int(decimals);
}

bool parseNumber(const QString& cell, const CsvFormat& f, double& out)
{
    if (cell.isEmpty()) return (out = NAN), true;
    bool ok = false;
    out = QLocale::c().toDouble(f.decimal == u'.' ? cell : QString(cell).replace(f.decimal, u'.'),
                                &ok);
    return ok;
}

/// The texts of a file's cells as the window shows them, each looked up once.
class ShownTexts
{
public:
    QString operator()(const QString& cell)
    {
        auto it = m_known.constFind(cell);
        if (it == m_known.cend()) it = m_known.insert(cell, shownText(cell));
        return *it;
    }

private:
    QHash<QString, QString> m_known;
};

/// One record into a row; false with the reason when a cell does not read.
bool parseRow(const QStringList& cells, const CsvFormat& f, ShownTexts& shown, TrendRow& row,
              QString& why)
{
    const QDateTime t = QDateTime::fromString(cells.at(0), Qt::ISODateWithMs);
    if (!t.isValid()) {
        why = tr73own(QStringLiteral("Zeitstempel \"%1\" nicht lesbar")).arg(cells.at(0));
        return false;
    }
    row.msecs = t.toMSecsSinceEpoch();
    qint32* const words[] = {&row.sensor, &row.input, &row.output, &row.status};
    for (int i = 0; i < 4; ++i)
        if (!parseWord(cells.at(1 + i), *words[i])) {
            why = tr73own(QStringLiteral("Spalte %1 ist keine Zahl")).arg(2 + i);
            return false;
        }
    row.selection = shown(cells.at(5));
    row.state = shown(cells.at(6));
    row.finished = shown(cells.at(7));
    row.result = shown(cells.at(8));
    for (int k = 0; k < TrendChannels; ++k) {
        const int at = TrendFixedColumns + k * TrendChannelColumns;
        ChannelSample& c = row.channels[k];
        c.read = !cells.at(at).isEmpty();
        qint32 raw = -1, flags = -1;
        bool ok = parseWord(cells.at(at), raw) && parseNumber(cells.at(at + 1), f, c.phys) &&
                  parseWord(cells.at(at + 2), flags);
        for (int l = 0; ok && l < 4; ++l)
            ok = parseNumber(cells.at(at + 3 + l), f, c.limits[l]);
        if (!ok) {
            why = tr73own(QStringLiteral("Kanal %1 nicht lesbar")).arg(k + 1);
            return false;
        }
        c.raw = quint16(qMax(raw, 0));
        c.flags = quint16(qMax(flags, 0));
        if (c.read) c.decimals = qint8(decimalsOf(cells.at(at + 1), f));
    }
    return true;
}

} // namespace

CsvFormat CsvFormat::localeDecimal()
{
    const QString d = QLocale().decimalPoint();
    CsvFormat f;
    f.decimal = d.isEmpty() ? QChar(u'.') : d.at(0);
    if (f.decimal == u',') f.separator = u';';
    return f;
}

QString csvHeader(const ChannelInfos& channels, const CsvFormat& f)
{
    QStringList cells;
    for (const char* h : FixedHeader)
        cells << QString::fromLatin1(h);
    for (int k = 0; k < TrendChannels; ++k) {
        const QString ch = QStringLiteral("ch%1 ").arg(k + 1);
        const QString unit = QStringLiteral(" [%1]").arg(channels[k].unit);
        cells << ch + QStringLiteral("raw") << ch + channels[k].name + unit
              << ch + QStringLiteral("flags");
        for (const char* limit : TrendLimitNames)
            cells << ch + QString::fromLatin1(limit) + unit;
    }
    for (QString& c : cells)
        c = quoted(c, f);
    return cells.join(f.separator) + u'\n';
}

QString csvLine(const TrendRow& row, const CsvFormat& f)
{
    // The texts in the headers' language, whatever the window's.
    QStringList cells{timeStamp(row.msecs),
                      word(row.sensor),
                      word(row.input),
                      word(row.output),
                      word(row.status),
                      quoted(fileText(row.selection), f),
                      quoted(fileText(row.state), f),
                      quoted(fileText(row.finished), f),
                      quoted(fileText(row.result), f)};
    for (const ChannelSample& c : row.channels) {
        if (!c.read) {
            for (int i = 0; i < TrendChannelColumns; ++i)
                cells << QString();
            continue;
        }
        cells << QString::number(c.raw) << number(c.phys, f, c.decimals)
              << QString::number(c.flags);
        for (double limit : c.limits)
            cells << number(limit, f, -1);
    }
    return cells.join(f.separator) + u'\n';
}

TrendFile parseTrendCsv(const QString& text)
{
    TrendFile file;
    CsvFormat f;
    if (text.startsWith(QStringLiteral("time;"))) f = {u';', u','};
    std::vector<bool> ends;
    std::vector<int> lines;
    const std::vector<QStringList> records = splitRecords(text, f.separator, ends, lines);
    const int columns = TrendFixedColumns + TrendChannels * TrendChannelColumns;
    // Columns after the channels' (r73ctl watch adds the service values) are not the trend's.
    if (records.empty() || records[0].size() < columns || records[0].at(0) != u"time") {
        file.error = tr73own(QStringLiteral("Keine Trend-Datei: die erste Zeile ist nicht die "
                                            "erwartete Kopfzeile."));
        return file;
    }
    static const QRegularExpression nameUnit(QStringLiteral("^ch\\d (.*) \\[(.*)\\]$"),
                                             QRegularExpression::DotMatchesEverythingOption);
    for (int k = 0; k < TrendChannels; ++k) {
        const auto m =
            nameUnit.match(records[0].at(TrendFixedColumns + k * TrendChannelColumns + 1));
        if (m.hasMatch()) file.channels[k] = {m.captured(1), m.captured(2)};
    }
    ShownTexts shown;
    for (size_t i = 1; i < records.size(); ++i) {
        TrendRow row;
        QString why;
        if (!ends[i])
            why = tr73own(QStringLiteral("unvollständig (Aufzeichnung abgebrochen)"));
        else if (records[i].size() != records[0].size())
            why = tr73own(QStringLiteral("%1 statt %2 Spalten"))
                      .arg(records[i].size())
                      .arg(records[0].size());
        if (why.isEmpty() && parseRow(records[i], f, shown, row, why)) {
            file.rows.push_back(row);
            continue;
        }
        file.problems << tr73own(QStringLiteral("Zeile %1: %2")).arg(lines[i]).arg(why);
    }
    return file;
}

TrendFile readTrendFile(const QString& path)
{
    QByteArray bytes;
    QString reason;
    // Recordings rotate at 20 MB unless configured otherwise; ten times that still fits in
    // memory with its rows. A device or FIFO is refused unread.
    if (!readRegularFile(path, &bytes, &reason, qint64(200) * 1024 * 1024)) {
        TrendFile file;
        file.error =
            tr73own(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")).arg(path, reason);
        return file;
    }
    return parseTrendCsv(QString::fromUtf8(bytes));
}

} // namespace r73
