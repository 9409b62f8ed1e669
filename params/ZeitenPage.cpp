#include "ZeitenPage.h"

ZeitenPage::ZeitenPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}
