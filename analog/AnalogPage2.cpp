#include "AnalogPage2.h"

#include <QResizeEvent>

AnalogPage2::AnalogPage2(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}

void AnalogPage2::resizeEvent(QResizeEvent* event)
{
    ui.pnAnalog2->setGeometry(rect());
    QWidget::resizeEvent(event);
}
