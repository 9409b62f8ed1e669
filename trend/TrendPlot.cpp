#include "TrendPlot.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace r73 {

namespace {

constexpr int Gap = 4; ///< between labels, title and plot

/// Decimals a tick step needs: none for 50, one for 0.5.
int decimalsOf(double step)
{
    return qMax(0, int(std::ceil(-std::log10(step) - 1e-9)));
}

/// Tick steps on the time axis, in seconds: what a clock face divides into.
constexpr qint64 TimeSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};

} // namespace

double niceStep(double range, int maxTicks)
{
    if (!(range > 0) || !std::isfinite(range)) return 1;
    const double least = range / qMax(1, maxTicks);
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= least * (1 - 1e-9)) return m * power;
    return 10 * power;
}

TrendPlot::TrendPlot(QAbstractAxis* yAxis, QWidget* parent)
    : QChartView(new QChart, parent), m_time(new QDateTimeAxis), m_y(yAxis ? yAxis : new QValueAxis)
{
    QChart* c = chart();
    c->setMargins(QMargins(4, 2, 4, 2));
    c->layout()->setContentsMargins(0, 0, 0, 0);
    c->setBackgroundRoundness(0);
    c->legend()->setAlignment(Qt::AlignRight);
    c->addAxis(m_time, Qt::AlignBottom);
    c->addAxis(m_y, Qt::AlignLeft);
    // The labels, titles and grid are drawn here: the chart's own elide the labels when the
    // strip is small and put ticks at whatever values divide the range evenly.
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(m_time), m_y}) {
        axis->setLabelsVisible(false);
        axis->setTitleVisible(false);
        axis->setGridLineVisible(false);
    }
    if (const auto* axis = qobject_cast<const QValueAxis*>(m_y)) {
        m_low = axis->min();
        m_high = axis->max();
    }
    setRenderHint(QPainter::Antialiasing, false);
    m_small = font();
    m_small.setPointSizeF(m_small.pointSizeF() * 0.85);
    c->legend()->setFont(m_small);
    setMouseTracking(true);
    setMinimumHeight(110);
}

int TrendPlot::addSeries(const QString& name, const QPen& pen)
{
    auto* s = new QLineSeries;
    s->setName(name);
    s->setPen(pen);
    chart()->addSeries(s);
    s->attachAxis(m_time);
    s->attachAxis(m_y);
    m_series << s;
    m_points << QList<QPointF>();
    return int(m_series.size()) - 1;
}

void TrendPlot::setPoints(int series, const QList<QPointF>& points)
{
    m_points[series] = points;
    viewport()->update();
}

void TrendPlot::setSeriesName(int series, const QString& name)
{
    m_series.at(series)->setName(name);
}

void TrendPlot::setSpan(qint64 from, qint64 to)
{
    m_from = from;
    m_to = qMax(to, from + 1);
    m_time->setRange(QDateTime::fromMSecsSinceEpoch(m_from), QDateTime::fromMSecsSinceEpoch(m_to));
    viewport()->update();
}

void TrendPlot::setValueRange(double low, double high)
{
    m_low = low;
    m_high = high > low ? high : low + 1;
    if (auto* axis = qobject_cast<QValueAxis*>(m_y)) axis->setRange(m_low, m_high);
}

void TrendPlot::setValueAxis(const QString& title, double low, double high)
{
    m_valueTitle = title;
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    // Ticks no closer than two lines of text; the ends on ticks, so the top one is labelled.
    const double room =
        chart()->plotArea().height() > 0 ? chart()->plotArea().height() : double(height() - 20);
    const int lines = int(room / (2.0 * QFontMetricsF(m_small).height()));
    m_step = niceStep(high - low, qMax(1, lines));
    setValueRange(std::floor(low / m_step + 1e-9) * m_step,
                  std::ceil(high / m_step - 1e-9) * m_step);
    viewport()->update();
}

QList<AxisLabel> TrendPlot::valueLabels() const
{
    const QRectF area = chart()->plotArea();
    const QFontMetricsF metrics(m_small);
    QList<AxisLabel> labels;
    const auto add = [&](double value, const QString& text) {
        const double w = metrics.horizontalAdvance(text);
        labels << AxisLabel{
            value, text,
            QRectF(area.left() - Gap - w, yOf(value) - metrics.height() / 2, w, metrics.height())};
    };
    if (!m_laneLabels.isEmpty()) {
        for (qsizetype i = 0; i < m_laneLabels.size(); ++i)
            add(i + 0.5, m_laneLabels.at(i));
        return labels;
    }
    if (!(m_step > 0)) return labels;
    const QLocale locale;
    const int decimals = decimalsOf(m_step);
    const qint64 first = qint64(std::ceil(m_low / m_step - 1e-9));
    for (qint64 n = first; n * m_step <= m_high + m_step * 1e-9; ++n) {
        const double value = n == 0 ? 0.0 : n * m_step; // no "-0"
        add(value, locale.toString(value, 'f', decimals));
    }
    return labels;
}

QList<AxisLabel> TrendPlot::timeLabels() const
{
    const QRectF area = chart()->plotArea();
    const QFontMetricsF metrics(m_small);
    const qint64 span = m_to - m_from;
    // The widest label decides how many fit; seconds only where they tell something.
    const bool seconds = span <= 3 * 3600 * 1000;
    const QString format = seconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm");
    const double width = metrics.horizontalAdvance(QStringLiteral("00:00:00"));
    const int fit = qMax(1, int(area.width() / (width + 3 * Gap)));
    qint64 step = TimeSteps[std::size(TimeSteps) - 1] * 1000;
    for (qint64 s : TimeSteps)
        if (s * 1000 * fit >= span && (seconds || s % 60 == 0)) {
            step = s * 1000;
            break;
        }
    // Round in local time, as the clock on the wall shows it.
    const qint64 offset = qint64(QDateTime::fromMSecsSinceEpoch(m_from).offsetFromUtc()) * 1000;
    qint64 t = m_from + offset;
    t = (t / step + (t % step > 0 ? 1 : 0)) * step - offset;
    QList<AxisLabel> labels;
    for (; t <= m_to; t += step) {
        const QString text = QDateTime::fromMSecsSinceEpoch(t).toString(format);
        const double w = metrics.horizontalAdvance(text);
        // Kept inside the view at its ends.
        const double left = qBound(0.0, xOf(t) - w / 2, qMax(0.0, double(viewport()->width()) - w));
        labels << AxisLabel{double(t), text,
                            QRectF(left, area.bottom() + Gap, w, metrics.height())};
    }
    return labels;
}

int TrendPlot::labelSpace() const
{
    double widest = 0;
    for (const AxisLabel& l : valueLabels())
        widest = qMax(widest, l.rect.width());
    const double title = m_valueTitle.isEmpty() ? 0 : QFontMetricsF(m_small).height() + Gap;
    return int(std::ceil(2 + title + widest + Gap));
}

void TrendPlot::alignPlotArea(double left, double right)
{
    // The margins grow or shrink by what the plot's edges are off the common ones. Above and
    // below, room for half a label: the ticks at the ends are labelled, centred on them.
    const QRectF area = chart()->plotArea();
    const QMargins m = chart()->margins();
    const int line = int(std::ceil(QFontMetricsF(m_small).height()));
    const QMargins wanted(qMax(0, m.left() + int(std::lround(left - area.left()))), line / 2 + 2,
                          qMax(0, m.right() + int(std::lround(area.right() - right))),
                          m_timeLabels ? 2 * line + 2 * Gap : line / 2 + 2);
    if (wanted != m) chart()->setMargins(wanted);
}

void TrendPlot::setLaneLabels(const QStringList& labels)
{
    m_laneLabels = labels;
    m_step = 0;
}

void TrendPlot::setTimeLabels(bool shown, const QString& title)
{
    m_timeLabels = shown;
    m_timeTitle = title;
    viewport()->update();
}

void TrendPlot::setMarkers(const QList<ResultMarker>* markers, bool withText)
{
    m_markers = markers;
    m_markerText = withText;
}

void TrendPlot::setCursor(qint64 msecs)
{
    if (m_cursor == msecs) return;
    m_cursor = msecs;
    viewport()->update();
}

int TrendPlot::columns() const
{
    return qMax(1, int(chart()->plotArea().width()));
}

double TrendPlot::xOf(qint64 msecs) const
{
    const QRectF area = chart()->plotArea();
    return area.left() + area.width() * double(msecs - m_from) / double(m_to - m_from);
}

double TrendPlot::yOf(double value) const
{
    const QRectF area = chart()->plotArea();
    return area.bottom() - area.height() * (value - m_low) / (m_high - m_low);
}

QList<QPolygonF> TrendPlot::polylines(int series) const
{
    QList<QPolygonF> lines(1);
    for (const QPointF& p : m_points.at(series)) {
        if (std::isnan(p.y())) {
            if (!lines.last().isEmpty()) lines << QPolygonF();
            continue;
        }
        lines.last() << QPointF(xOf(qint64(p.x())), yOf(p.y()));
    }
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void TrendPlot::drawForeground(QPainter* painter, const QRectF&)
{
    const QRectF area = chart()->plotArea();
    painter->save();
    painter->setFont(m_small);
    const QFontMetricsF metrics(m_small);
    const QList<AxisLabel> values = valueLabels();
    const QList<AxisLabel> times = timeLabels();
    // The grid first, under the lines; lanes have none, their lines are their rows.
    painter->setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 1));
    if (m_laneLabels.isEmpty())
        for (const AxisLabel& l : values)
            painter->drawLine(QPointF(area.left(), yOf(l.value)),
                              QPointF(area.right(), yOf(l.value)));
    for (const AxisLabel& l : times)
        painter->drawLine(QPointF(xOf(qint64(l.value)), area.top()),
                          QPointF(xOf(qint64(l.value)), area.bottom()));
    painter->setPen(QPen(Qt::black, 1));
    for (const AxisLabel& l : values)
        painter->drawText(l.rect, Qt::AlignRight | Qt::AlignVCenter, l.text);
    if (!m_valueTitle.isEmpty()) {
        // Upright along the left edge, as a chart titles its value axis.
        painter->save();
        painter->translate(2, area.center().y());
        painter->rotate(-90);
        painter->drawText(QRectF(-area.height() / 2, 0, area.height(), metrics.height()),
                          Qt::AlignCenter, m_valueTitle);
        painter->restore();
    }
    if (m_timeLabels) {
        for (const AxisLabel& l : times)
            painter->drawText(l.rect, Qt::AlignCenter, l.text);
        QFont bold = m_small;
        bold.setBold(true);
        painter->setFont(bold);
        painter->drawText(QRectF(area.left(), area.bottom() + Gap + metrics.height(), area.width(),
                                 metrics.height() + Gap),
                          Qt::AlignCenter, m_timeTitle);
        painter->setFont(m_small);
    }
    painter->setClipRect(area);
    for (qsizetype i = 0; i < m_points.size(); ++i) {
        painter->setPen(m_series.at(i)->pen());
        for (const QPolygonF& line : polylines(int(i)))
            painter->drawPolyline(line);
    }
    if (m_markers) {
        painter->setPen(QPen(QColor(0x80, 0x00, 0x80, 0x90), 1, Qt::DashLine));
        double freeFrom = area.left();
        for (const ResultMarker& m : *m_markers) {
            if (m.msecs < m_from || m.msecs > m_to) continue;
            const double x = xOf(m.msecs);
            painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
            // A text only where the one before has ended: close changes keep their lines.
            if (!m_markerText || x < freeFrom) continue;
            // Near the right edge the text stands left of its line, whole.
            const double width = metrics.horizontalAdvance(m.text);
            double textX = x + 3;
            if (textX + width > area.right()) textX = std::max(freeFrom, x - 3 - width);
            painter->drawText(QPointF(textX, area.top() + 12), m.text);
            freeFrom = std::max(x, textX + width) + 6;
        }
    }
    if (m_cursor >= m_from && m_cursor <= m_to) {
        painter->setPen(QPen(Qt::black, 1));
        const double x = xOf(m_cursor);
        painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    painter->restore();
}

void TrendPlot::mouseMoveEvent(QMouseEvent* event)
{
    const QRectF area = chart()->plotArea();
    const QPointF p = mapToScene(event->position().toPoint());
    if (area.contains(p))
        emit cursorMoved(m_from + qint64((p.x() - area.left()) / area.width() * (m_to - m_from)));
    QChartView::mouseMoveEvent(event);
}

void TrendPlot::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps) emit wheelZoom(steps);
    event->accept();
}

} // namespace r73
