// The page "SERVICE": the values of the controller's last motions and the frequency gauge, and
// the release captions of the page "SPANNEN" that depend on the BIOS version.

#include "ControllerModel.h"
#include "ParamFormat.h"
#include "ParamPages.h"
#include "PlanPage.h"
#include "ProgramState.h"
#include "SchwingungPage.h"
#include "ServicePage.h"
#include "SpannenPage.h"
#include "TextHook.h"
#include "TimerWrapper.h"
#include "ZeitenPage.h"
#include "ui_PlanPage.h"
#include "ui_SchwingungPage.h"
#include "ui_ServicePage.h"
#include "ui_SpannenPage.h"
#include "ui_ZeitenPage.h"

#include <QLabel>
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
    const ServiceValues v = m_sets.ReadService(m_host.state().biosVersion);
    m_host.controllerModel().serviceRead(v);
    // From 2.07 on the release fields are captioned as deviations.
    const bool deviations = m_host.state().biosVersion >= 207;
    m_spannen->ui().Label20->setText(tr73(0, deviations ? QStringLiteral("Abweichung pos. [Pulse]")
                                                        : QStringLiteral("Kurz [Pulse]")));
    m_spannen->ui().Label21->setText(tr73(0, deviations ? QStringLiteral("Abweichung neg. [Pulse]")
                                                        : QStringLiteral("Lang [Pulse]")));
    ShowService(v);
}

void TParamPages::ShowService(const ServiceValues& v)
{
    const Ui::ServicePage& s = m_service->ui();
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

QList<QPair<QString, QString>> TParamPages::shownServiceRows() const
{
    const Ui::ServicePage& s = m_service->ui();
    const std::pair<const char*, const QLabel*> rows[] = {
        {"clamp_pulses", s.Label50},      {"release_pulses", s.Label51},
        {"release_deviation", s.Label52}, {"frequency", s.Label53},
        {"max_frequency", s.Label54},     {"creep_frequency", s.Label55},
        {"duration", s.Label56},          {"vibration", s.Label57}};
    QList<QPair<QString, QString>> out;
    for (const auto& [key, label] : rows)
        if (!label->isHidden()) out.append({QString::fromLatin1(key), label->text()});
    return out;
}

void TParamPages::showBios(quint16 bios)
{
    const Ui::ServicePage& service = m_service->ui();
    const bool separatePulses = bios >= 208;
    service.Label50->setText(separatePulses ? tr73(0, QStringLiteral("Spannen [Pulse]"))
                                            : tr73(0, QStringLiteral("Pulse")));
    service.Label51->setText(separatePulses ? tr73(0, QString::fromUtf8("Lösen [Pulse]"))
                                            : QString());
    service.Label50->setVisible(true);
    service.Edit50->setVisible(true);
    for (QWidget* w :
         {static_cast<QWidget*>(service.Label51), static_cast<QWidget*>(service.Label52),
          static_cast<QWidget*>(service.Edit51), static_cast<QWidget*>(service.Edit52)})
        w->setVisible(separatePulses);
    if (bios >= 210) {
        m_spannen->ui().Label65->setVisible(true);
        m_spannen->ui().Edit16->setVisible(true);
    }
    m_spannen->ui().gbHydr->setVisible(bios >= 310);
}

void TParamPages::showUnconnected()
{
    const Ui::ServicePage& service = m_service->ui();
    service.Label50->setText(QStringLiteral("Pulse"));
    service.Label51->setText(QStringLiteral("Pulse"));
    service.Edit50->clear();
    service.Edit51->clear();
    m_spannen->ui().gbHydr->setVisible(false);
    markAllHeld();
}

void TParamPages::showSensor(quint16 sensor)
{
    setGauge(m_service->ui().ProgressBar1, sensor);
}

void TParamPages::showRunningFunction(quint16 outputWord)
{
    if (m_host.state().biosVersion >= 208) return;
    QLabel* pulses = m_service->ui().Label50;
    if (outputWord & 0x01) pulses->setText(tr73(0, QStringLiteral("Pulse Spannen")));
    if (outputWord & 0x02) pulses->setText(tr73(0, QString::fromUtf8("Pulse Lösen")));
}

void TParamPages::showConnectStatus(const QString& text)
{
    m_spannen->ui().Panel11->setText(text);
}

QString TParamPages::connectStatus() const
{
    return m_spannen->ui().Panel11->text();
}

void TParamPages::showStatusPanels(const QString& text)
{
    for (QLabel* panel : {m_spannen->ui().Panel11, m_zeiten->ui().Panel12, m_plan->ui().Panel13,
                          m_schwingung->ui().Panel14})
        panel->setText(text);
}

} // namespace r73
