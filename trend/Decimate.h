#pragma once
/// Reduces a series to what a plot of a given width can show: per pixel column the first,
/// lowest, highest and last point, in their order. Lines drawn through them look like lines
/// through every point, so a single-sample spike stays visible, at no more than four points per
/// column whatever the span.

#include <QList>
#include <QPointF>

namespace r73 {

/// points: ascending in x. Columns span [x0, x1]; points outside are kept as they are, one on
/// each side (so a line runs to the plot's edges). A point with a NaN value is a gap and is kept.
QList<QPointF> decimate(const QList<QPointF>& points, double x0, double x1, int columns);

} // namespace r73
