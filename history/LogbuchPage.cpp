#include "LogbuchPage.h"

#include <QHeaderView>
#include <QResizeEvent>

LogbuchPage::LogbuchPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    // Report columns: number, type and subtype (never shown), then the clamp and release travel
    // and result.
    QHeaderView* header = ui.ListView1->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    ui.ListView1->setColumnWidth(0, 50);
    ui.ListView1->setColumnHidden(1, true);
    ui.ListView1->setColumnHidden(2, true);
    for (int column = 3; column <= 6; ++column)
        ui.ListView1->setColumnWidth(column, 70);
}

void LogbuchPage::resizeEvent(QResizeEvent* event)
{
    ui.Panel18->setGeometry(rect());
    QWidget::resizeEvent(event);
}
