#include "PlanPage.h"

PlanPage::PlanPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}
