// The page "SERVICE": the values of the controller's last motions and the frequency gauge, and
// the release captions of the page "SPANNEN" that depend on the BIOS version.

#include "ControllerModel.h"
#include "ParamFormat.h"
#include "ParamPages.h"
#include "ProgramState.h"
#include "ServicePage.h"
#include "SpannenPage.h"
#include "TextHook.h"
#include "TimerWrapper.h"

#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>

namespace r73 {

void setGauge(QProgressBar* gauge, int value)
{
    gauge->setValue(qBound(gauge->minimum(), value, gauge->maximum()));
}

void TParamPages::ReadService()
{
    // Also ends a pause of polling: the page change to "SERVICE" reads here too.
    m_host.Timer1().setEnabled(true);
    const ServiceValues v = m_sets.ReadService(BiosVersion);
    m_host.controllerModel().serviceRead(v);
    // From 2.07 on the release fields are captioned as deviations.
    const bool deviations = BiosVersion >= 207;
    m_spannen->ui.Label20->setText(tr73(0, deviations ? QStringLiteral("Abweichung pos. [Pulse]")
                                                      : QStringLiteral("Kurz [Pulse]")));
    m_spannen->ui.Label21->setText(tr73(0, deviations ? QStringLiteral("Abweichung neg. [Pulse]")
                                                      : QStringLiteral("Lang [Pulse]")));
    ShowService(v);
}

void TParamPages::ShowService(const ServiceValues& v)
{
    const Ui::ServicePage& s = m_service->ui;
    // Each by the rule of the service values; the logbook, report and archive read these fields.
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"frequency", s.Edit53},       {"clamp_pulses", s.Edit50},
        {"release_pulses", s.Edit51},  {"release_deviation", s.Edit52},
        {"creep_frequency", s.Edit55}, {"max_frequency", s.Edit54},
        {"duration", s.Edit56}};
    for (const auto& [key, edit] : fields) {
        const ServiceDef& def = *serviceDef(QLatin1String(key));
        edit->setText(QString::number(serviceNumber(def, v.*def.word)));
    }
    setGauge(s.ProgressBar2, frequencyGauge(v.frequency));
    // The vibration gauge is set by the poll's sensor read and already held within its range.
    s.Edit57->setText(mmPerSecond(qMax(0, s.ProgressBar1->value()), QLocale()));
}

} // namespace r73
