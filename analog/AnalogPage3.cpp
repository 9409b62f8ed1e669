#include "AnalogPage3.h"

#include "ui_AnalogPage3.h"

#include <QResizeEvent>

AnalogPage3::AnalogPage3(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::AnalogPage3>())
{
    m_ui->setupUi(this);
    // The limit fields tell themselves apart by their tags: channel, then the limit.
    const std::pair<QLineEdit*, int> tags[] = {
        {m_ui->edtMin2_3, 31}, {m_ui->edtMin1_3, 32}, {m_ui->edtMax1_3, 33}, {m_ui->edtMax2_3, 34}};
    for (const auto& [field, tag] : tags)
        field->setProperty("Tag", tag);
}

AnalogPage3::~AnalogPage3() = default;

void AnalogPage3::resizeEvent(QResizeEvent* event)
{
    m_ui->pnAnalog3->setGeometry(rect());
    QWidget::resizeEvent(event);
}
