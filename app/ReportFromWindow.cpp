#include "ReportFromWindow.h"

#include "Form_cy.h"
#include "ReportOfController.h"

#include <QTreeWidget>

namespace r73 {

report::Table historyTable(const QTreeWidget* list)
{
    report::Table t;
    const QTreeWidgetItem* header = list->headerItem();
    for (int c = 0; c < list->columnCount(); ++c)
        if (c != 1 && c != 2) t.header << header->text(c);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < list->columnCount(); ++c)
            if (c != 1 && c != 2) row << list->topLevelItem(i)->text(c);
        t.rows << row;
    }
    return t;
}

report::ServiceReport reportFromWindow(TForm1& window)
{
    return report::reportOf(window.controllerModel(), window.lastCommError());
}

QList<QPair<QString, double>> countersFromWindow(TForm1& window)
{
    return report::countersOf(window.controllerModel());
}

} // namespace r73
