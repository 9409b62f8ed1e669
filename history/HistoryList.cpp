#include "HistoryList.h"

#include "TextHook.h"

#include <QTreeWidget>

namespace r73 {

int ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b)
{
    bool okA = false;
    bool okB = false;
    const int na = a->text(0).toInt(&okA);
    const int nb = b->text(0).toInt(&okB);
    if (!okA || !okB || na == nb) return 0;
    return na < nb ? 1 : -1;
}

HistoryList::HistoryList(QTreeWidget* view) : m_view(view)
{
    // The order is kept by inserting at the right place; a header click re-sorts nothing.
    m_view->setSortingEnabled(false);
}

bool HistoryList::FindItem(const QString& text) const
{
    return m_captions.contains(text);
}

bool HistoryList::AddElement(const HistElement& e)
{
    if (e.marker != HistElement::HistoryMarker) return false;
    const QString caption = QString::number(e.number);
    if (FindItem(caption)) return true;
    auto* item = new QTreeWidgetItem(historyCells(e));
    // The first place whose item sorts after the new one. A history read newest first lands at
    // the end each time.
    int lo = 0;
    int hi = m_view->topLevelItemCount();
    if (hi > 0 && ListView1Compare(m_view->topLevelItem(hi - 1), item) < 0) lo = hi;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (ListView1Compare(m_view->topLevelItem(mid), item) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    m_view->insertTopLevelItem(lo, item);
    m_captions.insert(caption);
    return false;
}

void HistoryList::addRecorded(const QStringList& lines)
{
    for (const QString& line : lines) {
        QStringList cells = line.split(QStringLiteral(" | "));
        cells.insert(1, QString());
        cells.insert(2, QString());
        if (FindItem(cells.first())) continue;
        m_view->addTopLevelItem(new QTreeWidgetItem(cells));
        m_captions.insert(cells.first());
    }
}

void HistoryList::clear()
{
    m_view->clear();
    m_captions.clear();
}

int HistoryList::count() const
{
    return m_view->topLevelItemCount();
}

} // namespace r73
