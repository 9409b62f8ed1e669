#include "TrendFeed.h"

#include "KeepAlive.h"

#include <QDateTime>
#include <QLocale>
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

int decimalsFor(double step)
{
    if (!(step > 0) || !std::isfinite(step)) return -1;
    // Half a unit of the last decimal at most a tenth of a step: 0..50 over 255 steps is 0.20.
    double unit = 1;
    for (int d = 0; d <= 9; ++d, unit /= 10)
        if (unit <= step / 5 * (1 + 1e-9)) return d;
    return -1;
}

double roundedTo(double value, int decimals)
{
    if (decimals < 0 || !std::isfinite(value)) return value;
    const double rounded = QLocale::c().toString(value, 'f', decimals).toDouble();
    return rounded == 0 ? 0.0 : rounded; // no "-0.00"
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

void TrendFeed::learn(int k, const ChannelInfo& info)
{
    if (m_channels[k] == info) return;
    m_channels[k] = info;
    m_channelsChanged = true;
}

void TrendFeed::channelRead(const ChannelReading& reading)
{
    const int k = qBound(1, reading.channel, TrendChannels) - 1;
    learn(k, {reading.name, reading.unit});
    ChannelSample& c = pending().channels[k];
    c.read = true;
    c.raw = reading.raw;
    c.flags = reading.flags;
    // Digits beyond what a raw step resolves are noise of the scaling: the rows keep what the
    // files keep, so a replay shows what the live window showed. The limits stay as the
    // controller states them.
    c.decimals = qint8(decimalsFor(reading.step));
    c.phys = roundedTo(reading.phys, c.decimals);
    c.limits = reading.limits;
}

void TrendFeed::channelInactive(int channel, const QString& name, const QString& unit)
{
    learn(qBound(1, channel, TrendChannels) - 1, {name, unit});
}

void TrendFeed::commit()
{
    if (!m_open) return;
    // The window's turn during a long sequence is not the end of the step: its reads stay
    // one row, committed at the next turn after the sequence.
    if (insideExchange()) {
        QMetaObject::invokeMethod(this, &TrendFeed::commit, Qt::QueuedConnection);
        return;
    }
    m_open = false;
    if (m_channelsChanged) {
        m_channelsChanged = false;
        emit channelsChanged(m_channels);
    }
    emit rowReady(m_row);
}

} // namespace r73
