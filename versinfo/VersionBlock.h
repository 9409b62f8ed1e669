#pragma once
/// The version block: our stand-in for a program file's version resource. It holds values under
/// the block names of a Windows version resource ("\" for the fixed file information,
/// "\VarFileInfo\Translation", "\StringFileInfo\<language><code page>\<name>"), so the reader
/// asks for them exactly as it would ask the platform.
///
/// Layout: a sequence of entries, each a 16-bit little-endian name length, the block name in
/// UTF-8, a 16-bit little-endian value length and the value bytes. Strings are UTF-8; numbers
/// are little-endian as in the platform's resource.

#include <QByteArray>
#include <QString>
#include <optional>

namespace r73 {

/// The fixed file information of a version resource, laid out as the platform's 13 words.
struct FixedFileInfo
{
    static constexpr quint32 Signature = 0xFEEF04BD;
    static constexpr int Size = 52;
    /// Byte offset of the target-OS word within the fixed file information.
    static constexpr int FileOsOffset = 32;

    quint32 fileVersionMS = 0;
    quint32 fileVersionLS = 0;
    quint32 productVersionMS = 0;
    quint32 productVersionLS = 0;
    quint32 fileFlagsMask = 0x3F;
    quint32 fileFlags = 0;
    quint32 fileOS = 0;
    quint32 fileType = 1; // an application
    quint32 fileSubtype = 0;
    quint32 fileDateMS = 0;
    quint32 fileDateLS = 0;

    QByteArray toBytes() const;
};

/// Where a looked-up value lies within the block.
struct VersionValue
{
    int offset = 0;
    int length = 0;
};

/// Looks a block name up as the platform does, ignoring case; nothing for an unknown name or a
/// block that ends inside an entry.
std::optional<VersionValue> VerQueryValue(const QByteArray& data, const QString& subBlock);

/// Little-endian words at an offset of the block; 0 when the block is too short.
quint16 readWord(const QByteArray& data, int offset);
quint32 readDword(const QByteArray& data, int offset);

/// Builds a version block entry by entry.
class VersionBlockWriter
{
public:
    /// Adds a value under a block name; names and values longer than 65535 bytes are cut.
    void add(const QString& subBlock, const QByteArray& value);
    void addFixedInfo(const FixedFileInfo& info);
    /// One entry of the translation table: language id, then code page.
    void addTranslation(quint16 languageId, quint16 codePage);
    /// A string of the string table for a language and code page, named in upper-case hex as
    /// the usual resource tools write it.
    void addString(quint16 languageId, quint16 codePage, const QString& name, const QString& text);

    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

} // namespace r73
