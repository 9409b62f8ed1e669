#include "TrendPlot.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>

namespace r73 {

TrendPlot::TrendPlot(QAbstractAxis* yAxis, QWidget* parent)
    : QChartView(new QChart, parent), m_time(new QDateTimeAxis), m_y(yAxis ? yAxis : new QValueAxis)
{
    QChart* c = chart();
    c->setMargins(QMargins(4, 2, 4, 2));
    c->layout()->setContentsMargins(0, 0, 0, 0);
    c->setBackgroundRoundness(0);
    c->legend()->setAlignment(Qt::AlignRight);
    m_time->setFormat(QStringLiteral("HH:mm:ss"));
    m_time->setTickCount(7);
    c->addAxis(m_time, Qt::AlignBottom);
    c->addAxis(m_y, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing, false);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_y->setTitleFont(small);
    m_time->setLabelsFont(small);
    c->legend()->setFont(small);
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
    // Seconds only where they tell something.
    m_time->setFormat(m_to - m_from > 3 * 3600 * 1000 ? QStringLiteral("HH:mm")
                                                      : QStringLiteral("HH:mm:ss"));
}

void TrendPlot::setValueAxis(const QString& title, double low, double high)
{
    auto* axis = qobject_cast<QValueAxis*>(m_y);
    if (!axis) return;
    axis->setTitleText(title);
    axis->setRange(low, high);
}

void TrendPlot::alignPlotArea(double left, double right, int slack)
{
    // Margins grow by what is missing to the common edges, less what all of them have spare.
    const QRectF area = chart()->plotArea();
    const QMargins m = chart()->margins();
    chart()->setMargins(QMargins(m.left() + int(left - area.left()) - slack, m.top(),
                                 m.right() + int(area.right() - right), m.bottom()));
}

void TrendPlot::setLaneLabels(const QStringList& labels)
{
    m_laneLabels = labels;
    if (auto* axis = qobject_cast<QValueAxis*>(m_y)) {
        axis->setLabelsVisible(false);
        axis->setGridLineVisible(false);
    }
}

void TrendPlot::setTimeLabels(bool shown, const QString& title)
{
    m_time->setLabelsVisible(shown);
    m_time->setTitleText(title);
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

void TrendPlot::drawForeground(QPainter* painter, const QRectF&)
{
    const QRectF area = chart()->plotArea();
    const auto* axis = qobject_cast<const QValueAxis*>(m_y);
    const double low = axis ? axis->min() : 0;
    const double high = axis && axis->max() > low ? axis->max() : low + 1;
    painter->save();
    if (!m_laneLabels.isEmpty()) {
        painter->setFont(m_y->labelsFont());
        const double step = area.height() / (high - low);
        for (qsizetype i = 0; i < m_laneLabels.size(); ++i)
            painter->drawText(
                QRectF(area.left() - 40, area.bottom() - (i + 0.5 - low) * step - 8, 34, 16),
                Qt::AlignRight | Qt::AlignVCenter, m_laneLabels.at(i));
    }
    painter->setClipRect(area);
    QPolygonF line;
    for (qsizetype i = 0; i < m_points.size(); ++i) {
        line.clear();
        line.reserve(m_points.at(i).size());
        for (const QPointF& p : m_points.at(i))
            line << QPointF(xOf(qint64(p.x())),
                            area.bottom() - area.height() * (p.y() - low) / (high - low));
        painter->setPen(m_series.at(i)->pen());
        painter->drawPolyline(line);
    }
    if (m_markers) {
        painter->setPen(QPen(QColor(0x80, 0x00, 0x80, 0x90), 1, Qt::DashLine));
        double freeFrom = area.left();
        const QFontMetricsF metrics(painter->font());
        for (const ResultMarker& m : *m_markers) {
            if (m.msecs < m_from || m.msecs > m_to) continue;
            const double x = xOf(m.msecs);
            painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
            // A text only where the one before has ended: close changes keep their lines.
            if (!m_markerText || x < freeFrom) continue;
            painter->drawText(QPointF(x + 3, area.top() + 12), m.text);
            freeFrom = x + 3 + metrics.horizontalAdvance(m.text) + 6;
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
