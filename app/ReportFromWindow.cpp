#include "ReportFromWindow.h"

#include "Form_cy.h"
#include "ReportOfController.h"

namespace r73 {

report::ServiceReport reportFromWindow(TForm1& window)
{
    return report::reportOf(window.controllerModel(), window.lastCommError());
}

QList<QPair<QString, double>> countersFromWindow(TForm1& window)
{
    return report::countersOf(window.controllerModel());
}

} // namespace r73
