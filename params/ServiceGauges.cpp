// The page "SERVICE": the values of the controller's last motions and the frequency gauge, and
// the release captions of the page "SPANNEN" that depend on the BIOS version.

#include "ParamFormat.h"
#include "ParamPages.h"
#include "ProgramState.h"
#include "ServicePage.h"
#include "SpannenPage.h"
#include "TextHook.h"
#include "TimerWrapper.h"

#include <QLineEdit>
#include <QLocale>

namespace r73 {

void TParamPages::ReadService()
{
    // Also ends a pause of polling: the page change to "SERVICE" reads here too.
    m_host.Timer1().setEnabled(true);
    const ServiceValues v = m_sets.ReadService(BiosVersion);
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
    s.Edit53->setText(signedText(v.frequency));
    setGauge(s.ProgressBar2, frequencyGauge(v.frequency));
    s.Edit50->setText(signedText(v.clampPulses));
    s.Edit51->setText(signedText(v.releasePulses));
    s.Edit52->setText(signedText(v.releaseDeviation));
    s.Edit55->setText(signedText(v.creepFrequency));
    s.Edit54->setText(signedText(v.maxFrequency));
    s.Edit56->setText(signedText(v.duration));
    // The vibration gauge is set by the poll's sensor read and already held within its range.
    s.Edit57->setText(mmPerSecond(qMax(0, s.ProgressBar1->value()), QLocale()));
}

} // namespace r73
