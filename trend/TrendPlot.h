#pragma once
/// One strip of the trend window: a chart over the shown time span with its axes and legend.
/// The lines themselves, the markers where the test result changed and the reading cursor are
/// drawn over the chart: laid out as chart series, an hour of points would take several frames.

#include <QChartView>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QPolygonF>

class QAbstractAxis;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace r73 {

struct ResultMarker
{
    qint64 msecs;
    QString text;
};

/// A tick of an axis: its value (milliseconds since the epoch on the time axis), its text and
/// where that is drawn in the view.
struct AxisLabel
{
    double value;
    QString text;
    QRectF rect;
};

/// The tick step for range shown with at most maxTicks steps: 1, 2 or 5 times a power of ten.
double niceStep(double range, int maxTicks);

class TrendPlot : public QChartView
{
    Q_OBJECT
public:
    /// yAxis: the value axis, or null for a plain one titled later.
    explicit TrendPlot(QAbstractAxis* yAxis = nullptr, QWidget* parent = nullptr);

    /// Adds a series drawn with pen; its index for setPoints.
    int addSeries(const QString& name, const QPen& pen);
    /// Replaces a series' points (x in milliseconds since the epoch), already decimated. A point
    /// with a NaN value is a gap: nothing was read there, and the line stops.
    void setPoints(int series, const QList<QPointF>& points);
    /// The lines the series is drawn as, in the view; one per stretch without a gap.
    QList<QPolygonF> polylines(int series) const;
    void setSeriesName(int series, const QString& name);
    void setSpan(qint64 from, qint64 to);
    /// A plain value axis' title and the range to show; the axis widens it to round ticks as
    /// many as its height has room for.
    void setValueAxis(const QString& title, double low, double high);
    void setTimeLabels(bool shown, const QString& title = {});
    /// The labels as drawn now, at their ticks.
    QList<AxisLabel> valueLabels() const;
    QList<AxisLabel> timeLabels() const;
    /// Room the value axis' labels and title take left of the plot.
    int labelSpace() const;
    /// Moves the plot's edges to the given ones (in the view), so the strips' time axes line up
    /// whatever their value labels and legends need. Both must lie within what the plot's
    /// labels leave: left at least labelSpace() from the view's edge.
    void alignPlotArea(double left, double right);
    void setMarkers(const QList<ResultMarker>* markers, bool withText);
    void setCursor(qint64 msecs); ///< 0: none
    /// Names drawn left of the plot at the values 0.5, 1.5, ... (the lanes of a strip), in
    /// place of the value axis' labels.
    void setLaneLabels(const QStringList& labels);
    /// Pixel columns of the plot area, the width data is reduced to.
    int columns() const;

signals:
    void cursorMoved(qint64 msecs);
    void wheelZoom(int steps);

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    double xOf(qint64 msecs) const;
    double yOf(double value) const;
    void setValueRange(double low, double high);
    QDateTimeAxis* m_time;
    QAbstractAxis* m_y;
    QList<QLineSeries*> m_series; ///< empty: they give the legend its entries
    QList<QList<QPointF>> m_points;
    QStringList m_laneLabels;
    QString m_valueTitle;
    QString m_timeTitle;
    bool m_timeLabels = true;
    QFont m_small;
    double m_low = 0;
    double m_high = 1;
    double m_step = 0; ///< of the value ticks; 0: none
    const QList<ResultMarker>* m_markers = nullptr;
    bool m_markerText = false;
    qint64 m_from = 0;
    qint64 m_to = 1;
    qint64 m_cursor = 0;
};

} // namespace r73
