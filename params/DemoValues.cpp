// Demo mode: fixed demonstration values in every parameter and service field, written again
// after each page change over whatever the echoing link gave the reads.

#include "ControllerModel.h"
#include "ParamPages.h"
#include "PlanPage.h"
#include "SchwingungPage.h"
#include "ServicePage.h"
#include "SpannenPage.h"
#include "ZeitenPage.h"
#include "ui_PlanPage.h"
#include "ui_SchwingungPage.h"
#include "ui_ServicePage.h"
#include "ui_SpannenPage.h"
#include "ui_ZeitenPage.h"

#include <QLabel>
#include <QLineEdit>

namespace r73 {

void TParamPages::FillDemoValues()
{
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Ui::ZeitenPage& zt = m_zeiten->ui();
    const Ui::ServicePage& sv = m_service->ui();
    // Edit40 gets a plain number here, not mm/s.
    const std::pair<QLineEdit*, int> values[] = {{sp.Edit10, 18},
                                                 {sp.Edit11, 220},
                                                 {sp.Edit16, 260},
                                                 {sp.Edit20, 20},
                                                 {sp.Edit21, -20},
                                                 {zt.Edit12, 0},
                                                 {zt.Edit14, 180},
                                                 {zt.Edit15, 5000},
                                                 {zt.Edit22, 0},
                                                 {zt.Edit24, 200},
                                                 {zt.Edit25, 5000},
                                                 {m_plan->ui().Edit30, 110},
                                                 {m_plan->ui().Edit31, 4000},
                                                 {m_schwingung->ui().Edit40, 100},
                                                 {m_schwingung->ui().Edit41, 4000},
                                                 {sv.Edit50, 0},
                                                 {sv.Edit51, 0},
                                                 {sv.Edit52, 0},
                                                 {sv.Edit53, 0},
                                                 {sv.Edit54, 0},
                                                 {sv.Edit55, 0},
                                                 {sv.Edit56, 10},
                                                 {sv.Edit57, 0}};
    for (const auto& [edit, value] : values)
        edit->setText(QString::number(value));
    // The same values as the controller's in the model; the threshold's 100 is in mm/s.
    const std::pair<const char*, int> words[] = {
        {"clamp.short", 18},           {"clamp.long", 220},
        {"clamp.without_tool", 260},   {"release.short", 20},
        {"release.long", -20},         {"clamp.min_time", 0},
        {"clamp.stop_frequency", 180}, {"clamp.timeout", 5000},
        {"release.min_time", 0},       {"release.stop_frequency", 200},
        {"release.timeout", 5000},     {"flat.threshold", 110},
        {"flat.timeout", 4000},        {"vibration.threshold", 2000},
        {"vibration.timeout", 4000}};
    for (const auto& [key, word] : words)
        learnRead(key, quint16(word));
    ServiceWords service;
    service.duration = 10;
    m_host.controllerModel().serviceRead(service);

    if (m_fillPage6To8) m_fillPage6To8();
}

} // namespace r73
