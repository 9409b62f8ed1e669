#pragma once
/// One analog channel's configuration as the controller stores it, without the pages: the
/// function names and place numbers of each item's read and write, shared by the channel pages,
/// the backup and r73ctl. Qt Core only.

#include <QString>
#include <QtGlobal>

namespace r73 {

class Exchanger;

/// The four limits of a channel; the value is the units digit of the limit field's tag.
enum class Limit { Min2 = 1, Min1 = 2, Max1 = 3, Max2 = 4 };

/// The order in which a channel read fetches the limits, and a channel write sends them.
inline constexpr Limit LimitReadOrder[] = {Limit::Min2, Limit::Min1, Limit::Max2, Limit::Max1};
inline constexpr Limit LimitWriteOrder[] = {Limit::Max2, Limit::Max1, Limit::Min1, Limit::Min2};

/// Name of a limit as its caption shows it: "Min2", "Min1", "Max1", "Max2".
QString limitName(Limit limit);

/// Place numbers of the calls that differ between the channels.
struct ChannelPlaces
{
    quint16 nameRead, unitRead, zeroRead, rangeRead, nameSend, unitSend, value, flags;
};
const ChannelPlaces& channelPlaces(int channel);

/// Place numbers of the parameter word's two sends: after an input level change, after a click
/// on "Kanal aktiv".
inline constexpr quint16 ParameterWordByLevel = 5300;
inline constexpr quint16 ParameterWordByActive = 5325;

/// A limit as the controller keeps it: raw on its 0..255 scale, and the operator's text.
struct LimitValue
{
    quint16 raw = 0;
    QString text;
};

// Reads: each an Execute of the getter and its ReceiveValue or ReceiveString.
quint16 readParameterWord(Exchanger& ex, int channel);
QString readChannelName(Exchanger& ex, int channel);
QString readChannelUnit(Exchanger& ex, int channel);
QString readRangeBottom(Exchanger& ex, int channel);
QString readRangeTop(Exchanger& ex, int channel);
LimitValue readLimit(Exchanger& ex, int channel, Limit limit);

/// One live reading of a channel: "@ANAn" and its value, then "@PRUEFE_ANALOGn" and the limit
/// flag word.
struct LiveValue
{
    quint16 raw = 0;
    quint16 flags = 0;
};
LiveValue readLiveValue(Exchanger& ex, int channel);

// Writes: each a SendValue or SendString and the setter's Execute; no read-back.
void sendRangeBottom(Exchanger& ex, int channel, const QString& text);
void sendRangeTop(Exchanger& ex, int channel, const QString& text);
void sendChannelName(Exchanger& ex, int channel, const QString& name);
void sendChannelUnit(Exchanger& ex, int channel, const QString& unit);
void sendLimit(Exchanger& ex, int channel, Limit limit, quint16 raw, const QString& text);
/// place: ParameterWordByLevel or ParameterWordByActive.
void sendParameterWord(Exchanger& ex, int channel, quint16 word, quint16 place);

/// Raw value of a physical value on a channel's scale (physMin..physMax onto rawMin..rawMax),
/// rounded half to even, not clamped; rawMin for every value when the range is empty, reversed
/// or not a number. Results beyond the 32-bit range saturate there.
qint64 physToRaw(double value, double physMin, double physMax, qint32 rawMin, qint32 rawMax);
/// Physical value of a raw one on a channel's scale (rawMin..rawMax onto physMin..physMax).
double rawToPhys(qint32 raw, double physMin, double physMax, qint32 rawMin, qint32 rawMax);
/// The raw value at the bottom of a channel's range: 51 for "4-20 mA" (bit 1 of the parameter
/// word), else 0. The top is RawTop once the channel is set up.
constexpr qint32 rawBottom(quint16 parameterWord)
{
    return (parameterWord & 2) ? 51 : 0;
}
inline constexpr qint32 RawTop = 255;

/// Leading and trailing blanks and control characters removed: a name empty after this is
/// refused, a unit empty after this goes as a single blank.
QString trimControls(const QString& text);

} // namespace r73
