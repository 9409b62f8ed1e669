#include "SimLog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>

namespace r73::sim {

namespace {

QString hexId(quint16 id)
{
    return QStringLiteral("0x%1").arg(id, 4, 16, QLatin1Char('0'));
}

QJsonArray words(const QList<quint16>& list)
{
    QJsonArray a;
    for (quint16 w : list)
        a.append(int(w));
    return a;
}

} // namespace

QString textFromWire(const QByteArray& bytes)
{
    QStringDecoder dec("windows-1252");
    if (!dec.isValid()) return QString::fromLatin1(bytes);
    return dec.decode(bytes);
}

QString SimExchange::kindName(Kind kind)
{
    static const char* const names[] = {"session", "lookup", "call",  "get",
                                        "put",     "strget", "strput"};
    return QString::fromLatin1(names[int(kind)]);
}

QString SimExchange::summary() const
{
    QString s;
    switch (kind) {
    case Kind::Session:
        s = QStringLiteral("session ") + hexId(wordsOut.value(0));
        break;
    case Kind::Lookup:
        s = QStringLiteral("lookup ") + name + (known ? QString() : QStringLiteral(" -> 0"));
        break;
    case Kind::Call:
        s = QStringLiteral("call ") + (known ? name : u'?' + hexId(id));
        break;
    case Kind::Get:
        s = QStringLiteral("GET %1").arg(wordsIn.value(0));
        break;
    case Kind::Put:
        s = QStringLiteral("PUT %1").arg(wordsOut.value(0));
        break;
    case Kind::StrGet:
        s = QStringLiteral("STRGET \"%1\"").arg(textFromWire(textIn));
        break;
    case Kind::StrPut:
        s = QStringLiteral("STRPUT \"%1\"").arg(textFromWire(textOut));
        break;
    }
    // An unknown name or id always gets a bad status; "-> 0" and "?" already say so.
    if (!ok && known) s += QStringLiteral(" !bad");
    return s;
}

QJsonObject SimExchange::toJson() const
{
    QJsonObject o{{"kind", kindName(kind)},
                  {"name", known ? name : (kind == Kind::Call ? QStringLiteral("?") : name)},
                  {"id", hexId(id)},
                  {"known", known},
                  {"ok", ok},
                  {"summary", summary()}};
    if (!wordsIn.isEmpty()) o.insert("wordsIn", words(wordsIn));
    if (!wordsOut.isEmpty()) o.insert("wordsOut", words(wordsOut));
    if (kind == Kind::Lookup || kind == Kind::StrGet) o.insert("textIn", textFromWire(textIn));
    if (kind == Kind::StrPut) o.insert("textOut", textFromWire(textOut));
    if (!note.isEmpty()) o.insert("note", note);
    return o;
}

bool SimLogFile::open(const QString& path, QString* error)
{
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return true;
    if (error) *error = QStringLiteral("cannot open log %1: %2").arg(path, m_file.errorString());
    return false;
}

void SimLogFile::write(const SimExchange& exchange)
{
    if (!m_file.isOpen()) return;
    m_file.write(QJsonDocument(exchange.toJson()).toJson(QJsonDocument::Compact));
    m_file.write("\n");
    m_file.flush();
}

} // namespace r73::sim
