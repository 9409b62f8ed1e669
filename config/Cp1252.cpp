#include "Cp1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace r73 {

bool toCp1252(const QString& text, QByteArray& out, QString* badChar)
{
    // Encode one character at a time so a failure can name the character.
    QStringEncoder enc("windows-1252");
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QStringView ch = QStringView(text).mid(i, len);
        QByteArray bytes = enc.encode(ch);
        if (enc.hasError() || bytes.size() != 1) {
            if (badChar) *badChar = ch.toString();
            return false;
        }
        result.append(bytes);
        i += len - 1;
    }
    out = result;
    return true;
}

QString fromCp1252(const QByteArray& bytes)
{
    QStringDecoder dec("windows-1252");
    return dec.decode(bytes);
}

} // namespace r73
