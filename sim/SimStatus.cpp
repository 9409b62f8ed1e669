#include "SimStatus.h"

#include <QSet>

namespace r73::sim {

SimStatus::SimStatus(quint64 seed) : m_rng(seed)
{
    m_counter = around(1000, 9000);
}

quint64 SimStatus::next()
{
    // splitmix64: tiny, good enough spread, identical on every platform.
    quint64 z = (m_rng += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool SimStatus::provides(const QString& name)
{
    static const QSet<QString> names{"R_SENSOR",  "ACT_FREQ",    "ACT_ZAEHLER", "R_INPORT",
                                     "R_OPORT",   "#MESSEN@",    "F@",          "M_SPANN@",
                                     "M_GESAMT@", "M_SCHLEICH@", "F_SCHLEICH@", "F_MAX@",
                                     "T_DAUER@",  "LAST_SPANN@", "LAST_LOES@",  "ABW_LOES@"};
    return names.contains(name);
}

quint16 SimStatus::read(const QString& name)
{
    if (name == QLatin1String("R_SENSOR")) return around(480, 64);
    if (name == QLatin1String("ACT_FREQ")) return m_testRunning ? around(1150, 100) : 0;
    if (name == QLatin1String("ACT_ZAEHLER")) return m_testRunning ? ++m_counter : m_counter;
    if (name == QLatin1String("R_INPORT")) // bits 0 and 4: supply and door; bit 2 while testing
        return m_testRunning ? 0x0015 : 0x0011;
    if (name == QLatin1String("R_OPORT")) return m_testRunning ? 0x0013 : 0x0001;
    if (name == QLatin1String("#MESSEN@")) return m_testRunning ? ++m_measurements : m_measurements;
    if (name == QLatin1String("F@")) return around(400, 200);
    if (name == QLatin1String("M_SPANN@")) return around(2000, 500);
    if (name == QLatin1String("M_GESAMT@")) return around(2500, 500);
    if (name == QLatin1String("M_SCHLEICH@")) return around(100, 50);
    if (name == QLatin1String("F_SCHLEICH@")) return around(30, 20);
    if (name == QLatin1String("F_MAX@")) return around(900, 100);
    if (name == QLatin1String("T_DAUER@")) return around(1500, 500);
    if (name == QLatin1String("LAST_SPANN@")) return around(2100, 300);
    if (name == QLatin1String("LAST_LOES@")) return around(1900, 300);
    if (name == QLatin1String("ABW_LOES@")) return around(0, 50);
    return 0;
}

} // namespace r73::sim
