#pragma once
/// The controller's three analog channels: their settings with factory values, a live raw
/// reading per channel that swings with the machine, and the limit flag word.
///
/// The settings live in the machine's value and text stores under the stems its setters use
/// ("NAME1", "EINH1", "PHYS_ZERO1", "PHYS_RANGE1", "ANA_PARA1", "MIN2_1", "STR_MIN2_1", ...), so
/// the setters need no model of their own; only the getters need the factory values for what
/// was never written. Readings never move the machine: the reading is a function of the
/// machine's exchange clock and its seeded noise, so a seed repeats a run.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace r73::sim {

class SimCycle;
class SimMachine;

class SimAnalog
{
public:
    /// Limit flag word: bit 4 Min1, bit 5 Min2 (reading below them), bit 6 Max1, bit 7 Max2
    /// (reading above them).
    static constexpr quint16 FlagMin1 = 0x10;
    static constexpr quint16 FlagMin2 = 0x20;
    static constexpr quint16 FlagMax1 = 0x40;
    static constexpr quint16 FlagMax2 = 0x80;

    /// values: the machine's value store, where the freeze hooks keep what they hold.
    SimAnalog(QHash<QString, quint16>& values, const QHash<QString, QByteArray>& texts,
              const SimCycle& cycle);

    /// True for the channel getters, the readings and the simulator's own freeze hooks.
    static bool handles(const QString& name);
    /// Runs one of them; appends what it answers to values or texts and returns a note for the
    /// log. A freeze hook holds lastValue.
    QString run(const QString& name, quint16 lastValue, QList<quint16>& values,
                QList<QByteArray>& texts);

    /// Raw 0..255 reading of channel 1..3 at the present exchange.
    quint16 reading(int channel) const;
    /// The limit flags of the present reading against the channel's raw limits.
    quint16 flags(int channel) const;
    /// A stored value or text, or its factory setting.
    quint16 value(const QString& stem) const;
    QByteArray text(const QString& stem) const;

private:
    QHash<QString, quint16>& m_values;
    const QHash<QString, QByteArray>& m_texts;
    const SimCycle& m_cycle;
};

/// Holds channel's reading at raw (nullopt: it swings again). For tests and front ends, between
/// exchanges only: it takes the place of the last GET word.
void freezeAnalogReading(SimMachine& machine, int channel, std::optional<quint16> raw);
/// Holds channel's limit flag word at word (nullopt: computed again).
void freezeAnalogFlags(SimMachine& machine, int channel, std::optional<quint16> word);

} // namespace r73::sim
