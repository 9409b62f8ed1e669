#include "SimCycle.h"

namespace r73::sim {

namespace {

// Phase lengths in exchanges. The program's poll makes about 30 exchanges per round (inputs and
// outputs every second or third tick), so each phase lasts long enough to be seen at least once.
constexpr int IdleMin = 30;
constexpr int IdleMax = 60;
constexpr int SelectedLength = 24;
constexpr int RunningMin = 30;
constexpr int RunningMax = 120;
constexpr int MsPerRunningExchange = 50;
constexpr int FinishedLength = 60;

// Salts that keep the noise of different readings apart.
constexpr quint64 SaltSensor = 1;
constexpr quint64 SaltFreq = 2;

// The clamp the controller remembers from before power-on: a long one, so the service counters
// start with words of 0x8000 and above, and with reserved bytes, in every display.
constexpr int PowerOnPulses = 0x8B13;
constexpr int PowerOnMs = 0x1B11;

} // namespace

SimCycle::SimCycle(quint64 seed, quint16 bios, const PermanentStore& params)
    : m_seed(seed), m_rng(seed), m_deck(bios)
{
    m_lastClamp = motionOf(PowerOnPulses, PowerOnMs, SimOutcome::Ok, m_rng);
    m_plan = shapePlan(SimTest::Loesen, SimOutcome::Ok, bios, params, m_lastClamp, m_rng);
    m_lastRelease = m_plan.motion;
    m_deviation = m_plan.deviation;
    m_heldPulses = m_lastRelease.pulses;
    enter(Phase::Idle, m_rng.between(IdleMin, IdleMax));
}

void SimCycle::enter(Phase phase, int length)
{
    m_phase = phase;
    m_inPhase = 0;
    m_phaseLength = length;
}

void SimCycle::advance(const PermanentStore& params)
{
    ++m_tick;
    if (++m_inPhase < m_phaseLength) return;
    switch (m_phase) {
    case Phase::Idle:
        m_plan = m_deck.deal(m_rng, params, m_lastClamp);
        ++m_testsBegun;
        enter(Phase::Selected, SelectedLength);
        break;
    case Phase::Selected:
        enter(Phase::Running,
              qBound(RunningMin, m_plan.durationMs / MsPerRunningExchange, RunningMax));
        break;
    case Phase::Running:
        finishTest();
        enter(Phase::Finished, FinishedLength);
        break;
    case Phase::Finished:
        m_heldPulses = actualPulses();
        enter(Phase::Idle, m_rng.between(IdleMin, IdleMax));
        break;
    }
}

void SimCycle::finishTest()
{
    if (!m_plan.isMotion()) return;
    m_releaseLast = m_plan.test == SimTest::Loesen;
    (m_releaseLast ? m_lastRelease : m_lastClamp) = m_plan.motion;
    if (m_releaseLast) m_deviation = m_plan.deviation;
    m_totalPulses += m_plan.motion.pulses;
}

quint16 SimCycle::inputWord() const
{
    switch (m_phase) {
    case Phase::Selected:
    case Phase::Finished:
        return selectionBit(m_plan.test);
    case Phase::Running:
        return selectionBit(m_plan.test) | StartBit;
    default:
        return 0;
    }
}

quint16 SimCycle::outputWord() const
{
    switch (m_phase) {
    case Phase::Running:
        return stateOf(m_plan.test);
    case Phase::Finished:
        return stateOf(m_plan.test) | FinishedBit | resultBits(m_plan);
    default:
        return 0; // a selection waits until the controller takes it up
    }
}

quint16 SimCycle::sensor() const
{
    if (m_phase != Phase::Running) return quint16(noise(SaltSensor, 2, 8));
    if (m_plan.test == SimTest::Schwing) {
        // Rises through the first quarter, holds its peak through the middle half, dies away.
        const int peak = m_plan.vibrationPeak;
        const int p = permille();
        if (p >= 250 && p < 750) return quint16(peak);
        const int share = p < 250 ? p * 4 : (1000 - p) * 4;
        return quint16(qMax(0, peak * share / 1000 - noise(SaltSensor, 0, peak / 10)));
    }
    if (m_plan.isMotion()) return quint16(noise(SaltSensor, 10, 40));
    return quint16(noise(SaltSensor, 2, 8));
}

quint16 SimCycle::actualFrequency() const
{
    if (!m_plan.isMotion()) return 0;
    const SimMotion& m = m_plan.motion;
    if (m_phase == Phase::Finished && m_plan.outcome == SimOutcome::Leakage) return m.creepFreq;
    if (m_phase != Phase::Running) return 0;
    // Full speed for most of the travel, then slowing to creep as the tool seats.
    const int p = permille();
    const int f = p < 600 ? m.maxFreq : m.maxFreq - (m.maxFreq - m.creepFreq) * (p - 600) / 400;
    return quint16(f - f * noise(SaltFreq, 0, 5) / 100);
}

quint16 SimCycle::actualPulses() const
{
    if (!m_plan.isMotion()) return m_heldPulses;
    const SimMotion& m = m_plan.motion;
    if (m_phase == Phase::Running) return quint16(m.pulses * permille() / 1000);
    if (m_phase == Phase::Finished) {
        const bool creeping = m_plan.outcome == SimOutcome::Leakage;
        return quint16(m.pulses + (creeping ? m.creepPulses * m_inPhase / m_phaseLength : 0));
    }
    return m_heldPulses;
}

quint16 SimCycle::measuringBits() const
{
    switch (m_phase) {
    case Phase::Selected:
        return MeasSelected;
    case Phase::Running:
        return MeasSelected | MeasRunning;
    case Phase::Finished:
        return MeasSelected | MeasResult;
    default:
        return 0;
    }
}

} // namespace r73::sim
