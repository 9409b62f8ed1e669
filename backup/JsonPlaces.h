#pragma once
/// Where each key of a JSON text stands, for messages that name the line, and what a parse into
/// QJsonDocument hides: a key given twice in one object (the document silently keeps the last)
/// and the exact spelling of a number.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace r73::backup {

class JsonPlaces
{
public:
    /// Scans text that QJsonDocument accepted; a path is the keys from the root object down.
    explicit JsonPlaces(const QByteArray& text);

    /// Line of the key at path; for a path that is not there, the line of the nearest object
    /// above it that is. The root ({}) is the line of its opening brace.
    int keyLine(const QStringList& path) const;
    /// Line where the value at path begins (an object's opening brace), or keyLine() when it is
    /// not there: the line of an object that lacks a key.
    int valueLine(const QStringList& path) const;
    /// The value at path as written ("1", "1e0", "\"1\""); empty when it is not there.
    QByteArray raw(const QStringList& path) const;

    struct Duplicate
    {
        QStringList path; ///< of the second appearance
        int line = 0;
    };
    /// The first key that appears twice in one object, in the order of the text.
    std::optional<Duplicate> duplicate() const { return m_duplicate; }

private:
    struct Entry
    {
        int keyLine = 0;
        int valueLine = 0;
        QByteArray raw; ///< scalars only
    };
    bool value(const QStringList& path);
    bool string(QString* decoded);
    void blanks();
    bool at(char c) const { return m_pos < m_text.size() && m_text.at(m_pos) == c; }
    static QString joined(const QStringList& path) { return path.join(QChar(0x1F)); }
    const Entry* nearest(QStringList path) const;

    const QByteArray& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    QHash<QString, Entry> m_entries;
    std::optional<Duplicate> m_duplicate;
};

} // namespace r73::backup
