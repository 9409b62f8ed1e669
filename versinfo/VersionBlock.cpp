#include "VersionBlock.h"

#include <QtEndian>

namespace r73 {

namespace {

void appendDword(QByteArray& out, quint32 v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    out.append(bytes, 4);
}

void appendSized(QByteArray& out, const QByteArray& bytes)
{
    const QByteArray cut = bytes.left(0xFFFF);
    char size[2];
    qToLittleEndian(quint16(cut.size()), size);
    out.append(size, 2);
    out.append(cut);
}

} // namespace

QByteArray FixedFileInfo::toBytes() const
{
    QByteArray out;
    for (quint32 v : {Signature, quint32(0x00010000), fileVersionMS, fileVersionLS,
                      productVersionMS, productVersionLS, fileFlagsMask, fileFlags, fileOS,
                      fileType, fileSubtype, fileDateMS, fileDateLS})
        appendDword(out, v);
    return out;
}

std::optional<VersionValue> VerQueryValue(const QByteArray& data, const QString& subBlock)
{
    const QByteArray wanted = subBlock.toUtf8();
    int pos = 0;
    while (pos + 2 <= data.size()) {
        const int nameLength = readWord(data, pos);
        const int nameAt = pos + 2;
        const int valueAt = nameAt + nameLength + 2;
        if (valueAt > data.size()) break;
        const int valueLength = readWord(data, nameAt + nameLength);
        if (valueAt + valueLength > data.size()) break;
        const QByteArrayView name(data.constData() + nameAt, nameLength);
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return VersionValue{valueAt, valueLength};
        pos = valueAt + valueLength;
    }
    return std::nullopt;
}

quint16 readWord(const QByteArray& data, int offset)
{
    if (offset < 0 || offset + 2 > data.size()) return 0;
    return qFromLittleEndian<quint16>(data.constData() + offset);
}

quint32 readDword(const QByteArray& data, int offset)
{
    if (offset < 0 || offset + 4 > data.size()) return 0;
    return qFromLittleEndian<quint32>(data.constData() + offset);
}

void VersionBlockWriter::add(const QString& subBlock, const QByteArray& value)
{
    appendSized(m_data, subBlock.toUtf8());
    appendSized(m_data, value);
}

void VersionBlockWriter::addFixedInfo(const FixedFileInfo& info)
{
    add(QStringLiteral("\\"), info.toBytes());
}

void VersionBlockWriter::addTranslation(quint16 languageId, quint16 codePage)
{
    QByteArray entry(4, '\0');
    qToLittleEndian(languageId, entry.data());
    qToLittleEndian(codePage, entry.data() + 2);
    add(QStringLiteral("\\VarFileInfo\\Translation"), entry);
}

void VersionBlockWriter::addString(quint16 languageId, quint16 codePage, const QString& name,
                                   const QString& text)
{
    const QString translation = QStringLiteral("%1%2")
                                    .arg(languageId, 4, 16, QLatin1Char('0'))
                                    .arg(codePage, 4, 16, QLatin1Char('0'))
                                    .toUpper();
    add(QStringLiteral("\\StringFileInfo\\%1\\%2").arg(translation, name), text.toUtf8());
}

} // namespace r73
