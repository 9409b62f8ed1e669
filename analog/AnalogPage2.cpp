#include "AnalogPage2.h"

#include "ui_AnalogPage2.h"

#include <QResizeEvent>

AnalogPage2::AnalogPage2(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::AnalogPage2>())
{
    m_ui->setupUi(this);
    // The limit fields tell themselves apart by their tags: channel, then the limit.
    const std::pair<QLineEdit*, int> tags[] = {
        {m_ui->edtMin2_2, 21}, {m_ui->edtMin1_2, 22}, {m_ui->edtMax1_2, 23}, {m_ui->edtMax2_2, 24}};
    for (const auto& [field, tag] : tags)
        field->setProperty("Tag", tag);
}

AnalogPage2::~AnalogPage2() = default;

void AnalogPage2::resizeEvent(QResizeEvent* event)
{
    m_ui->pnAnalog2->setGeometry(rect());
    QWidget::resizeEvent(event);
}
