#include "LineTrace.h"

#include "SafeFile.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace r73::trace {

namespace {

struct State
{
    GrowingFile file;
    std::function<void(const QString&)> onFailure;
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
    if (s.file.open(path, GrowingFile::Mode::Append)) return true;
    if (error) *error = QStringLiteral("%1: %2").arg(path, s.file.reason());
    return false;
}

bool active()
{
    return state().file.isOpen();
}

QString path()
{
    return active() ? state().file.path() : QString();
}

void setFailureHandler(std::function<void(const QString&)> handler)
{
    state().onFailure = std::move(handler);
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
    // Written at once, unbuffered: a crash or a hang loses nothing of what was seen.
    if (s.file.write(QJsonDocument(s.exchange).toJson(QJsonDocument::Compact) + '\n')) return;
    // A full disk ends the trace; what it holds so far stays.
    const QString why = QStringLiteral("%1: %2").arg(s.file.path(), s.file.reason());
    s.file.close();
    if (s.onFailure) s.onFailure(why);
}

} // namespace r73::trace
