#include "SimPlan.h"

#include <cstdlib>

namespace r73::sim {

namespace {

// Output bits 4..7 as the program reads them: 4 good, 5 short, 6 long; 4+6 is read as "no tool",
// 5+6 as leakage, and 7 (time-out) overrides them all.
constexpr quint16 BitOk = 0x10;
constexpr quint16 BitShort = 0x20;
constexpr quint16 BitLong = 0x40;
constexpr quint16 BitTimeout = 0x80;

// A counter is a 16-bit word: its whole range can turn up, signed displays must cope.
constexpr int MaxPulses = 0xFFFF;
constexpr int MaxFreq = 0xFFFF;
constexpr int MaxVibration = 1000;
// A time-out word of 0 or -1 must not make a test last no time or for ever.
constexpr int MinTimeoutMs = 200;
constexpr int MaxTimeoutMs = 30000;
constexpr quint16 AnalogTestMs = 1500;

struct Window
{
    int lo;
    int hi;
};

/// Short and long limit as a pulse window; limits entered the wrong way round still make one.
Window pulseWindow(const ParamSet& set)
{
    const int a = qint16(set[ParamField::ZKlein]);
    const int b = qint16(set[ParamField::ZGross]);
    const int lo = qMax(0, qMin(a, b));
    return {lo, qMax(lo, qMax(a, b))};
}

int timeoutOf(const ParamSet& set)
{
    return qBound(MinTimeoutMs, int(set[ParamField::TDauerTo]), MaxTimeoutMs);
}

/// A duration that ends in time, no shorter than the set's minimum measuring time if it allows.
int durationInTime(const ParamSet& set, SimRandom& rng)
{
    const int timeout = timeoutOf(set);
    const int latest = timeout * 8 / 10;
    const int t = rng.between(timeout * 3 / 10, latest);
    return qMax(t, qMin(int(set[ParamField::FMin1]), latest));
}

int pulsesFor(SimOutcome outcome, Window w, int noTool, SimRandom& rng)
{
    const int spread = qMax(2, (w.hi - w.lo) / 4);
    switch (outcome) {
    case SimOutcome::TooShort:
    case SimOutcome::Timeout: // stopped before it got anywhere near the window
        return w.lo > 0 ? rng.between(w.lo / 2, w.lo - 1) : 0;
    case SimOutcome::TooLong:
        return rng.between(w.hi + 1, qMin(w.hi + spread, noTool - 1));
    case SimOutcome::NoTool:
        return rng.between(noTool, noTool + spread);
    default:
        return rng.between(w.lo, w.hi);
    }
}

/// Release from 2.07 on: the limits are the allowed deviation from the clamp it follows.
int deviationFor(SimOutcome outcome, const ParamSet& set, SimRandom& rng)
{
    const int pos = std::abs(int(qint16(set[ParamField::ZKlein])));
    const int neg = std::abs(int(qint16(set[ParamField::ZGross])));
    const int spread = qMax(2, (pos + neg) / 2);
    switch (outcome) {
    case SimOutcome::TooShort:
    case SimOutcome::Timeout:
        return rng.between(-neg - spread, -neg - 1);
    case SimOutcome::TooLong:
        return rng.between(pos + 1, pos + spread);
    default:
        return rng.between(-neg, pos);
    }
}

} // namespace

SimMotion motionOf(int pulses, int durationMs, SimOutcome outcome, SimRandom& rng)
{
    SimMotion m;
    m.pulses = quint16(qBound(0, pulses, MaxPulses));
    m.durationMs = quint16(durationMs);
    const int mean = qMin(MaxFreq, int(qint64(m.pulses) * 10000 / qMax(1, durationMs)));
    m.meanFreq = quint16(mean);
    m.maxFreq = quint16(qMin(MaxFreq, mean * rng.between(115, 135) / 100));
    const int creepPercent =
        outcome == SimOutcome::Leakage ? rng.between(25, 40) : rng.between(2, 8);
    m.creepFreq = quint16(mean * creepPercent / 100);
    m.creepPulses = quint16(qint64(m.creepFreq) * (durationMs / 5) / 10000);
    return m;
}

quint16 selectionBit(SimTest test)
{
    return quint16(1u << int(test));
}

quint16 stateOf(SimTest test)
{
    return quint16(int(test) + 1);
}

quint16 resultBits(const SimPlan& plan)
{
    const bool analog = plan.test >= SimTest::Analog1;
    switch (plan.outcome) {
    case SimOutcome::Ok:
        return analog ? 0 : BitOk; // an analog test is good when no result bit is set
    case SimOutcome::TooShort:
    case SimOutcome::Fault:
        return BitShort;
    case SimOutcome::TooLong:
        return BitLong;
    case SimOutcome::NoTool:
        return BitOk | BitLong;
    case SimOutcome::Leakage:
        return BitShort | BitLong;
    case SimOutcome::Timeout:
        return plan.isMotion() ? BitTimeout | BitShort : BitTimeout;
    }
    return 0;
}

SimPlan shapePlan(SimTest test, SimOutcome outcome, quint16 bios, const PermanentStore& params,
                  const SimMotion& lastClamp, SimRandom& rng)
{
    SimPlan plan;
    plan.test = test;
    plan.outcome = outcome;
    switch (test) {
    case SimTest::Spannen:
    case SimTest::Loesen: {
        const ParamSet& set =
            params.set(test == SimTest::Spannen ? ParamSetId::Spann : ParamSetId::Loes);
        const int duration = outcome == SimOutcome::Timeout ? timeoutOf(set) + rng.between(0, 20)
                                                            : durationInTime(set, rng);
        const Window w = pulseWindow(set);
        int pulses = 0;
        if (test == SimTest::Loesen && bios >= 207) {
            pulses = lastClamp.pulses + deviationFor(outcome, set, rng);
        } else {
            // The clamp-without-tool limit lies beyond the long one, whatever the set says.
            const int noTool = test == SimTest::Spannen && bios >= 210
                                   ? qMax(int(qint16(set[ParamField::FMin2])), w.hi + 1)
                                   : MaxPulses + 1;
            pulses = pulsesFor(outcome, w, noTool, rng);
            // Limits that leave no room for an ending give the ending the pulses make.
            if (outcome == SimOutcome::TooShort && pulses >= w.lo) plan.outcome = SimOutcome::Ok;
            if (outcome == SimOutcome::TooLong && pulses >= noTool)
                plan.outcome = SimOutcome::NoTool;
        }
        plan.motion = motionOf(pulses, duration, outcome, rng);
        plan.durationMs = plan.motion.durationMs;
        if (test == SimTest::Loesen) plan.deviation = qint16(plan.motion.pulses - lastClamp.pulses);
        break;
    }
    case SimTest::Plan: {
        const int timeout = timeoutOf(params.set(ParamSetId::Plan));
        plan.durationMs = quint16(outcome == SimOutcome::Timeout
                                      ? timeout
                                      : rng.between(timeout * 2 / 10, timeout * 6 / 10));
        break;
    }
    case SimTest::Schwing: {
        const ParamSet& set = params.set(ParamSetId::Schwing);
        const int threshold = qMin(int(set[ParamField::SchwingMax]), MaxVibration);
        plan.vibrationPeak =
            quint16(outcome == SimOutcome::TooLong
                        ? rng.between(threshold + 1, threshold + qMax(4, threshold / 2))
                        : rng.between(threshold / 2, threshold));
        plan.durationMs = quint16(durationInTime(set, rng));
        break;
    }
    default:
        plan.durationMs = AnalogTestMs;
        break;
    }
    return plan;
}

SimDeck::SimDeck(quint16 bios) : m_bios(bios)
{
    using O = SimOutcome;
    using T = SimTest;
    // Mostly good clamps and releases, as on a machine that works; every ending at least once.
    m_round = {{T::Spannen, O::Ok},       {T::Spannen, O::Ok},      {T::Spannen, O::Ok},
               {T::Spannen, O::TooShort}, {T::Spannen, O::TooLong}, {T::Spannen, O::NoTool},
               {T::Spannen, O::Leakage},  {T::Spannen, O::Timeout}, {T::Loesen, O::Ok},
               {T::Loesen, O::Ok},        {T::Loesen, O::TooShort}, {T::Loesen, O::TooLong},
               {T::Plan, O::Ok},          {T::Plan, O::Timeout},    {T::Schwing, O::Ok},
               {T::Schwing, O::TooLong},  {T::Analog1, O::Ok},      {T::Analog1, O::Fault}};
    for (auto& [test, outcome] : m_round) {
        // Clamping without tool is known from 2.10, the analog channels from 3.00.
        if (outcome == O::NoTool && bios < 210) outcome = O::TooLong;
        if (test == T::Analog1 && bios < 300) {
            test = T::Spannen;
            outcome = O::Ok;
        }
    }
}

SimPlan SimDeck::deal(SimRandom& rng, const PermanentStore& params, const SimMotion& lastClamp)
{
    if (m_left.isEmpty()) {
        m_left = m_round;
        for (qsizetype i = m_left.size() - 1; i > 0; --i) // Fisher-Yates
            m_left.swapItemsAt(i, rng.between(0, int(i)));
    }
    auto [test, outcome] = m_left.takeFirst();
    if (test == SimTest::Analog1) test = SimTest(int(SimTest::Analog1) + rng.between(0, 2));
    return shapePlan(test, outcome, m_bios, params, lastClamp, rng);
}

} // namespace r73::sim
