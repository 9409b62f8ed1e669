#include "SimStatus.h"

#include <QHash>
#include <functional>

namespace r73::sim {

namespace {

using Reading = std::function<quint16(const SimCycle&)>;

const QHash<QString, Reading>& readings()
{
    // R_INPORT and R_OPORT are answered in read(), where a frozen word can stand in.
    static const QHash<QString, Reading> map{
        {"R_SENSOR", [](const SimCycle& c) { return c.sensor(); }},
        {"ACT_FREQ", [](const SimCycle& c) { return c.actualFrequency(); }},
        {"ACT_ZAEHLER", [](const SimCycle& c) { return c.actualPulses(); }},
        {"F@", [](const SimCycle& c) { return c.lastMotion().meanFreq; }},
        {"M_SPANN@", [](const SimCycle& c) { return c.lastMotion().pulses; }},
        {"M_GESAMT@", [](const SimCycle& c) { return c.totalPulses(); }},
        {"M_SCHLEICH@", [](const SimCycle& c) { return c.lastMotion().creepPulses; }},
        {"F_SCHLEICH@", [](const SimCycle& c) { return c.lastMotion().creepFreq; }},
        {"F_MAX@", [](const SimCycle& c) { return c.lastMotion().maxFreq; }},
        {"T_DAUER@", [](const SimCycle& c) { return c.lastMotion().durationMs; }},
        {"LAST_SPANN@", [](const SimCycle& c) { return c.lastClamp().pulses; }},
        {"LAST_LOES@", [](const SimCycle& c) { return c.lastRelease().pulses; }},
        {"ABW_LOES@", [](const SimCycle& c) { return quint16(c.releaseDeviation()); }},
    };
    return map;
}

} // namespace

SimStatus::SimStatus(quint64 seed, quint16 bios, const PermanentStore& params)
    : m_cycle(seed, bios, params)
{}

bool SimStatus::provides(const QString& name)
{
    return readings().contains(name) || name == QLatin1String("R_INPORT") ||
           name == QLatin1String("R_OPORT") || name == QLatin1String("#MESSEN@");
}

quint16 SimStatus::read(const QString& name) const
{
    if (m_still) return m_still->value(name, 0);
    if (name == QLatin1String("R_INPORT")) return m_inputOverride.value_or(m_cycle.inputWord());
    if (name == QLatin1String("R_OPORT")) return m_outputOverride.value_or(m_cycle.outputWord());
    if (name == QLatin1String("#MESSEN@"))
        return m_cycle.measuringBits() | (m_testMode ? MeasTestMode : 0);
    const auto it = readings().constFind(name);
    return it == readings().constEnd() ? 0 : (*it)(m_cycle);
}

} // namespace r73::sim
