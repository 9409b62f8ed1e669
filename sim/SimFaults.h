#pragma once
/// Misbehaviours the simulated controller can be told to show, so the program's error paths can
/// be exercised. Several may be active at once.

#include <QSet>
#include <QString>
#include <QStringList>

namespace r73::sim {

struct SimFaults
{
    int silentAfter = -1;    ///< answer nothing once this many exchanges completed (-1: off)
    int closeAfter = -1;     ///< close the line once this many exchanges completed (-1: off)
    int badStatusAt = -1;    ///< answer 01 01 to the exchange that completes this count (-1: off)
    QSet<QString> silentOn;  ///< never answer calls of these functions
    QSet<QString> badStatus; ///< answer 01 01 instead of 01 00 for these functions
    QSet<QString> unknown;   ///< the lookup of these names answers id 0
    QSet<QString> garbageOn; ///< stray bytes precede the answer to these functions
    QSet<QString> ignoreOn;  ///< calls of these functions answer 01 00 but change nothing
    /// The history never reports its end and never repeats a number.
    bool endlessHistory = false;

    /// Adds one fault written MODE=VALUE, e.g. "silent-after=3" or "bad-status=SPANN"; false
    /// (and the reason) when it is malformed.
    bool add(const QString& fault, QString* error = nullptr);
    bool isEmpty() const;
    /// The MODE=VALUE texts that would recreate this set, for messages.
    QStringList describe() const;
    /// One line per mode, for --help.
    static QString help();
};

/// Raw line bytes sent ahead of an answer under garbage-on. None is an escape, so they cannot
/// merge with the answer that follows.
inline constexpr char GarbageBytes[] = {char(0x55), char(0xAA), char(0x7E)};

} // namespace r73::sim
