#include "AnalogwertePage.h"

#include <QResizeEvent>

AnalogwertePage::AnalogwertePage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}

void AnalogwertePage::resizeEvent(QResizeEvent* event)
{
    ui.pnAnalogwerte->setGeometry(rect());
    QWidget::resizeEvent(event);
}
