#pragma once
/// The machine's live readings (sensor, frequency, counters, last cycle's results). For now they
/// are plausible numbers drawn from a seeded generator, so a run repeats exactly for one seed;
/// this is the place where a real machine cycle will grow.

#include <QString>
#include <QtGlobal>

namespace r73::sim {

class SimStatus
{
public:
    explicit SimStatus(quint64 seed);

    void setTestRunning(bool running) { m_testRunning = running; }
    bool testRunning() const { return m_testRunning; }

    /// True for the names whose value comes from here.
    static bool provides(const QString& name);
    /// The next reading of one status value; advances the generator.
    quint16 read(const QString& name);

private:
    quint64 next();
    quint16 around(int base, int spread) { return quint16(base + int(next() % quint64(spread))); }

    quint64 m_rng;
    bool m_testRunning = false;
    quint16 m_counter;
    quint16 m_measurements = 0;
};

} // namespace r73::sim
