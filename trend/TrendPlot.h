#pragma once
/// One strip of the trend window: a chart over the shown time span with its axes and legend.
/// The lines themselves, the markers where the test result changed and the reading cursor are
/// drawn over the chart: laid out as chart series, an hour of points would take several frames.

#include <QChartView>
#include <QList>
#include <QPen>
#include <QPointF>

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

class TrendPlot : public QChartView
{
    Q_OBJECT
public:
    /// yAxis: the value axis, or null for a plain one titled later.
    explicit TrendPlot(QAbstractAxis* yAxis = nullptr, QWidget* parent = nullptr);

    /// Adds a series drawn with pen; its index for setPoints.
    int addSeries(const QString& name, const QPen& pen);
    /// Replaces a series' points (x in milliseconds since the epoch), already decimated.
    void setPoints(int series, const QList<QPointF>& points);
    void setSeriesName(int series, const QString& name);
    void setSpan(qint64 from, qint64 to);
    /// A plain value axis' title and range.
    void setValueAxis(const QString& title, double low, double high);
    void setTimeLabels(bool shown, const QString& title = {});
    /// Moves the plot's edges to the given ones (in the view) and its left one back by slack,
    /// so the strips' time axes line up whatever their value labels and legends need.
    void alignPlotArea(double left, double right, int slack);
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
    QDateTimeAxis* m_time;
    QAbstractAxis* m_y;
    QList<QLineSeries*> m_series; ///< empty: they give the legend its entries
    QList<QList<QPointF>> m_points;
    QStringList m_laneLabels;
    const QList<ResultMarker>* m_markers = nullptr;
    bool m_markerText = false;
    qint64 m_from = 0;
    qint64 m_to = 1;
    qint64 m_cursor = 0;
};

} // namespace r73
