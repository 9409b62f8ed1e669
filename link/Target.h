#pragma once
/// The device link: the program's one connection to the controller. Turns the serial port into a
/// remote-call link with a session handshake, function look-up by name, calls, and the four
/// transfer functions through which every value and string travels. No exceptions cross it:
/// every operation returns a 16-bit result (0 = success).

#include <QObject>
#include <QStringList>
#include <array>

namespace r73 {

/// The link's table of registered function names and their resolved ids.
class TWordList : public QObject
{
public:
    static constexpr int Capacity = 201;

    explicit TWordList(QObject* owner = nullptr);

    /// Appends the name (duplicates allowed, unsorted); -1 once the table is full.
    int add(const QString& name);
    int count() const { return int(m_names.size()); }
    QString name(int index) const;
    quint16 id(int index) const;
    void setId(int index, quint16 id);
    const QStringList& names() const { return m_names; }

private:
    QStringList m_names;
    std::array<quint16, Capacity> m_ids{};
};

class TTarget : public QObject
{
    Q_OBJECT
public:
    /// Opens and configures the configured port unless in demo mode. Without a usable port the
    /// link is busy and failed from the start, so no exchange can ever begin.
    explicit TTarget(QObject* owner = nullptr);
    ~TTarget() override;

    /// Opens the port named by "COM" of the configuration; reports an unusable port.
    void OpenPort();

    /// True if the link was free and is now taken.
    bool Claim();

    quint16 OpenSession();
    quint16 ResolveName(const QString& name);
    bool ResolveAll();
    int RegisterName(const QString& name);
    quint16 Initialize();

    quint16 CallFunction(qint32 index);
    quint16 SendValue(quint16 value);
    quint16 ReceiveValue(quint16& value);
    /// Refuses (result 1, nothing sent) a text longer than 255 bytes or with a character that
    /// code page 1252 cannot carry: either would desynchronise or corrupt the link.
    quint16 SendString(const QString& text);
    quint16 ReceiveString(QString& text);

    void WriteRaw(quint8 b);
    void WriteByte(quint8 b);
    void WriteWord(quint16 v);
    void WriteString(const QByteArray& s);
    quint8 ReadRaw();
    quint8 ReadByte();
    quint16 ReadWord();
    void ReadString(QString& text);

    quint16 SessionId() const { return m_sessionId; }
    quint16 GetId() const { return m_getId; }
    quint16 PutId() const { return m_putId; }
    quint16 StrGetId() const { return m_strGetId; }
    quint16 StrPutId() const { return m_strPutId; }
    quint16 EchoValue() const { return m_echoValue; }
    const QString& EchoText() const { return m_echoText; }
    bool SessionOpen() const { return m_sessionOpen; }
    bool LinkBusy() const { return m_linkBusy; }
    bool LinkFailed() const { return m_linkFailed; }
    /// Exchanges made so far (claims taken and released): the progress of a long sequence.
    quint32 ExchangeCount() const { return m_exchanges; }

    /// The name table; null when the link was made without a usable port.
    TWordList* WordList() const { return m_wordList; }
    /// Names, transfer functions included, that the controller did not resolve.
    QStringList UnresolvedNames() const;
    /// Why the port could not be opened, in words; empty when it opened.
    const QString& PortError() const { return m_portError; }
    /// The same in the window's language, with the port and its device; empty when it opened.
    const QString& PortProblem() const { return m_portProblem; }
    /// Initialize found nobody at the other end: not a byte came back to the opening handshake.
    /// Nothing else was sent, and nothing can have been lost.
    bool NoAnswer() const { return m_noAnswer; }
    /// Closes the link's port, for a link that is done with; nothing when none is open.
    void ClosePort();

private:
    friend class LinkClaim;
    quint8 portIndex() const;
    quint16 readStatus();
    void flushReceived();

    TWordList* m_wordList = nullptr;
    quint16 m_sessionId = 0;
    quint16 m_putId = 0;
    quint16 m_getId = 0;
    quint16 m_strPutId = 0;
    quint16 m_strGetId = 0;
    quint16 m_echoValue = 0;
    QString m_echoText;
    bool m_sessionOpen = false;
    bool m_linkBusy = false;
    bool m_linkFailed = false;
    int m_portNumber = 0; ///< 1..4 once its port is open, 0 when none
    quint32 m_exchanges = 0;
    quint32 m_bytesReceived = 0;
    bool m_noAnswer = false;
    QString m_portError;
    QString m_portProblem;
};

} // namespace r73
