#include "Decimate.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace r73 {

QList<QPointF> decimate(const QList<QPointF>& points, double x0, double x1, int columns)
{
    const auto byX = [](const QPointF& p, double x) { return p.x() < x; };
    auto begin = std::lower_bound(points.begin(), points.end(), x0, byX);
    auto end = std::lower_bound(begin, points.end(), x1,
                                [](const QPointF& p, double x) { return p.x() <= x; });
    QList<QPointF> out;
    if (begin != points.begin()) out << *(begin - 1);
    if (columns < 1 || x1 <= x0 || end - begin <= 4 * columns) {
        for (auto it = begin; it != end; ++it)
            out << *it;
    } else {
        out.reserve(out.size() + 4 * columns + 1);
        const double perColumn = columns / (x1 - x0);
        for (auto it = begin; it != end;) {
            if (std::isnan(it->y())) {
                // A gap stays one, however many fall into a column.
                if (out.isEmpty() || !std::isnan(out.last().y())) out << *it;
                ++it;
                continue;
            }
            const qint64 column = qint64((it->x() - x0) * perColumn);
            auto first = it, low = it, high = it, last = it;
            for (++it;
                 it != end && !std::isnan(it->y()) && qint64((it->x() - x0) * perColumn) == column;
                 ++it) {
                if (it->y() < low->y()) low = it;
                if (it->y() > high->y()) high = it;
                last = it;
            }
            // The four in their order along x, each once.
            auto picks = std::array{first, low, high, last};
            std::sort(picks.begin(), picks.end());
            for (size_t i = 0; i < picks.size(); ++i)
                if (i == 0 || picks[i] != picks[i - 1]) out << *picks[i];
        }
    }
    if (end != points.end()) out << *end;
    return out;
}

} // namespace r73
