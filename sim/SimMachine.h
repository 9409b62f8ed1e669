#pragma once
/// What the controller does when a function runs: parameter sets and their selection, the
/// permanent store, the value and string FIFOs behind PUT/STRPUT, and the live readings.

#include "SimHistory.h"
#include "SimParams.h"
#include "SimStatus.h"
#include "SimVocabulary.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace r73::sim {

class SimMachine
{
public:
    /// Loads the permanent store from stateFile (empty: factory defaults, never saved).
    SimMachine(quint16 bios, quint16 serial, quint64 seed, const QString& stateFile);

    /// Set when the state file existed but could not be used.
    QString stateWarning() const { return m_stateWarning; }

    /// GET / STRGET: what the next setter consumes.
    void receiveValue(quint16 value) { m_lastValue = value; }
    void receiveText(const QByteArray& text) { m_lastText = text; }
    /// PUT / STRPUT: front of the FIFO; 0 or "" when empty.
    quint16 takeValue();
    QByteArray takeText();

    /// Runs one function; returns a short note of its effect for the log.
    QString run(const SimFunction& f);
    /// One exchange has completed: the machine's own cycle moves one step on.
    void advance()
    {
        if (m_status.still()) return;
        m_status.advance(m_working);
        m_history.observe(m_status.cycle());
    }

    /// Freeze what R_INPORT / R_OPORT answer (the machine runs on); nullopt releases the word.
    void setInputWord(std::optional<quint16> word) { m_status.setInputWord(word); }
    void setOutputWord(std::optional<quint16> word) { m_status.setOutputWord(word); }
    /// Stores a text under a setter's stem, as if the setter had been called with it.
    void holdText(const QString& stem, const QByteArray& text) { m_texts.insert(stem, text); }
    /// Stops the machine: the status functions answer these words from now on.
    void holdStill(const QHash<QString, quint16>& readings) { m_status.holdStill(readings); }

    ParamSetId selectedSet() const { return m_selected; }
    const ParamSet& workingSet(ParamSetId id) const { return m_working.set(id); }
    const PermanentStore& permanentStore() const { return m_permanent; }
    /// Value behind a "!X"/"@X" pair (hydraulic words included), 0 if never set.
    quint16 storedValue(const QString& stem) const { return m_values.value(stem, 0); }
    QByteArray storedText(const QString& stem) const { return m_texts.value(stem); }
    bool memModeArmed() const { return m_memArmed; }
    const QList<quint16>& valueFifo() const { return m_valueFifo; }
    const QList<QByteArray>& textFifo() const { return m_textFifo; }
    /// The history of clamping cycles behind the history functions.
    SimHistory& history() { return m_history; }
    SimStatus& status() { return m_status; }
    const SimStatus& status() const { return m_status; }

private:
    void push(quint16 value);
    void pushText(const QByteArray& text);
    QString save();
    bool runModelled(const QString& name, QString& note);
    QString runByConvention(const SimFunction& f);

    quint16 m_bios;
    quint16 m_serial;
    QString m_stateFile;
    QString m_stateWarning;
    PermanentStore m_permanent;
    PermanentStore m_working;
    ParamSetId m_selected = ParamSetId::Spann;
    bool m_memArmed = false;
    quint16 m_lastValue = 0;
    QByteArray m_lastText;
    QList<quint16> m_valueFifo;
    QList<QByteArray> m_textFifo;
    QHash<QString, quint16> m_values;
    QHash<QString, QByteArray> m_texts;
    SimStatus m_status;
    SimHistory m_history;
};

} // namespace r73::sim
