#pragma once
/// Windows code page 1252 at the edges of the program: strings on the wire, the configuration
/// file, the logbook file. Inside the program, text is QString.

#include <QByteArray>
#include <QString>

namespace r73 {

/// Encodes text; false (and the first character it cannot carry in badChar) when CP1252 has no
/// byte for some character. Nothing is ever replaced by a substitute.
bool toCp1252(const QString& text, QByteArray& out, QString* badChar = nullptr);
QString fromCp1252(const QByteArray& bytes);

} // namespace r73
