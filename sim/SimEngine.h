#pragma once
/// The simulated controller as pure bytes-in/bytes-out: line bytes from the host go in, in pieces
/// of any size, and the line bytes of the answers come out. Front ends (a pty, a test, an
/// in-process serial backend) only move bytes.

#include "SimFaults.h"
#include "SimLog.h"
#include "SimMachine.h"
#include "SimVocabulary.h"

#include "WireCodec.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace r73::sim {

struct SimConfig
{
    quint16 bios = 310; ///< BIOS version word, version x 100 (310 = 3.10)
    quint16 serial = 1234;
    quint64 seed = 1;  ///< seeds the live readings
    QString stateFile; ///< permanent store; empty: factory defaults, nothing saved
    QString logFile;   ///< JSON line per exchange; empty: no file
    SimFaults faults;
    std::optional<quint16> inputWord;  ///< R_INPORT frozen at this from the start
    std::optional<quint16> outputWord; ///< R_OPORT frozen at this from the start
    /// Texts held from the start as a setter would leave them, by store stem ("NAME2",
    /// "PHYS_ZERO1", "STR_MAX1_3"): the controller keeps whatever its setters accepted.
    QHash<QString, QByteArray> texts;
    /// A still machine: nothing runs, no cycle is recorded, and the status functions answer
    /// these words by name (0 for the rest), as a backup recorded them.
    std::optional<QHash<QString, quint16>> stillReadings;
};

class SimEngine
{
public:
    static constexpr quint16 SessionId = SimVocabulary::SessionId;

    explicit SimEngine(const SimConfig& config = {});

    /// Consumes line bytes from the host and returns the line bytes to send back (possibly
    /// nothing). Messages may be split anywhere, even between an escape and its partner.
    QByteArray feed(const QByteArray& lineBytesFromHost);

    const QList<SimExchange>& log() const { return m_log; }
    QStringList summaries() const;
    void clearLog() { m_log.clear(); }
    /// Completed exchanges since start; clearLog() does not reset it (the faults count on it).
    int completedExchanges() const { return m_completed; }

    /// True once close-after has struck: nothing more is read or answered.
    bool lineClosed() const;
    /// True while part of a message has been received.
    bool midMessage() const { return m_stage != Stage::Idle || m_unstuffer.midEscape(); }
    /// Forgets a partly received message.
    void resetParser();

    /// What the host did against the protocol, one text each with the bytes of the message and
    /// the exchanges before it. The answers stay what the controller would answer (or nothing);
    /// these are recorded in addition, so every test can check that the host kept to the rules.
    const QStringList& violations() const { return m_violations; }
    QStringList takeViolations();
    /// The host has sent nothing for the line's byte time-out: a message it left half-sent is a
    /// violation, and the parser starts afresh.
    void lineQuiet();

    const SimFaults& faults() const { return m_config.faults; }
    SimFaults& faults() { return m_config.faults; }
    void setFaults(const SimFaults& faults) { m_config.faults = faults; }
    bool addFault(const QString& fault, QString* error = nullptr)
    {
        return m_config.faults.add(fault, error);
    }

    const SimConfig& config() const { return m_config; }
    const SimVocabulary& vocabulary() const { return m_vocabulary; }
    /// Id of a name in this BIOS, 0 if unknown (faults not applied).
    quint16 idOf(const QString& name) const { return m_vocabulary.idOf(name); }
    /// Freeze R_INPORT / R_OPORT at a word while the machine runs on; nullopt releases it.
    void setInputWord(std::optional<quint16> word) { m_machine.setInputWord(word); }
    void setOutputWord(std::optional<quint16> word) { m_machine.setOutputWord(word); }

    SimMachine& machine() { return m_machine; }
    const SimMachine& machine() const { return m_machine; }
    /// Non-empty when the log file could not be opened.
    QString logFileError() const { return m_logFileError; }

private:
    enum class Stage { Idle, Opening, IdHigh, IdLow, WordHigh, WordLow, StrLength, StrBody };

    void consume(quint8 b);
    void dispatchId();
    void completeHandshake();
    void completeLookup();
    void completeCall(const SimFunction* f);
    void commit(const SimExchange& ex, const QByteArray& answer, bool garbage);
    bool answering() const;
    /// True (and the violation recorded) unless the session is open.
    bool refusedBeforeSession(const QString& what);
    void violate(const QString& what);
    void checkRaw(quint8 raw);

    SimConfig m_config;
    SimVocabulary m_vocabulary;
    SimMachine m_machine;
    SimLogFile m_logFile;
    QString m_logFileError;
    QList<SimExchange> m_log;
    int m_completed = 0;
    QByteArray m_out;
    QStringList m_violations;
    QByteArray m_message; // line bytes of the message under way, for the violation text
    QStringList m_recent; // the last few exchanges, for the violation text
    bool m_session = false;
    bool m_faultStruck = false; // an answer withheld on purpose: the host's reaction is no fault

    wire::Unstuffer m_unstuffer;
    Stage m_stage = Stage::Idle;
    quint16 m_id = 0;
    quint16 m_word = 0;
    int m_textLength = 0;
    QByteArray m_text;
};

} // namespace r73::sim
