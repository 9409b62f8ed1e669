#include "LogbuchPage.h"

#include "ui_LogbuchPage.h"

#include <QHeaderView>
#include <QResizeEvent>

LogbuchPage::LogbuchPage(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::LogbuchPage>())
{
    m_ui->setupUi(this);
    // Report columns: number, type and subtype (never shown), then the clamp and release travel
    // and result.
    QHeaderView* header = m_ui->ListView1->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    m_ui->ListView1->setColumnWidth(0, 50);
    m_ui->ListView1->setColumnHidden(1, true);
    m_ui->ListView1->setColumnHidden(2, true);
    for (int column = 3; column <= 6; ++column)
        m_ui->ListView1->setColumnWidth(column, 70);
}

LogbuchPage::~LogbuchPage() = default;

void LogbuchPage::resizeEvent(QResizeEvent* event)
{
    m_ui->Panel18->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void LogbuchPage::focusReadButton()
{
    if (m_ui->Button8->isVisible()) m_ui->Button8->setFocus(Qt::OtherFocusReason);
}
