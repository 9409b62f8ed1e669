#pragma once
/// The record of every completed exchange: a compact summary line for tests and a JSON line per
/// exchange for the log file.

#include <QByteArray>
#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace r73::sim {

struct SimExchange
{
    enum class Kind { Session, Lookup, Call, Get, Put, StrGet, StrPut };

    Kind kind = Kind::Call;
    QString name;            ///< function called, or the name looked up; empty for an unknown id
    quint16 id = 0;          ///< id called; for a lookup, the id answered
    bool known = true;       ///< false: unknown name (lookup) or unknown id (call)
    bool ok = true;          ///< status of the answer
    QList<quint16> wordsIn;  ///< words the host sent after the id (GET value)
    QList<quint16> wordsOut; ///< words answered before the status (session id, lookup id, PUT)
    QByteArray textIn;       ///< string the host sent (lookup name, STRGET text), as on the wire
    QByteArray textOut;      ///< string answered (STRPUT)
    QString note;            ///< what the function did, for people reading the log

    /// e.g. "session 0x1b13", "lookup SPANN", "lookup NOPE -> 0", "call SPANN", "call ?0x1234",
    /// "GET 120", "PUT 120", "STRGET \"abc\"", "STRPUT \"abc\""; " !bad" appended when a known
    /// function answered a bad status.
    QString summary() const;
    QJsonObject toJson() const;
    static QString kindName(Kind kind);
};

/// Controller strings are CP1252.
QString textFromWire(const QByteArray& bytes);

/// Appends one JSON object per line and flushes each, so a crash loses nothing.
class SimLogFile
{
public:
    /// False (and the reason) when the file cannot be opened for appending.
    bool open(const QString& path, QString* error);
    bool isOpen() const { return m_file.isOpen(); }
    void write(const SimExchange& exchange);

private:
    QFile m_file;
};

} // namespace r73::sim
