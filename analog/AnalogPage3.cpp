#include "AnalogPage3.h"

#include <QResizeEvent>

AnalogPage3::AnalogPage3(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}

void AnalogPage3::resizeEvent(QResizeEvent* event)
{
    ui.pnAnalog3->setGeometry(rect());
    QWidget::resizeEvent(event);
}
