#include "JsonPlaces.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace r73::backup {

JsonPlaces::JsonPlaces(const QByteArray& text) : m_text(text)
{
    m_entries.insert(QString(), Entry{});
    blanks();
    m_entries[QString()].keyLine = m_line;
    value({});
}

void JsonPlaces::blanks()
{
    while (m_pos < m_text.size()) {
        const char c = m_text.at(m_pos);
        if (c == '\n')
            ++m_line;
        else if (c != ' ' && c != '\t' && c != '\r')
            return;
        ++m_pos;
    }
}

bool JsonPlaces::string(QString* decoded)
{
    const qsizetype begin = m_pos++;
    while (m_pos < m_text.size() && m_text.at(m_pos) != '"')
        m_pos += m_text.at(m_pos) == '\\' ? 2 : 1;
    if (m_pos >= m_text.size()) return false;
    ++m_pos;
    // The escapes (\u00fc, surrogate pairs) decoded as the document decodes them, so a key
    // spelt in two ways is still one key.
    if (decoded)
        *decoded = QJsonDocument::fromJson('[' + m_text.mid(begin, m_pos - begin) + ']')
                       .array()
                       .at(0)
                       .toString();
    return true;
}

bool JsonPlaces::value(const QStringList& path)
{
    blanks();
    Entry& entry = m_entries[joined(path)];
    entry.valueLine = m_line;
    const qsizetype begin = m_pos;
    if (at('{') || at('[')) {
        const bool object = at('{');
        const char close = object ? '}' : ']';
        ++m_pos;
        blanks();
        if (at(close)) {
            ++m_pos;
            return true;
        }
        QSet<QString> seen;
        for (int index = 0;; ++index) {
            blanks();
            QStringList inner = path;
            if (object) {
                const int line = m_line;
                QString key;
                if (!at('"') || !string(&key)) return false;
                inner << key;
                if (seen.contains(key) && !m_duplicate) m_duplicate = Duplicate{inner, line};
                seen.insert(key);
                // The first appearance keeps its place; a duplicate is refused anyway.
                if (!m_entries.contains(joined(inner))) m_entries[joined(inner)].keyLine = line;
                blanks();
                if (!at(':')) return false;
                ++m_pos;
            } else {
                inner << QString::number(index);
                m_entries[joined(inner)].keyLine = m_line;
            }
            if (!value(inner)) return false;
            blanks();
            if (at(close)) {
                ++m_pos;
                return true;
            }
            if (!at(',')) return false;
            ++m_pos;
        }
    }
    if (at('"')) {
        if (!string(nullptr)) return false;
    } else {
        while (m_pos < m_text.size() && !QByteArray(",}] \t\r\n").contains(m_text.at(m_pos)))
            ++m_pos;
    }
    // The entry may have moved while the nested values were added; look it up again.
    m_entries[joined(path)].raw = m_text.mid(begin, m_pos - begin);
    return m_pos > begin;
}

const JsonPlaces::Entry* JsonPlaces::nearest(QStringList path) const
{
    for (;; path.removeLast()) {
        if (auto it = m_entries.constFind(joined(path)); it != m_entries.constEnd()) return &*it;
        if (path.isEmpty()) return nullptr;
    }
}

int JsonPlaces::keyLine(const QStringList& path) const
{
    const Entry* e = nearest(path);
    return e ? e->keyLine : 1;
}

int JsonPlaces::valueLine(const QStringList& path) const
{
    const auto it = m_entries.constFind(joined(path));
    if (it == m_entries.constEnd() || it->valueLine == 0) return keyLine(path);
    return it->valueLine;
}

QByteArray JsonPlaces::raw(const QStringList& path) const
{
    return m_entries.value(joined(path)).raw;
}

} // namespace r73::backup
