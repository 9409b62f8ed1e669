#include "FiPri.h"

#include <QFontDatabase>

TFileForm::TFileForm(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    // The logbook's columns are made with tabs and blanks; they line up only in a fixed pitch.
    ui.Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}
