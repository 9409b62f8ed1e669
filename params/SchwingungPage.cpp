#include "SchwingungPage.h"

SchwingungPage::SchwingungPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}
