#pragma once
/// A minimal host for driving the simulator engine in tests: builds requests as line bytes and
/// reads answers back as logical bytes, so tests can speak in names and values.

#include "SimEngine.h"
#include "StrictLine.h"
#include "WireCodec.h"

namespace simtest {

using namespace r73;

inline const QByteArray OkStatus = QByteArray::fromHex("0100");
inline const QByteArray BadStatus = QByteArray::fromHex("0101");

/// Call byte, id, then the logical payload, stuffed for the line.
inline QByteArray request(quint16 id, const QByteArray& payload = {})
{
    QByteArray logical(1, char(wire::CallByte));
    wire::appendWord(logical, id);
    return wire::stuff(logical + payload);
}
inline QByteArray wordPayload(quint16 v)
{
    QByteArray p;
    wire::appendWord(p, v);
    return p;
}
inline QByteArray stringPayload(const QByteArray& s)
{
    QByteArray p;
    wire::appendString(p, s);
    return p;
}
inline QByteArray lookupRequest(const QByteArray& name)
{
    return request(sim::SimEngine::SessionId, stringPayload(name));
}

/// Talks to one engine by name, within a session it opens first (unless told not to); the test
/// fails at the end if the engine saw a breach of the protocol that the test did not take.
class Host
{
public:
    explicit Host(sim::SimEngine& engine, bool openSession = true) : m_engine(engine)
    {
        if (!openSession) return;
        m_engine.feed(QByteArray::fromHex("0004"));
        m_engine.clearLog();
    }
    r73::test::StrictLine& strict() { return m_strict; }

    QByteArray logical(const QByteArray& line) { return wire::unstuff(m_engine.feed(line)); }
    quint16 id(const char* name) const { return m_engine.idOf(QString::fromLatin1(name)); }
    QByteArray call(const char* name) { return logical(request(id(name))); }
    QByteArray lookup(const char* name) { return logical(lookupRequest(name)); }
    void get(quint16 value) { logical(request(id("GET"), wordPayload(value))); }
    void strGet(const QByteArray& text) { logical(request(id("STRGET"), stringPayload(text))); }
    /// GET value, then the setter.
    QByteArray store(const char* setter, quint16 value)
    {
        get(value);
        return call(setter);
    }
    /// PUT: the word answered, or -1 when the answer is not word + ok status.
    int put()
    {
        const QByteArray a = call("PUT");
        return a.size() == 4 && a.endsWith(OkStatus) ? (quint8(a[0]) << 8) | quint8(a[1]) : -1;
    }
    /// Getter call followed by PUT.
    int read(const char* getter) { return call(getter) == OkStatus ? put() : -1; }

private:
    sim::SimEngine& m_engine;
    r73::test::StrictLine m_strict{m_engine};
};

} // namespace simtest
