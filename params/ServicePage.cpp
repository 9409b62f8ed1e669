#include "ServicePage.h"

#include "ui_ServicePage.h"

ServicePage::ServicePage(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::ServicePage>())
{
    m_ui->setupUi(this);
}

ServicePage::~ServicePage() = default;
