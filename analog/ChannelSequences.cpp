#include "ChannelSequences.h"

#include "Exchanger.h"

#include <cmath>
#include <limits>

namespace r73 {

namespace {

/// The controller's name of a channel function: "READ_NAME%1" for channel 2 is "READ_NAME2".
QString fn(const char* pattern, int channel)
{
    return QString::fromLatin1(pattern).arg(channel);
}

/// "MIN2_1" for Min2 of channel 1: the stem of the limit's functions.
QString limitStem(Limit limit, int channel)
{
    return limitName(limit).toUpper() + u'_' + QString::number(channel);
}

QString fetchText(Exchanger& ex, const QString& getter, quint16 place)
{
    ex.Exec(getter, place);
    return ex.ReceiveText(place + 1);
}

} // namespace

QString limitName(Limit limit)
{
    static const char* const names[] = {"Min2", "Min1", "Max1", "Max2"};
    return QString::fromLatin1(names[int(limit) - 1]);
}

const ChannelPlaces& channelPlaces(int channel)
{
    static const ChannelPlaces places[] = {{5100, 5102, 5104, 5106, 5302, 5304, 5158, 5160},
                                           {5116, 5118, 5120, 5122, 5312, 5330, 5150, 5152},
                                           {5132, 5134, 5136, 5138, 5320, 5318, 5154, 5156}};
    return places[qBound(1, channel, 3) - 1];
}

quint16 readParameterWord(Exchanger& ex, int channel)
{
    ex.Exec(fn("@ANA_PARA%1", channel), 5148);
    return ex.Receive(5149);
}

QString readChannelName(Exchanger& ex, int channel)
{
    return fetchText(ex, fn("READ_NAME%1", channel), channelPlaces(channel).nameRead);
}

QString readChannelUnit(Exchanger& ex, int channel)
{
    return fetchText(ex, fn("READ_EINH%1", channel), channelPlaces(channel).unitRead);
}

QString readRangeBottom(Exchanger& ex, int channel)
{
    return fetchText(ex, fn("READ_PHYS_ZERO%1", channel), channelPlaces(channel).zeroRead);
}

QString readRangeTop(Exchanger& ex, int channel)
{
    return fetchText(ex, fn("READ_PHYS_RANGE%1", channel), channelPlaces(channel).rangeRead);
}

LimitValue readLimit(Exchanger& ex, int channel, Limit limit)
{
    const QString stem = limitStem(limit, channel);
    LimitValue v;
    ex.Exec(u'@' + stem, 5112);
    v.raw = ex.Receive(5113);
    v.text = fetchText(ex, QStringLiteral("READ_STR_") + stem, 5108);
    return v;
}

void sendRangeBottom(Exchanger& ex, int channel, const QString& text)
{
    ex.SendText(text, 5315);
    ex.Exec(fn("WRITE_PHYS_ZERO%1", channel), 5316);
}

void sendRangeTop(Exchanger& ex, int channel, const QString& text)
{
    ex.SendText(text, 5310);
    ex.Exec(fn("WRITE_PHYS_RANGE%1", channel), 5311);
}

void sendChannelName(Exchanger& ex, int channel, const QString& name)
{
    const quint16 place = channelPlaces(channel).nameSend;
    ex.SendText(name, place);
    ex.Exec(fn("WRITE_NAME%1", channel), place + 1);
}

void sendChannelUnit(Exchanger& ex, int channel, const QString& unit)
{
    const quint16 place = channelPlaces(channel).unitSend;
    ex.SendText(unit, place);
    ex.Exec(fn("WRITE_EINH%1", channel), place + 1);
}

void sendLimit(Exchanger& ex, int channel, Limit limit, quint16 raw, const QString& text)
{
    const QString stem = limitStem(limit, channel);
    ex.Send(raw, 5306);
    ex.Exec(u'!' + stem, 5307);
    ex.SendText(text, 5308);
    ex.Exec(QStringLiteral("WRITE_STR_") + stem, 5309);
}

void sendParameterWord(Exchanger& ex, int channel, quint16 word, quint16 place)
{
    ex.Send(word, place);
    ex.Exec(fn("!ANA_PARA%1", channel), place + 1);
}

QString trimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

LiveValue readLiveValue(Exchanger& ex, int channel)
{
    const ChannelPlaces& at = channelPlaces(channel);
    LiveValue v;
    ex.Exec(QStringLiteral("@ANA%1").arg(channel), at.value);
    v.raw = ex.Receive(at.value + 1);
    ex.Exec(QStringLiteral("@PRUEFE_ANALOG%1").arg(channel), at.flags);
    v.flags = ex.Receive(at.flags + 1);
    return v;
}

double rawToPhys(qint32 raw, double physMin, double physMax, qint32 rawMin, qint32 rawMax)
{
    const double k = (physMax - physMin) / double(rawMax - rawMin);
    return k * raw + physMin - k * rawMin;
}

qint64 physToRaw(double value, double physMin, double physMax, qint32 rawMin, qint32 rawMax)
{
    const double span = physMax - physMin;
    // Written so that NaN fails the test too.
    const double factor = span > 0 ? double(rawMax - rawMin) / span : 0.0;
    const double offset = rawMin - factor * physMin;
    // nearbyint follows the default rounding mode: halves go to the even integer.
    const double raw = std::nearbyint(factor * value + offset);
    constexpr double lo = std::numeric_limits<qint32>::min();
    constexpr double hi = std::numeric_limits<qint32>::max();
    if (std::isnan(raw)) return rawMin;
    return qint64(qBound(lo, raw, hi));
}

} // namespace r73
