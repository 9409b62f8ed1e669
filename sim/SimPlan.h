#pragma once
/// The machine's next test, decided before it runs: which test the machine selects, how it will
/// end, and measured values that fit that ending under the parameter sets in force. Deciding the
/// ending first keeps every result reachable whatever the sets hold.

#include "SimParams.h"
#include "SimRandom.h"

#include <QList>
#include <utility>

namespace r73::sim {

/// The tests the machine can select, in the order of their selection bits (input bit n = test n).
enum class SimTest { Spannen, Loesen, Plan, Schwing, Analog1, Analog2, Analog3 };

/// How a test ends.
enum class SimOutcome {
    Ok,
    TooShort, ///< too few pulses; a release: deviation below its negative limit
    TooLong,  ///< too many pulses; a release: above its positive limit; vibration over threshold
    NoTool,   ///< clamped on past the clamp-without-tool limit: nothing in the spindle
    Leakage,  ///< pulses keep creeping in after the motion should have held
    Timeout,  ///< the test ran into its time-out
    Fault,    ///< an analog channel outside its limits
};

/// One clamping or release motion as the controller measured it.
struct SimMotion
{
    quint16 pulses = 0;
    quint16 durationMs = 0;
    quint16 meanFreq = 0;  ///< 0.1 Hz
    quint16 maxFreq = 0;   ///< 0.1 Hz
    quint16 creepFreq = 0; ///< 0.1 Hz, at the end of the motion
    quint16 creepPulses = 0;
};

/// A motion of so many pulses in so long, with frequencies to match.
SimMotion motionOf(int pulses, int durationMs, SimOutcome outcome, SimRandom& rng);

struct SimPlan
{
    SimTest test = SimTest::Spannen;
    SimOutcome outcome = SimOutcome::Ok;
    SimMotion motion;          ///< clamp and release only
    quint16 durationMs = 0;    ///< how long the test runs
    quint16 vibrationPeak = 0; ///< 0.05 mm/s: the highest sensor reading of a vibration test
    qint16 deviation = 0;      ///< release pulses minus the clamp pulses they followed

    bool isMotion() const { return test == SimTest::Spannen || test == SimTest::Loesen; }
};

/// The input bit that selects a test from outside.
quint16 selectionBit(SimTest test);
/// The controller's internal state number while it runs a test (output bits 0..2).
quint16 stateOf(SimTest test);
/// Output bits 4..7 that report the outcome.
quint16 resultBits(const SimPlan& plan);

/// Shapes one test's values to fit its outcome under params; a release deviates from lastClamp.
SimPlan shapePlan(SimTest test, SimOutcome outcome, quint16 bios, const PermanentStore& params,
                  const SimMotion& lastClamp, SimRandom& rng);

/// Deals the machine's tests in shuffled rounds. A round holds every ending the BIOS knows, so
/// the rare ones turn up within one round rather than by luck.
class SimDeck
{
public:
    explicit SimDeck(quint16 bios);

    int roundSize() const { return int(m_round.size()); }
    SimPlan deal(SimRandom& rng, const PermanentStore& params, const SimMotion& lastClamp);

private:
    quint16 m_bios;
    QList<std::pair<SimTest, SimOutcome>> m_round;
    QList<std::pair<SimTest, SimOutcome>> m_left;
};

} // namespace r73::sim
