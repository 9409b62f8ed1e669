#include "Target.h"

#include "Cp1252.h"
#include "KeepAlive.h"
#include "LineTrace.h"
#include "LinkMessages.h"
#include "LinkState.h"
#include "NorloIni.h"
#include "PortCheck.h"
#include "SuperCom.h"
#include "Terminate.h"
#include "TextHook.h"
#include "WireCodec.h"

#include <QDeadlineTimer>

namespace r73 {

// ---- TWordList ----

TWordList::TWordList(QObject* owner) : QObject(owner) {}

int TWordList::add(const QString& name)
{
    if (m_names.size() >= Capacity) return -1;
    m_names.append(name);
    return int(m_names.size() - 1);
}

QString TWordList::name(int index) const
{
    return (index >= 0 && index < m_names.size()) ? m_names.at(index) : QString();
}

quint16 TWordList::id(int index) const
{
    return (index >= 0 && index < Capacity) ? m_ids[size_t(index)] : 0;
}

void TWordList::setId(int index, quint16 id)
{
    if (index >= 0 && index < Capacity) m_ids[size_t(index)] = id;
}

// ---- the claim ----

/// Holds the link for one exchange and frees it on every path out.
class LinkClaim
{
public:
    /// kind and name label the exchange in the line trace.
    LinkClaim(TTarget& t, const char* kind, const QString& name = QString())
        : m_target(t), m_taken(t.Claim())
    {
        if (m_taken) trace::begin(kind, name);
    }
    ~LinkClaim()
    {
        if (!m_taken) return;
        trace::end();
        m_target.m_linkBusy = false;
        ++m_target.m_exchanges;
    }
    explicit operator bool() const { return m_taken; }

private:
    TTarget& m_target;
    bool m_taken;
};

// ---- TTarget ----

TTarget::TTarget(QObject* owner) : QObject(owner)
{
    if (!DemoMode) OpenPort();
    if (ComPortNumber != 0) {
        m_wordList = new TWordList(this);
    } else {
        m_linkBusy = true;
        m_linkFailed = true;
    }
}

TTarget::~TTarget() = default; // the name table is a child and goes with the link

quint8 TTarget::portIndex() const
{
    return quint8(m_portNumber - 1);
}

void TTarget::OpenPort()
{
    m_linkFailed = false;
    m_portError.clear();
    m_portProblem.clear();
    // Offline the backend is the simulated controller, whichever port is configured.
    ComPortNumber = OfflineMode ? 1 : readComPort();
    const int number = ComPortNumber;
    if (ComPortNumber >= 1 && ComPortNumber <= 4) {
        const quint8 index = quint8(number - 1);
        ComInit(index);
        if (ComResult(index) != 0) {
            m_portError = ComErrorText(index);
            ComPortNumber = 0;
        } else {
            ComSetState(index, wire::BaudRate, wire::DataBits, wire::ModeByte, wire::Parity,
                        wire::StopBits);
        }
    } else {
        // A hand-edited number outside 1..4 names no port.
        m_portError =
            QStringLiteral("no serial port has the number %1 (use 1 to 4)").arg(ComPortNumber);
        ComPortNumber = 0;
    }
    // The link keeps its own number: the program-wide one may name the next port already.
    m_portNumber = ComPortNumber;
    if (ComPortNumber == 0) {
        m_portProblem = portProblemText(number);
        showLinkError(parent(), tr73(0, "Schnittstelle nicht verfügbar!"), tr73(0, "Fehler"),
                      m_portProblem);
    }
}

void TTarget::ClosePort()
{
    if (m_portNumber < 1 || m_portNumber > 4) return;
    ComClose(portIndex());
    m_portNumber = 0;
    m_linkBusy = m_linkFailed = true; // nothing more goes out through it
}

bool TTarget::Claim()
{
    if (m_linkBusy) return false;
    m_linkBusy = true;
    return true;
}

quint16 TTarget::OpenSession()
{
    LinkClaim claim(*this, "session");
    if (!claim) return 0;
    WriteByte(wire::OpeningByte);
    WriteByte(wire::SessionRequest);
    ReadByte();
    ReadByte();
    m_sessionId = ReadWord();
    return m_sessionId;
}

quint16 TTarget::ResolveName(const QString& name)
{
    if (DemoMode) return 0;
    QByteArray bytes;
    if (!toCp1252(name, bytes) || bytes.size() > wire::MaxStringLength) return 0;
    LinkClaim claim(*this, "lookup", name);
    if (!claim) return 0;
    WriteByte(wire::CallByte);
    WriteWord(m_sessionId);
    WriteString(bytes);
    const quint16 id = ReadWord();
    const quint16 status = ReadWord();
    return (status != 0x0100 || id == 0) ? 0 : id;
}

bool TTarget::ResolveAll()
{
    bool result = true;
    if (!m_wordList) return result;
    for (int i = 0; i < m_wordList->count(); ++i) {
        const quint16 id = ResolveName(m_wordList->name(i));
        m_wordList->setId(i, id);
        if (id == 0) result = false;
    }
    return result;
}

int TTarget::RegisterName(const QString& name)
{
    return m_wordList ? m_wordList->add(name) : -1;
}

quint16 TTarget::Initialize()
{
    quint16 result = 0;
    if (!DemoMode) {
        if (OpenSession() == 0) result = 1;
        // Not a byte back: wrong port, cable or controller off. The caller may try elsewhere;
        // every failure after the controller has answered once stays fatal.
        if (m_linkFailed && m_bytesReceived == 0) {
            m_noAnswer = true;
            return 1;
        }
        m_getId = ResolveName(QStringLiteral("GET"));
        if (m_getId == 0) {
            showLinkError(parent(),
                          tr73(0, "Kommunikation mit dem R73-Controller gestört! Programm wird "
                                  "beendet! Bitte neu starten!"),
                          tr73(0, "Fehler"));
            requestTerminate();
        } else {
            m_putId = ResolveName(QStringLiteral("PUT"));
            m_strGetId = ResolveName(QStringLiteral("STRGET"));
            m_strPutId = ResolveName(QStringLiteral("STRPUT"));
            if (m_putId == 0 || m_strGetId == 0 || m_strPutId == 0) result = 1;
            if (!ResolveAll()) result = 1;
        }
    }
    if (result == 0) m_sessionOpen = true;
    return result;
}

void TTarget::flushReceived()
{
    // Stray bytes from an earlier exchange would be taken for the answer.
    quint8 discard = 0;
    while (!m_linkFailed && ComBufEmpty(portIndex(), 0) == 0) {
        ComRead(portIndex(), &discard);
        trace::received(discard);
    }
}

quint16 TTarget::readStatus()
{
    // Both bytes are always read so the line stays in step.
    const quint8 first = ReadByte();
    const quint8 second = ReadByte();
    return (first == wire::StatusOk1 && second == wire::StatusOk2) ? 0 : 1;
}

quint16 TTarget::CallFunction(qint32 index)
{
    if (DemoMode) return 0;
    if (!m_sessionOpen) return 1;
    if (index < 0 || !m_wordList || index >= TWordList::Capacity) return 1;
    const quint16 id = m_wordList->id(index);
    if (id == 0) return 1;
    LinkClaim claim(*this, "call", m_wordList->name(index));
    if (!claim) return 1;
    WriteByte(wire::CallByte);
    WriteWord(id);
    return readStatus();
}

quint16 TTarget::SendValue(quint16 value)
{
    m_echoValue = value;
    if (DemoMode) return 0;
    if (!m_sessionOpen) return 0;
    LinkClaim claim(*this, "get", QStringLiteral("GET"));
    if (!claim) return 0;
    WriteByte(wire::CallByte);
    WriteWord(m_getId);
    WriteWord(value);
    return readStatus();
}

quint16 TTarget::ReceiveValue(quint16& value)
{
    if (DemoMode) {
        value = m_echoValue;
        m_echoValue = 0;
        return 0;
    }
    if (!m_sessionOpen) return 0;
    LinkClaim claim(*this, "put", QStringLiteral("PUT"));
    if (!claim) return 0;
    flushReceived();
    WriteByte(wire::CallByte);
    WriteWord(m_putId);
    value = ReadWord();
    return readStatus();
}

quint16 TTarget::SendString(const QString& text)
{
    QByteArray bytes;
    if (!toCp1252(text, bytes) || bytes.size() > wire::MaxStringLength) return 1;
    m_echoText = text;
    if (DemoMode) return 0;
    if (!m_sessionOpen) return 0;
    LinkClaim claim(*this, "strget", QStringLiteral("STRGET"));
    if (!claim) return 0;
    WriteByte(wire::CallByte);
    WriteWord(m_strGetId);
    WriteString(bytes);
    return readStatus();
}

quint16 TTarget::ReceiveString(QString& text)
{
    if (DemoMode) {
        text = m_echoText;
        return 0;
    }
    if (!m_sessionOpen) return 0;
    LinkClaim claim(*this, "strput", QStringLiteral("STRPUT"));
    if (!claim) return 0;
    flushReceived();
    WriteByte(wire::CallByte);
    WriteWord(m_strPutId);
    ReadString(text);
    return readStatus();
}

void TTarget::WriteRaw(quint8 b)
{
    for (;;) {
        if (terminateRequested()) return;
        if (ComWrite(portIndex(), b) != 0) {
            trace::sent(b);
            return;
        }
        // A port that reports a failure will never take the byte: offering it again would
        // hang the program, so the link counts as failed instead.
        if (ComResult(portIndex()) != 0) {
            m_linkFailed = true;
            return;
        }
    }
}

void TTarget::WriteByte(quint8 b)
{
    if (wire::needsEscape(b)) {
        WriteRaw(wire::EscapeByte);
        WriteRaw(quint8(b + wire::EscapeOffset));
    } else {
        WriteRaw(b);
    }
}

void TTarget::WriteWord(quint16 v)
{
    WriteByte(quint8(v >> 8));
    WriteByte(quint8(v & 0xFF));
}

void TTarget::WriteString(const QByteArray& s)
{
    WriteByte(quint8(s.size() & 0xFF));
    for (char c : s)
        WriteByte(quint8(c));
}

quint8 TTarget::ReadRaw()
{
    if (m_linkFailed) return 0;
    // Block in slices so a termination request (from a signal, say) is seen within a moment.
    constexpr int SliceMs = 250;
    // While the link waits the program's window takes its turns (KeepAlive.h): when one is due
    // and the line is quiet, after the question has left, so the turn overlaps the wait for the
    // answer and the line does not wait for the window. Bytes that keep coming (a fast line)
    // hold the turns off only so long.
    keepAlive(2 * KeepAliveIntervalMs);
    QDeadlineTimer deadline(ReadTimeoutMs);
    // The wait itself tells whether a byte is there: a separate empty test first would cost a
    // second system call for every byte, the larger part of the link's time on a slow machine.
    for (;;) {
        if (terminateRequested()) return 0;
        const int due = keepAliveDueInMs();
        int wait = int(qMin<qint64>(deadline.remainingTime(), SliceMs));
        if (due == 0) {
            wait = 0; // sends what is pending, then the turn
        } else if (due > 0) {
            wait = qMin(wait, due);
        }
        const WaitResult result = ComWaitForData(portIndex(), wait);
        if (result == WaitResult::DataWaiting) break;
        if (result == WaitResult::LineFailed) {
            m_linkFailed = true; // the other end is gone: as good as a time-out
            return 0;
        }
        if (due == 0) keepAlive();
        if (deadline.hasExpired()) {
            m_linkFailed = true;
            return 0;
        }
    }
    quint8 b = 0;
    ComRead(portIndex(), &b);
    trace::received(b);
    ++m_bytesReceived;
    return b;
}

quint8 TTarget::ReadByte()
{
    const quint8 b = ReadRaw();
    if (b == wire::EscapeByte) return wire::unescape(ReadRaw());
    return b;
}

quint16 TTarget::ReadWord()
{
    const quint8 high = ReadByte();
    const quint8 low = ReadByte();
    return quint16(high << 8 | low);
}

void TTarget::ReadString(QString& text)
{
    const int n = ReadByte();
    QByteArray bytes;
    bytes.reserve(n);
    for (int i = 0; i < n; ++i)
        bytes.append(char(ReadByte()));
    text = fromCp1252(bytes);
}

QStringList TTarget::UnresolvedNames() const
{
    QStringList missing;
    if (DemoMode) return missing;
    const std::pair<const char*, quint16> transfers[] = {
        {"GET", m_getId}, {"PUT", m_putId}, {"STRGET", m_strGetId}, {"STRPUT", m_strPutId}};
    for (const auto& [name, id] : transfers)
        if (id == 0) missing << QString::fromLatin1(name);
    if (m_wordList)
        for (int i = 0; i < m_wordList->count(); ++i)
            if (m_wordList->id(i) == 0) missing << m_wordList->name(i);
    return missing;
}

} // namespace r73
