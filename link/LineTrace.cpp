#include "LineTrace.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace r73::trace {

namespace {

struct State
{
    QFile file;
    bool open = false; ///< an exchange is being recorded
    QJsonObject exchange;
    QJsonArray bytes;
    QElapsedTimer clock;
};

State& state()
{
    static State s;
    return s;
}

void record(const char* direction, quint8 raw)
{
    State& s = state();
    if (!s.file.isOpen()) return;
    if (!s.open) begin("", QString()); // bytes outside a known exchange still count
    s.bytes.append(QJsonArray{int(s.clock.elapsed()), QLatin1String(direction),
                              QStringLiteral("%1").arg(raw, 2, 16, QLatin1Char('0'))});
}

} // namespace

bool start(const QString& path, QString* error)
{
    State& s = state();
    s.file.close();
    s.open = false;
    if (path.isEmpty()) return true;
    s.file.setFileName(path);
    if (s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return true;
    if (error) *error = QStringLiteral("%1: %2").arg(path, s.file.errorString());
    return false;
}

bool active()
{
    return state().file.isOpen();
}

QString path()
{
    return active() ? state().file.fileName() : QString();
}

void begin(const char* kind, const QString& name)
{
    State& s = state();
    if (!s.file.isOpen()) return;
    if (s.open) end();
    s.open = true;
    s.clock.start();
    s.bytes = QJsonArray();
    s.exchange = QJsonObject{
        {"time", QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
        {"kind", QLatin1String(kind)},
        {"name", name},
    };
}

void sent(quint8 raw)
{
    record(">", raw);
}

void received(quint8 raw)
{
    record("<", raw);
}

void end()
{
    State& s = state();
    if (!s.file.isOpen() || !s.open) return;
    s.open = false;
    // [milliseconds since the exchange began, ">" sent or "<" received, the byte as on the line]
    s.exchange.insert("bytes", s.bytes);
    s.file.write(QJsonDocument(s.exchange).toJson(QJsonDocument::Compact));
    s.file.write("\n");
    s.file.flush(); // a crash or a hang loses nothing of what was seen
}

} // namespace r73::trace
