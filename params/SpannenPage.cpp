#include "SpannenPage.h"

#include "ui_SpannenPage.h"

SpannenPage::SpannenPage(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::SpannenPage>())
{
    m_ui->setupUi(this);
}

SpannenPage::~SpannenPage() = default;

void SpannenPage::focusFirstField()
{
    m_ui->Edit10->setFocus(Qt::OtherFocusReason);
}

QList<QWidget*> SpannenPage::parameterFields() const
{
    return {m_ui->Edit10, m_ui->Edit11,      m_ui->Edit16,     m_ui->Edit20,
            m_ui->Edit21, m_ui->edHydrPulse, m_ui->edHydrDauer};
}
