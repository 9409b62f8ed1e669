#include "ProfileFile.h"

#include "Cp1252.h"
#include "SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <limits>

namespace r73 {

namespace {

// CP1252 is one byte per character and every delimiter is ASCII, so lines are parsed as bytes:
// untouched lines then go back to disk exactly as they were read. A file an editor saved as
// UTF-8 or UTF-16 with a byte order mark is read as such and keeps its encoding when written,
// so the editor still reads it: UTF-8 is parsed as bytes too, UTF-16 through UTF-8.
enum class Encoding { Cp1252, Utf8, Utf16Le, Utf16Be };

struct Content
{
    QByteArray bytes; // CP1252, or UTF-8 for every other encoding; without the mark
    Encoding encoding = Encoding::Cp1252;
    bool lossless = true; // false: UTF-16 that did not decode; a write would damage it
};

Content decode(const QByteArray& raw)
{
    Content c;
    if (raw.startsWith("\xEF\xBB\xBF")) {
        c.encoding = Encoding::Utf8;
        c.bytes = raw.mid(3);
    } else if (raw.startsWith("\xFF\xFE") || raw.startsWith("\xFE\xFF")) {
        const bool le = raw.at(0) == '\xFF';
        c.encoding = le ? Encoding::Utf16Le : Encoding::Utf16Be;
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString text = decoder(raw.mid(2));
        c.bytes = text.toUtf8();
        c.lossless = !decoder.hasError() && raw.size() % 2 == 0;
    } else {
        c.bytes = raw;
    }
    return c;
}

QByteArray encode(const QByteArray& bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Cp1252:
        return bytes;
    case Encoding::Utf8:
        return "\xEF\xBB\xBF" + bytes;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool le = encoding == Encoding::Utf16Le;
        QStringEncoder encoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::WriteBom);
        return encoder(QString::fromUtf8(bytes));
    }
    }
    return bytes;
}

QString toText(const QByteArray& raw, Encoding encoding)
{
    return encoding == Encoding::Cp1252 ? fromCp1252(raw) : QString::fromUtf8(raw);
}

struct Line
{
    QByteArray content; // without the line ending
    QByteArray eol;     // "\r\n", "\n" or empty for a last line without one
};

enum class LineKind { Other, Section, Key };

struct ParsedLine
{
    LineKind kind = LineKind::Other;
    QByteArray rawName; // section or key name as spelled in the file
    QByteArray rawValue;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray& bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes.at(begin)))
        ++begin;
    while (end > begin && isBlank(bytes.at(end - 1)))
        --end;
    return bytes.mid(begin, end - begin);
}

ParsedLine parseLine(const QByteArray& content)
{
    const QByteArray t = trimBlanks(content);
    ParsedLine p;
    if (t.isEmpty() || t.startsWith(';')) return p;
    if (t.startsWith('[')) {
        const qsizetype close = t.indexOf(']');
        p.kind = LineKind::Section;
        p.rawName = trimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
        return p;
    }
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0) return p;
    p.rawName = trimBlanks(t.left(eq));
    if (p.rawName.isEmpty()) return p;
    p.kind = LineKind::Key;
    p.rawValue = trimBlanks(t.mid(eq + 1));
    return p;
}

bool sameName(const QByteArray& raw, const QString& name, Encoding encoding)
{
    return QString::compare(toText(raw, encoding), name.trimmed(), Qt::CaseInsensitive) == 0;
}

QList<Line> splitLines(const QByteArray& bytes)
{
    QList<Line> lines;
    qsizetype pos = 0;
    // A line ends at LF, CR LF or a CR alone (files from old editors).
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes.at(end) != '\n' && bytes.at(end) != '\r')
            ++end;
        Line line;
        line.content = bytes.mid(pos, end - pos);
        if (end < bytes.size()) {
            const bool crlf =
                bytes.at(end) == '\r' && end + 1 < bytes.size() && bytes.at(end + 1) == '\n';
            line.eol = crlf ? QByteArray("\r\n") : bytes.mid(end, 1);
        }
        pos = end + line.eol.size();
        lines.append(line);
    }
    return lines;
}

/// The file's own line ending (that of its first line); CR LF for a new or one-line file.
QByteArray lineEndingOf(const QList<Line>& lines)
{
    for (const Line& l : lines) {
        if (!l.eol.isEmpty()) return l.eol;
    }
    return "\r\n";
}

/// Where a key lives: the first matching section and the first matching key in it. A new key
/// goes after the section's last key line or, in a section without keys, after its last
/// non-blank line. -1 for what is missing.
struct Location
{
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype insertAfter = -1;
    QByteArray rawKey;
    QByteArray rawValue;
};

Location locate(const QList<Line>& lines, const QString& section, const QString& key,
                Encoding encoding)
{
    Location loc;
    bool sawKey = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ParsedLine p = parseLine(lines.at(i).content);
        if (p.kind == LineKind::Section) {
            if (loc.section >= 0) break; // only the first matching section counts
            if (sameName(p.rawName, section, encoding)) loc.section = loc.insertAfter = i;
            continue;
        }
        if (loc.section < 0) continue;
        if (p.kind == LineKind::Key) {
            sawKey = true;
            loc.insertAfter = i;
            if (loc.key < 0 && sameName(p.rawName, key, encoding)) {
                loc.key = i;
                loc.rawKey = p.rawName;
                loc.rawValue = p.rawValue;
            }
        } else if (!sawKey && !trimBlanks(lines.at(i).content).isEmpty()) {
            loc.insertAfter = i;
        }
    }
    return loc;
}

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

/// Reads the whole file; a missing file (or a link to nothing) is empty. False only when the
/// file exists but cannot be read: a FIFO, a device or a huge file is refused unread.
bool loadContent(const QString& path, Content& content, QString& error)
{
    content = Content();
    if (!QFileInfo::exists(path)) return true;
    QByteArray raw;
    QString reason;
    if (!readRegularFile(path, &raw, &reason)) {
        error = QStringLiteral("Cannot read \"%1\": %2").arg(displayPath(path), reason);
        return false;
    }
    content = decode(raw);
    return true;
}

bool encodeName(const QString& what, const QString& text, Encoding encoding, QByteArray& out,
                QString& error)
{
    if (encoding != Encoding::Cp1252) {
        out = text.toUtf8();
        return true;
    }
    QString bad;
    if (!toCp1252(text, out, &bad)) {
        error = QStringLiteral("%1 contains \"%2\", which the file's character set "
                               "(Windows-1252) cannot hold")
                    .arg(what, bad);
        return false;
    }
    return true;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

/// Rejects names and values that would change the file's structure when written.
bool checkWritable(const QString& section, const QString& key, const QString& value, QString& error)
{
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    if (s.isEmpty() || s.contains(QLatin1Char(']')) || hasLineBreak(s)) {
        error = QStringLiteral("Invalid section name \"%1\"").arg(section);
        return false;
    }
    if (k.isEmpty() || k.contains(QLatin1Char('=')) || k.startsWith(QLatin1Char(';')) ||
        k.startsWith(QLatin1Char('[')) || hasLineBreak(k)) {
        error = QStringLiteral("Invalid key name \"%1\"").arg(key);
        return false;
    }
    if (hasLineBreak(value)) {
        error = QStringLiteral("The value for \"%1\" in [%2] contains a line break").arg(k, s);
        return false;
    }
    return true;
}

int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

bool parseInteger(const QString& text, int& out)
{
    QStringView digits(text);
    int base = 10;
    bool negative = false;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.mid(2);
    } else if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits = digits.mid(1);
    } else if (digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-'))) {
        negative = digits.front() == QLatin1Char('-');
        digits = digits.mid(1);
    }
    if (digits.isEmpty()) return false;
    // One past INT_MAX so that INT_MIN still fits after negation.
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (QChar c : digits) {
        const int d = digitValue(c);
        if (d < 0 || d >= base) return false;
        value = value * base + d;
        if (value > limit) return false;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return false;
    out = int(value);
    return true;
}

} // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& def) const
{
    m_error.clear();
    Content c;
    if (!loadContent(m_path, c, m_error)) return def;
    const Location loc = locate(splitLines(c.bytes), section, key, c.encoding);
    return loc.key < 0 ? def : toText(loc.rawValue, c.encoding);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int def) const
{
    int value = def;
    return parseInteger(readString(section, key, QString()), value) ? value : def;
}

bool ProfileFile::readBool(const QString& section, const QString& key, bool def) const
{
    int value = 0;
    return parseInteger(readString(section, key, QString()), value) ? value != 0 : def;
}

bool ProfileFile::hasKey(const QString& section, const QString& key) const
{
    m_error.clear();
    Content c;
    if (!loadContent(m_path, c, m_error)) return false;
    return locate(splitLines(c.bytes), section, key, c.encoding).key >= 0;
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    m_error.clear();
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    if (!checkWritable(section, key, value, m_error)) return false;
    Content c;
    if (!loadContent(m_path, c, m_error)) return false;
    if (!c.lossless) {
        m_error = QStringLiteral("Cannot write \"%1\": it is not valid UTF-16, and writing would "
                                 "damage it")
                      .arg(displayPath(m_path));
        return false;
    }
    QByteArray rawSection;
    QByteArray rawKey;
    QByteArray rawValue;
    if (!encodeName(QStringLiteral("The section name [%1]").arg(s), s, c.encoding, rawSection,
                    m_error) ||
        !encodeName(QStringLiteral("The key name \"%1\"").arg(k), k, c.encoding, rawKey, m_error) ||
        !encodeName(QStringLiteral("The value for \"%1\" in [%2]").arg(k, s), value, c.encoding,
                    rawValue, m_error))
        return false;

    const QByteArray& bytes = c.bytes;
    QList<Line> lines = splitLines(bytes);
    const QByteArray eol = lineEndingOf(lines);
    const Location loc = locate(lines, s, k, c.encoding);

    if (loc.key >= 0) {
        lines[loc.key].content = loc.rawKey + '=' + rawValue;
    } else {
        qsizetype at = loc.section >= 0 ? loc.insertAfter : lines.size() - 1;
        if (at >= 0 && lines.at(at).eol.isEmpty()) lines[at].eol = eol;
        if (loc.section < 0) lines.insert(++at, Line{'[' + rawSection + ']', eol});
        lines.insert(at + 1, Line{rawKey + '=' + rawValue, eol});
    }

    QByteArray out;
    out.reserve(bytes.size() + rawKey.size() + rawValue.size() + rawSection.size() + 8);
    for (const Line& l : lines)
        out += l.content + l.eol;
    return save(encode(out, c.encoding));
}

bool ProfileFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool ProfileFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeInteger(section, key, value ? 1 : 0);
}

bool ProfileFile::save(const QByteArray& bytes)
{
    // Name a missing folder plainly; the save file's own message would only say "no such file".
    const QFileInfo info(m_path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists()) {
        m_error = QStringLiteral("Cannot write \"%1\": the folder \"%2\" does not exist")
                      .arg(displayPath(m_path), displayPath(folder.filePath()));
        return false;
    }
    if (!folder.isDir()) {
        m_error = QStringLiteral("Cannot write \"%1\": \"%2\" is not a folder")
                      .arg(displayPath(m_path), displayPath(folder.filePath()));
        return false;
    }
    QString reason;
    if (!writeFileAtomically(m_path, bytes, &reason)) {
        m_error = QStringLiteral("Cannot write \"%1\": %2").arg(displayPath(m_path), reason);
        return false;
    }
    return true;
}

} // namespace r73
