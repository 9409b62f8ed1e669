#pragma once
/// Told of every value the live poll cycle and the live analog page read, as they read it and
/// with the texts they show. Watching adds no exchanges: the readers call it after their reads.

#include <QString>
#include <QtGlobal>
#include <array>
#include <cmath>

namespace r73 {

/// One channel's refresh on the live analog page.
struct ChannelReading
{
    int channel = 1; ///< 1..3
    QString name;
    QString unit;
    quint16 raw = 0;
    quint16 flags = 0; ///< the limit flag word
    double phys = 0;
    /// Physical limits Min2, Min1, Max1, Max2; NaN for a limit the controller refused.
    std::array<double, 4> limits{};
    /// What one raw step is in physical units; NaN when the channel's scale is not known.
    double step = NAN;
};

class PollObserver
{
public:
    virtual ~PollObserver();
    virtual void sensorRead(quint16 sensor) = 0;
    virtual void inputRead(quint16 word, const QString& selection) = 0;
    virtual void outputRead(quint16 word, const QString& state, const QString& finished,
                            const QString& result) = 0;
    virtual void statusRead(quint16 status) = 0;
    virtual void channelRead(const ChannelReading& reading) = 0;
    /// A channel the live analog page found switched off: its name and unit, no value.
    virtual void channelInactive(int channel, const QString& name, const QString& unit) = 0;
};

/// The program-wide observer, null when nobody watches.
PollObserver* pollObserver();
void setPollObserver(PollObserver* observer);

} // namespace r73
