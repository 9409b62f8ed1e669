#include "ZeitenPage.h"

#include "ui_ZeitenPage.h"

ZeitenPage::ZeitenPage(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::ZeitenPage>())
{
    m_ui->setupUi(this);
}

ZeitenPage::~ZeitenPage() = default;

void ZeitenPage::focusFirstField()
{
    m_ui->Edit12->setFocus(Qt::OtherFocusReason);
}

QList<QWidget*> ZeitenPage::parameterFields() const
{
    return {m_ui->Edit12, m_ui->Edit14, m_ui->Edit15, m_ui->Edit22, m_ui->Edit24, m_ui->Edit25};
}
