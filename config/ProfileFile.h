#pragma once
/// A Windows-style profile (INI) file. Every call opens the file, reads or writes, and closes it;
/// nothing is cached. Section and key names compare case-insensitively; lines starting with ';'
/// are comments; values are trimmed. A write replaces only its own line (keeping order, comments,
/// line endings and the key's spelling), appends a new key at the end of its section and a new
/// section at the end of the file, and replaces the file atomically. The file is Windows-1252;
/// one with a UTF-8 or UTF-16 byte order mark is read and written in that encoding. Lines end
/// with CR LF, LF or CR alone; new lines take the file's own ending. A FIFO, device or huge file
/// in its place is refused unread.

#include <QString>

namespace r73 {

class ProfileFile
{
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return m_path; }

    /// The trimmed value, or def when the file, section or key is missing.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    /// Decimal, or hexadecimal with "0x" or "$" ("010" is ten); anything else gives def.
    int readInteger(const QString& section, const QString& key, int def) const;
    /// Stored as an integer: nonzero is true.
    bool readBool(const QString& section, const QString& key, bool def) const;
    bool hasKey(const QString& section, const QString& key) const;

    /// False when the file cannot be written; errorString() then says why.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);

    QString errorString() const { return m_error; }

private:
    /// Replaces the file atomically with bytes; on failure sets m_error and leaves it untouched.
    bool save(const QByteArray& bytes);

    QString m_path;
    mutable QString m_error;
};

} // namespace r73
