#pragma once
/// One controller call at a time, each reported with its fixed location code: what the pages
/// and every other sequence (backup, restore, r73ctl) use to talk to the controller. The
/// program's main window reports a failure with its fatal box; r73ctl turns it into a line.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace r73 {

class TTarget;

class Exchanger
{
public:
    virtual ~Exchanger();
    /// The current link; null when no port is usable.
    virtual TTarget* link() const = 0;
    /// Reports a call's result with its location code.
    virtual void CommErr(quint16 status, quint16 location) = 0;

    /// Executes the named function (a command, getter or setter).
    void Exec(const QString& name, quint16 location);
    /// Fetches one value through "PUT"; 0 when nothing could be exchanged.
    quint16 Receive(quint16 location);
    /// Hands one value to the next setter through "GET".
    void Send(quint16 value, quint16 location);
    /// Fetches one text through "STRPUT".
    QString ReceiveText(quint16 location);
    /// Hands one text to the next string setter through "STRGET".
    void SendText(const QString& text, quint16 location);

    /// True once a call made through these operations failed or the link has failed; a long
    /// sequence stops there instead of going on against a controller that no longer answers.
    bool exchangeFailed() const;
    /// Location code of the first failed call, 0 when none failed.
    quint16 failedAt() const { return m_failedAt; }
    void clearExchangeFailure()
    {
        m_failedAt = 0;
        m_failed = false;
    }

private:
    void report(quint16 status, quint16 location);
    bool m_failed = false;
    quint16 m_failedAt = 0;
};

/// The link's latest failed call as the connection panel names it ("Last ComErr:").
struct LastCommError
{
    quint16 status = 0;
    std::optional<quint16> location; ///< none since the connect
};

} // namespace r73
