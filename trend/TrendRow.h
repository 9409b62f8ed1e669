#pragma once
/// One row of the trend: the values one poll step or one refresh of the live analog page read,
/// stamped with the time of its first read. A value not read in that step stays unset.

#include <QString>
#include <QtGlobal>
#include <array>
#include <cmath>

namespace r73 {

inline constexpr int TrendChannels = 3;
/// The limits in the order of their columns.
inline constexpr const char* TrendLimitNames[4] = {"Min2", "Min1", "Max1", "Max2"};

struct ChannelSample
{
    bool read = false;
    quint16 raw = 0;
    quint16 flags = 0;
    double phys = NAN;
    std::array<double, 4> limits{NAN, NAN, NAN, NAN}; ///< as TrendLimitNames
    /// Decimals phys is rounded to, those one raw step needs; −1: as it came.
    qint8 decimals = -1;

    bool operator==(const ChannelSample&) const = default;
};

/// The decimals that show a value to a tenth of one raw step (physical units); −1 for a step
/// that is no positive number.
int decimalsFor(double step);
/// value rounded to decimals (−1: unchanged), exactly as its text with them reads back.
double roundedTo(double value, int decimals);

struct TrendRow
{
    qint64 msecs = 0;   ///< since the epoch
    qint32 sensor = -1; ///< −1: not read in this step (the same for the words below)
    qint32 input = -1;
    qint32 output = -1;
    qint32 status = -1;
    QString selection; ///< the texts as shown; empty when not read
    QString state;
    QString finished;
    QString result;
    std::array<ChannelSample, TrendChannels> channels;

    bool empty() const;
};

/// A channel's name and unit, as the header of a file names it.
struct ChannelInfo
{
    QString name;
    QString unit;
    bool operator==(const ChannelInfo&) const = default;
};
using ChannelInfos = std::array<ChannelInfo, TrendChannels>;

/// NaN-aware equality, for rows read back from a file.
bool sameRow(const TrendRow& a, const TrendRow& b);

} // namespace r73
