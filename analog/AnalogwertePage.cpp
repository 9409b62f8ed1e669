#include "AnalogwertePage.h"

#include "ui_AnalogwertePage.h"

#include <QResizeEvent>

AnalogwertePage::AnalogwertePage(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::AnalogwertePage>())
{
    m_ui->setupUi(this);
}

AnalogwertePage::~AnalogwertePage() = default;

void AnalogwertePage::resizeEvent(QResizeEvent* event)
{
    m_ui->pnAnalogwerte->setGeometry(rect());
    QWidget::resizeEvent(event);
}
