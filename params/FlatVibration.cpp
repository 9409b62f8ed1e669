// The flat-contact and vibration sets on the pages "PLANANLAGE" and "SCHWINGUNG": reading them,
// the threshold in mm/s and their permanent saves. Their fields are sent by the common handler.

#include "ParamFormat.h"
#include "ParamPages.h"
#include "PlanPage.h"
#include "ProgramState.h"
#include "SchwingungPage.h"
#include "ui_PlanPage.h"
#include "ui_SchwingungPage.h"

#include <QLineEdit>
#include <QLocale>

namespace r73 {

void TParamPages::ReadPlan()
{
    const PairWords w = m_sets.ReadPlan();
    m_plan->ui().Edit30->setText(signedText(w.threshold));
    m_plan->ui().Edit31->setText(signedText(w.timeout));
    learnRead("flat.threshold", w.threshold);
    learnRead("flat.timeout", w.timeout);
}

void TParamPages::ReadSchwing()
{
    const PairWords w = m_sets.ReadSchwing();
    showThreshold(w.threshold);
    m_schwingung->ui().Edit41->setText(QString::number(w.timeout));
    learnRead("vibration.threshold", w.threshold);
    learnRead("vibration.timeout", w.timeout);
}

void TParamPages::showThreshold(quint16 raw)
{
    m_schwingung->ui().Edit40->setText(mmPerSecond(raw, QLocale()));
    setGauge(m_schwingung->ui().ProgressBar3, raw);
}

void TParamPages::Button4Click()
{
    m_savedNow.clear();
    saveSet(m_host.state().flatChanged, SetId::Flat,
            QString::fromUtf8("Plananlage: Speichern EEPROM"));
}

void TParamPages::Button6Click()
{
    m_savedNow.clear();
    saveSet(m_host.state().vibrationChanged, SetId::Vibration,
            QString::fromUtf8("Schwingung: Speichern EEPROM"));
}

} // namespace r73
