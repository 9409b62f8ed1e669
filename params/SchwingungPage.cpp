#include "SchwingungPage.h"

#include "ui_SchwingungPage.h"

SchwingungPage::SchwingungPage(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::SchwingungPage>())
{
    m_ui->setupUi(this);
}

SchwingungPage::~SchwingungPage() = default;

void SchwingungPage::focusFirstField()
{
    m_ui->Edit40->setFocus(Qt::OtherFocusReason);
}

QList<QWidget*> SchwingungPage::parameterFields() const
{
    return {m_ui->Edit40, m_ui->Edit41};
}
