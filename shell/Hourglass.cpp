#include "Hourglass.h"

#include <QApplication>
#include <QCursor>

namespace r73 {

void Hourglass::show()
{
    if (m_shown) return;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_shown = true;
}

void Hourglass::restore()
{
    if (!m_shown) return;
    QApplication::restoreOverrideCursor();
    m_shown = false;
}

} // namespace r73
