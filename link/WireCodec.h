#pragma once
/// The controller's wire format: byte stuffing, 16-bit words high byte first and length-prefixed
/// strings. Pure functions, shared by the link and the simulator; golden byte vectors in the tests
/// keep both sides honest.

#include <QByteArray>
#include <QtGlobal>

namespace r73::wire {

/// Line constants of the controller's serial link.
inline constexpr quint8 EscapeByte = 0x1B;
inline constexpr quint8 XonByte = 0x11; // reserved: flow-control characters never travel bare
inline constexpr quint8 XoffByte = 0x13;
inline constexpr quint8 EscapeOffset = 0x20;
inline constexpr quint32 BaudRate = 2400;
inline constexpr quint8 DataBits = 8;
inline constexpr quint8 ModeByte = 0x80;
inline constexpr char Parity = 'N';
inline constexpr quint8 StopBits = 1;
inline constexpr int BitsPerByteOnLine = 10; // start + 8 data + stop
inline constexpr int ReadTimeoutMs = 5000;   // per byte

/// Message constants.
inline constexpr quint8 CallByte = 0x01;
inline constexpr quint8 OpeningByte = 0x00;
inline constexpr quint8 SessionRequest = 0x04;
inline constexpr quint8 StatusOk1 = 0x01;
inline constexpr quint8 StatusOk2 = 0x00;
inline constexpr int MaxStringLength = 255;

inline constexpr bool needsEscape(quint8 b)
{
    return b == EscapeByte || b == XonByte || b == XoffByte;
}

/// Appends one logical byte to the line, escaped if reserved.
inline void stuffByte(QByteArray& line, quint8 b)
{
    if (needsEscape(b)) {
        line.append(char(EscapeByte));
        line.append(char(quint8(b + EscapeOffset)));
    } else {
        line.append(char(b));
    }
}

inline QByteArray stuff(const QByteArray& logical)
{
    QByteArray line;
    line.reserve(logical.size() * 2);
    for (char c : logical)
        stuffByte(line, quint8(c));
    return line;
}

/// The byte that follows an escape on the line: the receiver subtracts the offset from whatever
/// follows 0x1B, not only from the three reserved values.
inline constexpr quint8 unescape(quint8 raw)
{
    return quint8(raw - EscapeOffset);
}

inline void appendWord(QByteArray& logical, quint16 v)
{
    logical.append(char(v >> 8));
    logical.append(char(v & 0xFF));
}

/// Length byte (low 8 bits of the length) then the bytes. Callers must keep strings at 255 bytes
/// or less; a longer one would carry a wrong length byte.
inline void appendString(QByteArray& logical, const QByteArray& s)
{
    logical.append(char(quint8(s.size() & 0xFF)));
    logical.append(s);
}

/// Turns line bytes into logical bytes as they arrive; an escape waits for its partner.
class Unstuffer
{
public:
    /// Returns true and sets out when raw completes a logical byte.
    bool push(quint8 raw, quint8& out)
    {
        if (m_escaped) {
            m_escaped = false;
            out = unescape(raw);
            return true;
        }
        if (raw == EscapeByte) {
            m_escaped = true;
            return false;
        }
        out = raw;
        return true;
    }
    bool midEscape() const { return m_escaped; }
    void reset() { m_escaped = false; }

private:
    bool m_escaped = false;
};

inline QByteArray unstuff(const QByteArray& line)
{
    QByteArray logical;
    Unstuffer u;
    quint8 out = 0;
    for (char c : line)
        if (u.push(quint8(c), out)) logical.append(char(out));
    return logical;
}

} // namespace r73::wire
