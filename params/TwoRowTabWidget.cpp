#include "TwoRowTabWidget.h"

#include <QEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

#include <algorithm>
#include <vector>

namespace {

/// A tab bar that lays its tabs out in rows itself and paints and hit-tests by that layout;
/// selection, keys and signals stay QTabBar's.
class TwoRowTabBar : public QTabBar
{
public:
    explicit TwoRowTabBar(QWidget* parent) : QTabBar(parent)
    {
        setUsesScrollButtons(false);
        setExpanding(false);
        setDrawBase(false);
        setAttribute(Qt::WA_Hover);
    }

    QSize sizeHint() const override
    {
        int width = 0;
        for (int row = 0; row < rowCount(); ++row) {
            int rowWidth = 0;
            for (int i = firstOfRow(row); i < endOfRow(row); ++i)
                rowWidth += naturalWidth(i);
            width = std::max(width, rowWidth);
        }
        // The rows span the whole notebook; the tab widget cuts the hint to its own width.
        if (parentWidget()) width = std::max(width, parentWidget()->width());
        return {width, rowCount() * rowHeight()};
    }

    QSize minimumSizeHint() const override
    {
        return {TwoRowTabWidget::TabsPerRow * 24, rowCount() * rowHeight()};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        const std::vector<QRect> rects = tabRects();
        const int current = currentIndex();
        // The current tab last, so that its raised shape lies over its neighbours.
        for (int i = 0; i < count(); ++i)
            if (i != current) paintTab(painter, i, rects);
        if (current >= 0) paintTab(painter, current, rects);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        const int index = indexAt(event->position().toPoint());
        emit tabBarClicked(index);
        if (index >= 0 && isTabEnabled(index)) setCurrentIndex(index);
        event->accept();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        emit tabBarDoubleClicked(indexAt(event->position().toPoint()));
        event->accept();
    }

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::HoverMove || event->type() == QEvent::HoverEnter ||
            event->type() == QEvent::HoverLeave) {
            const int hover = event->type() == QEvent::HoverLeave
                                  ? -1
                                  : indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
            if (hover != m_hover) {
                m_hover = hover;
                update();
            }
        }
        return QTabBar::event(event);
    }

    void tabLayoutChange() override { update(); }

public:
    QRect rectOf(int index) const
    {
        if (index < 0 || index >= count()) return {};
        return tabRects()[static_cast<size_t>(index)];
    }

private:
    int rowCount() const
    {
        return std::max(1,
                        (count() + TwoRowTabWidget::TabsPerRow - 1) / TwoRowTabWidget::TabsPerRow);
    }
    static int rowOf(int index) { return index / TwoRowTabWidget::TabsPerRow; }
    static int firstOfRow(int row) { return row * TwoRowTabWidget::TabsPerRow; }
    int endOfRow(int row) const
    {
        return std::min(count(), firstOfRow(row) + TwoRowTabWidget::TabsPerRow);
    }

    /// Text plus a narrow margin: ten tabs must share two rows of a 440-pixel window part, so
    /// the style's wide tab padding is not used.
    int naturalWidth(int index) const
    {
        return fontMetrics().horizontalAdvance(tabText(index)) + 2 * TextMargin;
    }

    int rowHeight() const
    {
        int height = 0;
        for (int i = 0; i < count(); ++i)
            height = std::max(height, QTabBar::tabSizeHint(i).height());
        if (height == 0) height = fontMetrics().height() + 8;
        return height;
    }

    /// The row of the current tab is drawn at the bottom, next to the page; the others keep
    /// their order above it.
    int visualRow(int row) const
    {
        const int rows = rowCount();
        const int currentRow = currentIndex() >= 0 ? rowOf(currentIndex()) : rows - 1;
        if (row == currentRow) return rows - 1;
        return row < currentRow ? row : row - 1;
    }

    /// Each row fills the width: every tab gets its natural width plus an even share of what
    /// is left. A row that is too wide takes the room from its widest tabs first, whose texts
    /// are then elided.
    std::vector<QRect> tabRects() const
    {
        std::vector<QRect> rects(static_cast<size_t>(count()));
        const int height = rowHeight();
        for (int row = 0; row < rowCount(); ++row) {
            const int first = firstOfRow(row);
            const int n = endOfRow(row) - first;
            if (n <= 0) continue;
            std::vector<int> widths;
            for (int i = first; i < first + n; ++i)
                widths.push_back(naturalWidth(i));
            fitRow(widths, width());
            const int y = visualRow(row) * height;
            int x = 0;
            for (int k = 0; k < n; ++k) {
                const int w = k == n - 1 ? width() - x : widths[static_cast<size_t>(k)];
                rects[static_cast<size_t>(first + k)] = QRect(x, y, std::max(w, 1), height);
                x += w;
            }
        }
        return rects;
    }

    /// Spreads `total` over the tabs of a row whose natural widths are `widths`.
    static void fitRow(std::vector<int>& widths, int total)
    {
        const int n = static_cast<int>(widths.size());
        int natural = 0;
        for (int w : widths)
            natural += w;
        if (natural <= total) {
            const int spare = total - natural;
            for (int k = 0; k < n; ++k)
                widths[static_cast<size_t>(k)] += spare * (k + 1) / n - spare * k / n;
            return;
        }
        // Too wide: find the cap that the widest tabs are cut to so that the row fits.
        std::vector<int> sorted = widths;
        std::sort(sorted.begin(), sorted.end());
        int remaining = total;
        int cap = 1;
        for (int k = 0; k < n; ++k) {
            const int left = n - k;
            if (sorted[static_cast<size_t>(k)] * left >= remaining) {
                cap = std::max(1, remaining / left);
                break;
            }
            remaining -= sorted[static_cast<size_t>(k)];
        }
        for (int& w : widths)
            w = std::min(w, cap);
    }

    int indexAt(const QPoint& pos) const
    {
        const std::vector<QRect> rects = tabRects();
        for (int i = 0; i < count(); ++i)
            if (rects[static_cast<size_t>(i)].contains(pos)) return i;
        return -1;
    }

    void paintTab(QStylePainter& painter, int index, const std::vector<QRect>& rects) const
    {
        QStyleOptionTab option;
        initStyleOption(&option, index);
        option.rect = rects[static_cast<size_t>(index)];
        const int row = rowOf(index);
        const int first = firstOfRow(row);
        const int last = endOfRow(row) - 1;
        option.position = first == last    ? QStyleOptionTab::OnlyOneTab
                          : index == first ? QStyleOptionTab::Beginning
                          : index == last  ? QStyleOptionTab::End
                                           : QStyleOptionTab::Middle;
        const int current = currentIndex();
        option.selectedPosition = QStyleOptionTab::NotAdjacent;
        if (current >= 0 && rowOf(current) == row) {
            if (current == index - 1) option.selectedPosition = QStyleOptionTab::PreviousIsSelected;
            if (current == index + 1) option.selectedPosition = QStyleOptionTab::NextIsSelected;
        }
        if (index == m_hover && isEnabled() && isTabEnabled(index))
            option.state |= QStyle::State_MouseOver;
        else
            option.state &= ~QStyle::State_MouseOver;
        painter.drawControl(QStyle::CE_TabBarTabShape, option);

        // The style keeps half its tab padding on each side of the text; widen the label's
        // rectangle so that only the narrow margin remains.
        const int hspace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
        const int widen = std::max(0, hspace / 2 - TextMargin);
        const int room = option.rect.width() - 2 * TextMargin;
        option.text = tabText(index);
        if (fontMetrics().horizontalAdvance(option.text) > room)
            option.text = fontMetrics().elidedText(option.text, Qt::ElideRight, room);
        option.rect.adjust(-widen, 0, widen, 0);
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
    }

    static constexpr int TextMargin = 5;

    int m_hover = -1;
};

} // namespace

TwoRowTabWidget::TwoRowTabWidget(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new TwoRowTabBar(this));
}

QRect TwoRowTabWidget::tabRectAt(int index) const
{
    return static_cast<const TwoRowTabBar*>(tabBar())->rectOf(index);
}
