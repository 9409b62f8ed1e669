// The flat-contact and vibration sets on the pages "PLANANLAGE" and "SCHWINGUNG": reading them,
// the threshold in mm/s and their permanent saves. Their fields are sent by the common handler.

#include "ParamFormat.h"
#include "ParamPages.h"
#include "PlanPage.h"
#include "ProgramState.h"
#include "SchwingungPage.h"

#include <QLineEdit>
#include <QLocale>

namespace r73 {

void TParamPages::ReadPlan()
{
    select("PLAN", 500);
    const quint16 threshold = fetch("F_MIN1@", 501);
    const quint16 timeout = fetch("T_DAUER_TO@", 503);
    m_plan->ui.Edit30->setText(signedText(threshold));
    m_plan->ui.Edit31->setText(signedText(timeout));
}

void TParamPages::ReadSchwing()
{
    select("SCHWING", 600);
    const quint16 threshold = fetch("SCHWING_MAX@", 601);
    const quint16 timeout = fetch("T_DAUER_TO@", 603);
    showThreshold(threshold);
    m_schwingung->ui.Edit41->setText(QString::number(timeout));
}

void TParamPages::showThreshold(quint16 raw)
{
    m_schwingung->ui.Edit40->setText(mmPerSecond(raw, QLocale()));
    setGauge(m_schwingung->ui.ProgressBar3, raw);
}

void TParamPages::Button4Click()
{
    saveSet(FlatChanged, "PLAN", 3000, 3001, 3002,
            QString::fromUtf8("Plananlage: Speichern EEPROM"));
}

void TParamPages::Button6Click()
{
    saveSet(VibrationChanged, "SCHWING", 3000, 3101, 3100,
            QString::fromUtf8("Schwingung: Speichern EEPROM"));
}

} // namespace r73
