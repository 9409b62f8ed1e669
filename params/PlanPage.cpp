#include "PlanPage.h"

#include "ui_PlanPage.h"

PlanPage::PlanPage(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::PlanPage>())
{
    m_ui->setupUi(this);
}

PlanPage::~PlanPage() = default;

void PlanPage::focusFirstField()
{
    m_ui->Edit30->setFocus(Qt::OtherFocusReason);
}

QList<QWidget*> PlanPage::parameterFields() const
{
    return {m_ui->Edit30, m_ui->Edit31};
}
