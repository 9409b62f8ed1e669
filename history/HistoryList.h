#pragma once
/// The history list `ListView1`: one row per element of the controller's history, highest
/// number on top. Caption = column 0 (the number); columns 1 and 2 (type, subtype) stay hidden;
/// then clamp travel, clamp result, release travel, release result.
///
/// The list stays sorted by inserting each element at its place, and the captions are kept in a
/// set beside it, so adding k elements costs about k log k, not a re-sort and a scan each.

#include "HistoryReads.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QTreeWidget;
class QTreeWidgetItem;

namespace r73 {

/// The list's order: 0 for equal numbers, 1 when a's number is smaller (a after b), else -1;
/// 0 when either caption is not a number.
int ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b);

class HistoryList
{
public:
    explicit HistoryList(QTreeWidget* view);

    /// True when an item's caption equals text exactly.
    bool FindItem(const QString& text) const;
    /// Lists a valid element at its place unless its number is listed already. True when the
    /// number was listed (nothing added); false when added or when the marker is not valid.
    bool AddElement(const HistElement& element);
    /// Lists the lines a backup recorded of the list ("17 | 120 | OK | ..."), in their order,
    /// the hidden columns empty: what a file holds, not what a controller reports.
    void addRecorded(const QStringList& lines);
    /// Empties the list; the controller's history is not touched.
    void clear();
    int count() const;

private:
    QTreeWidget* m_view;
    QSet<QString> m_captions;
};

} // namespace r73
