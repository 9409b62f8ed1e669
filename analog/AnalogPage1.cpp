#include "AnalogPage1.h"

#include <QResizeEvent>

AnalogPage1::AnalogPage1(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}

void AnalogPage1::resizeEvent(QResizeEvent* event)
{
    ui.pnAnalog1->setGeometry(rect());
    QWidget::resizeEvent(event);
}
