#pragma once
/// The machine running its tests on its own: idle, a test selected from outside, the test
/// running, the result held, idle again. Its clock is the count of completed exchanges, so a
/// seed gives the same course every run however fast the host talks.

#include "SimParams.h"
#include "SimPlan.h"
#include "SimRandom.h"

namespace r73::sim {

class SimCycle
{
public:
    enum class Phase { Idle, Selected, Running, Finished };

    /// Input bit 7: the machine asks for the selected test to run.
    static constexpr quint16 StartBit = 0x80;
    /// Output bit 3: the test has finished and bits 4..7 hold its result.
    static constexpr quint16 FinishedBit = 0x08;
    /// #MESSEN@ bits (the host's test mode, bit 3, is added by the caller).
    static constexpr quint16 MeasSelected = 0x01;
    static constexpr quint16 MeasRunning = 0x02;
    static constexpr quint16 MeasResult = 0x04;

    /// The machine starts idle, with a good clamp and release behind it under params.
    SimCycle(quint64 seed, quint16 bios, const PermanentStore& params);

    /// One exchange has completed: one step on. A test takes the sets in force when it begins.
    void advance(const PermanentStore& params);

    quint64 tick() const { return m_tick; }
    Phase phase() const { return m_phase; }
    /// Tests begun since start; the current (or last) one is plan().
    int testsBegun() const { return m_testsBegun; }
    const SimPlan& plan() const { return m_plan; }

    quint16 inputWord() const;
    quint16 outputWord() const;
    /// Vibration sensor, 0.05 mm/s.
    quint16 sensor() const;
    /// Pulse frequency of the motion under way, 0.1 Hz.
    quint16 actualFrequency() const;
    /// Pulses counted in the current or last motion.
    quint16 actualPulses() const;
    quint16 measuringBits() const;

    const SimMotion& lastClamp() const { return m_lastClamp; }
    const SimMotion& lastRelease() const { return m_lastRelease; }
    const SimMotion& lastMotion() const { return m_releaseLast ? m_lastRelease : m_lastClamp; }
    /// Release pulses minus the clamp pulses they followed.
    qint16 releaseDeviation() const { return m_deviation; }
    /// All pulses counted since start, wrapping like the controller's word.
    quint16 totalPulses() const { return m_totalPulses; }

private:
    void enter(Phase phase, int length);
    void finishTest();
    /// 0..1000 through the running phase.
    int permille() const { return m_inPhase * 1000 / qMax(1, m_phaseLength); }
    int noise(quint64 salt, int lo, int hi) const { return simNoise(m_seed, m_tick, salt, lo, hi); }

    quint64 m_seed;
    SimRandom m_rng;
    SimDeck m_deck;
    quint64 m_tick = 0;
    Phase m_phase = Phase::Idle;
    int m_inPhase = 0;
    int m_phaseLength = 0;
    int m_testsBegun = 0;
    SimPlan m_plan;
    SimMotion m_lastClamp;
    SimMotion m_lastRelease;
    bool m_releaseLast = true;
    qint16 m_deviation = 0;
    quint16 m_totalPulses = 0;
    quint16 m_heldPulses = 0;
};

} // namespace r73::sim
