#include "ChangesView.h"

#include "TextHook.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace r73::archive {

ChangesView::ChangesView(QWidget* parent) : QWidget(parent)
{
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("changesFilter"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("changes"));
    m_list->setHeaderLabels({tr73own(QStringLiteral("Datum")), tr73own("Einstellung"),
                             tr73own("Vorher"), tr73own("Nachher"),
                             tr73own(QStringLiteral("Techniker")), tr73own("Herkunft")});
    m_list->setRootIsDecorated(false);
    m_count = new QLabel(this);
    auto* csv = new QPushButton(tr73own(QStringLiteral("CSV exportieren")), this);
    csv->setObjectName(QStringLiteral("changesCsv"));
    auto* head = new QHBoxLayout;
    head->addWidget(m_filter, 1);
    head->addWidget(m_count);
    head->addWidget(csv);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(head);
    layout->addWidget(m_list);
    connect(m_filter, &QComboBox::currentIndexChanged, this, &ChangesView::fill);
    connect(csv, &QPushButton::clicked, this, &ChangesView::exportAsked);
}

void ChangesView::setChanges(QList<Change> changes)
{
    m_changes = std::move(changes);
    const QString chosen = m_filter->currentData().toString();
    QSignalBlocker quiet(m_filter);
    m_filter->clear();
    m_filter->addItem(tr73own("Alle Einstellungen"), QString());
    // Each setting once, by the caption it had last.
    QStringList keys;
    for (const Change& c : m_changes)
        if (!keys.contains(c.setting)) {
            keys << c.setting;
            m_filter->addItem(c.setting == QLatin1String(SaveSetting)
                                  ? tr73own("Dauerhafte Speicherungen")
                                  : c.caption,
                              c.setting);
        }
    m_filter->setCurrentIndex(qMax(0, m_filter->findData(chosen)));
    fill();
}

QList<Change> ChangesView::shown() const
{
    const QString key = m_filter->currentData().toString();
    QList<Change> out;
    for (const Change& c : m_changes)
        if (key.isEmpty() || c.setting == key) out << c;
    return out;
}

void ChangesView::fill()
{
    m_list->clear();
    const QList<Change> changes = shown();
    for (const Change& c : changes)
        m_list->addTopLevelItem(new QTreeWidgetItem(
            {shownTime(c.at), c.caption, c.before, c.after, c.technician, originName(c)}));
    for (int col = 0; col < m_list->columnCount(); ++col)
        m_list->resizeColumnToContents(col);
    m_count->setText(tr73own("%1 Änderungen").arg(changes.size()));
}

} // namespace r73::archive
