#pragma once
/// A controller's changes in the window "Archiv": every write, newest first, with its value
/// before and after, who made it and from where; a filter by setting, and a button that asks
/// for the export of those shown as CSV.

#include "Archive.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace r73::archive {

/// A time as the window shows it: the window's language, the year in full.
QString shownTime(const QDateTime& at);

class ChangesView : public QWidget
{
    Q_OBJECT
public:
    explicit ChangesView(QWidget* parent = nullptr);

    /// The changes of one controller, newest first as the archive gives them.
    void setChanges(QList<Change> changes);
    /// The changes of the setting chosen (all of them without a choice), as listed.
    QList<Change> shown() const;

    QComboBox* filter() const { return m_filter; }
    QTreeWidget* list() const { return m_list; }

signals:
    void exportAsked();

private:
    void fill();

    QList<Change> m_changes;
    QComboBox* m_filter;
    QTreeWidget* m_list;
    QLabel* m_count;
};

} // namespace r73::archive
