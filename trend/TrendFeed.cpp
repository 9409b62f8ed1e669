#include "TrendFeed.h"

#include <QDateTime>
#include <QMetaObject>

namespace r73 {

namespace {
PollObserver* g_observer = nullptr;

bool sameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}
} // namespace

PollObserver::~PollObserver() = default;

PollObserver* pollObserver()
{
    return g_observer;
}

void setPollObserver(PollObserver* observer)
{
    g_observer = observer;
}

bool TrendRow::empty() const
{
    if (sensor >= 0 || input >= 0 || output >= 0 || status >= 0) return false;
    for (const ChannelSample& c : channels)
        if (c.read) return false;
    return true;
}

bool sameRow(const TrendRow& a, const TrendRow& b)
{
    if (a.msecs != b.msecs || a.sensor != b.sensor || a.input != b.input || a.output != b.output ||
        a.status != b.status || a.selection != b.selection || a.state != b.state ||
        a.finished != b.finished || a.result != b.result)
        return false;
    for (int k = 0; k < TrendChannels; ++k) {
        const ChannelSample& x = a.channels[k];
        const ChannelSample& y = b.channels[k];
        if (x.read != y.read || x.raw != y.raw || x.flags != y.flags || !sameNumber(x.phys, y.phys))
            return false;
        for (int l = 0; l < 4; ++l)
            if (!sameNumber(x.limits[l], y.limits[l])) return false;
    }
    return true;
}

TrendFeed::TrendFeed(QObject* parent) : QObject(parent) {}

TrendRow& TrendFeed::pending()
{
    if (!m_open) {
        m_open = true;
        m_row = TrendRow{};
        m_row.msecs = m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
        QMetaObject::invokeMethod(this, &TrendFeed::commit, Qt::QueuedConnection);
    }
    return m_row;
}

void TrendFeed::sensorRead(quint16 sensor)
{
    pending().sensor = sensor;
}

void TrendFeed::inputRead(quint16 word, const QString& selection)
{
    TrendRow& r = pending();
    r.input = word;
    r.selection = selection;
}

void TrendFeed::outputRead(quint16 word, const QString& state, const QString& finished,
                           const QString& result)
{
    TrendRow& r = pending();
    r.output = word;
    r.state = state;
    r.finished = finished;
    r.result = result;
}

void TrendFeed::statusRead(quint16 status)
{
    pending().status = status;
}

void TrendFeed::channelRead(const ChannelReading& reading)
{
    const int k = qBound(1, reading.channel, TrendChannels) - 1;
    const ChannelInfo info{reading.name, reading.unit};
    if (m_channels[k] != info) {
        m_channels[k] = info;
        m_channelsChanged = true;
    }
    ChannelSample& c = pending().channels[k];
    c.read = true;
    c.raw = reading.raw;
    c.flags = reading.flags;
    c.phys = reading.phys;
    c.limits = reading.limits;
}

void TrendFeed::commit()
{
    if (!m_open) return;
    m_open = false;
    if (m_channelsChanged) {
        m_channelsChanged = false;
        emit channelsChanged(m_channels);
    }
    emit rowReady(m_row);
}

} // namespace r73
