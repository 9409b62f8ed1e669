#include "AnalogPage1.h"

#include "ui_AnalogPage1.h"

#include <QResizeEvent>

AnalogPage1::AnalogPage1(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::AnalogPage1>())
{
    m_ui->setupUi(this);
    // The limit fields tell themselves apart by their tags: channel, then the limit.
    const std::pair<QLineEdit*, int> tags[] = {
        {m_ui->edtMin2_1, 11}, {m_ui->edtMin1_1, 12}, {m_ui->edtMax1_1, 13}, {m_ui->edtMax2_1, 14}};
    for (const auto& [field, tag] : tags)
        field->setProperty("Tag", tag);
}

AnalogPage1::~AnalogPage1() = default;

void AnalogPage1::resizeEvent(QResizeEvent* event)
{
    m_ui->pnAnalog1->setGeometry(rect());
    QWidget::resizeEvent(event);
}
