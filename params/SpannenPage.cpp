#include "SpannenPage.h"

SpannenPage::SpannenPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
}
