#include "ServicePage.h"

ServicePage::ServicePage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}
