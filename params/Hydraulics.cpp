// Hydraulic monitoring (BIOS 3.10 on) in the group "HYDRAULIKÜBERWACHUNG" of the page
// "SPANNEN": the switch and its read. The pulse and duration fields use the common send.

#include "ParamPages.h"
#include "ProgramState.h"
#include "SpannenPage.h"
#include "ui_SpannenPage.h"

#include <QCheckBox>
#include <QLineEdit>

namespace r73 {

void TParamPages::showHydraulics(const HydraulicWords& values)
{
    const Ui::SpannenPage& sp = m_spannen->ui();
    // A changed state runs cbHydrClick, as a click would.
    sp.cbHydr->setChecked(values.enabled != 0);
    sp.edHydrDauer->setText(QString::number(values.duration));
    sp.edHydrPulse->setText(QString::number(values.pulses));
}

void TParamPages::cbHydrClick()
{
    // The connect step's read sets the box; nothing goes back then.
    if (m_host.state().connecting) return;
    SendEnHydr();
    m_host.state().clampChanged = true;
}

void TParamPages::SendEnHydr()
{
    const bool on = m_spannen->ui().cbHydr->isChecked();
    m_sets.SendEnHydr(on);
    // Nothing is read back: the model holds the word the switch sends.
    learnSent("hydraulics.enabled", on ? 0xFFFF : 0);
}

} // namespace r73
