#pragma once
/// Gathers the reads of one poll step or live page refresh into a row. A row ends when control
/// returns to the event loop, so the reads of one timer tick make one row, whatever the tick
/// did; the recorder and the trend window take the rows from here.

#include "PollObserver.h"
#include "TrendRow.h"

#include <QObject>
#include <functional>

namespace r73 {

class TrendFeed : public QObject, public PollObserver
{
    Q_OBJECT
public:
    explicit TrendFeed(QObject* parent = nullptr);

    void sensorRead(quint16 sensor) override;
    void inputRead(quint16 word, const QString& selection) override;
    void outputRead(quint16 word, const QString& state, const QString& finished,
                    const QString& result) override;
    void statusRead(quint16 status) override;
    void channelRead(const ChannelReading& reading) override;
    void channelInactive(int channel, const QString& name, const QString& unit) override;

    /// Ends the row now (the event loop would end it at its next turn).
    void commit();
    const ChannelInfos& channels() const { return m_channels; }
    /// The time rows are stamped with, milliseconds since the epoch: the wall clock unless
    /// set (a benchmark makes an hour of rows in seconds).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

signals:
    /// A channel's name or unit differs from the rows before; comes before that row.
    void channelsChanged(const r73::ChannelInfos& channels);
    void rowReady(const r73::TrendRow& row);

private:
    TrendRow& pending();
    void learn(int k, const ChannelInfo& info);
    TrendRow m_row;
    bool m_open = false;
    bool m_channelsChanged = false;
    ChannelInfos m_channels;
    std::function<qint64()> m_clock;
};

} // namespace r73
