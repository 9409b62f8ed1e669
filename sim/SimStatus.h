#pragma once
/// The machine's live readings as the status functions deliver them: inputs and outputs, sensor,
/// frequency, counters and the values of the last motions, all taken from the running machine
/// (SimCycle). Tests may freeze the input or output word to put the program in a known state.

#include "SimCycle.h"

#include <QHash>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace r73::sim {

class SimStatus
{
public:
    SimStatus(quint64 seed, quint16 bios, const PermanentStore& params);

    /// TEST_START / TEST_STOP: the host's test mode, shown in bit 3 of the measuring status.
    void setTestMode(bool on) { m_testMode = on; }
    bool testMode() const { return m_testMode; }
    static constexpr quint16 MeasTestMode = 0x08;

    /// Freezes R_INPORT at word while the machine runs on; nullopt gives the machine's own back.
    void setInputWord(std::optional<quint16> word) { m_inputOverride = word; }
    /// Freezes R_OPORT likewise.
    void setOutputWord(std::optional<quint16> word) { m_outputOverride = word; }
    std::optional<quint16> frozenInputWord() const { return m_inputOverride; }
    std::optional<quint16> frozenOutputWord() const { return m_outputOverride; }

    /// The machine stands: every reading is one of these words by name, or 0.
    void holdStill(const QHash<QString, quint16>& readings) { m_still = readings; }
    bool still() const { return m_still.has_value(); }

    /// One exchange has completed: the machine moves on.
    void advance(const PermanentStore& params) { m_cycle.advance(params); }
    const SimCycle& cycle() const { return m_cycle; }

    /// True for the names whose value comes from here.
    static bool provides(const QString& name);
    /// The present reading of one status value. Reading never moves the machine.
    quint16 read(const QString& name) const;

private:
    SimCycle m_cycle;
    bool m_testMode = false;
    std::optional<quint16> m_inputOverride;
    std::optional<quint16> m_outputOverride;
    std::optional<QHash<QString, quint16>> m_still;
};

} // namespace r73::sim
