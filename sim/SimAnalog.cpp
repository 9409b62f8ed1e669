#include "SimAnalog.h"

#include "SimCycle.h"
#include "SimMachine.h"

#include <cmath>
#include <numbers>

namespace r73::sim {

namespace {

enum class Role { Reading, Flags, Value, Text, Freeze, Release, FreezeFlags, ReleaseFlags };

struct Entry
{
    Role role;
    int channel;
    QString stem; ///< store key of a Value or Text getter
};

const QHash<QString, Entry>& table()
{
    static const QHash<QString, Entry> map = [] {
        QHash<QString, Entry> m;
        for (int c = 1; c <= 3; ++c) {
            const QString n = QString::number(c);
            m.insert("@ANA" + n, {Role::Reading, c, {}});
            m.insert("@PRUEFE_ANALOG" + n, {Role::Flags, c, {}});
            m.insert("@ANA_PARA" + n, {Role::Value, c, "ANA_PARA" + n});
            for (const char* limit : {"MIN1_", "MIN2_", "MAX1_", "MAX2_"}) {
                const QString stem = QLatin1String(limit) + n;
                m.insert('@' + stem, {Role::Value, c, stem});
                m.insert("READ_STR_" + stem, {Role::Text, c, "STR_" + stem});
            }
            for (const char* item : {"NAME", "EINH", "PHYS_ZERO", "PHYS_RANGE"})
                m.insert("READ_" + QLatin1String(item) + n,
                         {Role::Text, c, QLatin1String(item) + n});
            // Not in any controller's table, so only the simulator's own side can run them.
            m.insert("SIM_FREEZE_ANA" + n, {Role::Freeze, c, {}});
            m.insert("SIM_RELEASE_ANA" + n, {Role::Release, c, {}});
            m.insert("SIM_FREEZE_PRUEFE" + n, {Role::FreezeFlags, c, {}});
            m.insert("SIM_RELEASE_PRUEFE" + n, {Role::ReleaseFlags, c, {}});
        }
        return m;
    }();
    return map;
}

// Factory settings: a temperature (0-10 V), a pressure (4-20 mA) and an inactive travel. The
// raw limits are the texts scaled onto each channel's raw range. The parameter words carry bits
// beyond the two the program reads, which it must ignore.
const QHash<QString, quint16>& factoryValues()
{
    static const QHash<QString, quint16> map{
        {"ANA_PARA1", 0x1B11}, {"MAX2_1", 217}, {"MAX1_1", 191}, {"MIN1_1", 64}, {"MIN2_1", 38},
        {"ANA_PARA2", 0x9313}, {"MAX2_2", 231}, {"MAX1_2", 214}, {"MIN1_2", 67}, {"MIN2_2", 59},
        {"ANA_PARA3", 0x1100}, {"MAX2_3", 230}, {"MAX1_3", 204}, {"MIN1_3", 51}, {"MIN2_3", 26}};
    return map;
}

const QHash<QString, QByteArray>& factoryTexts()
{
    static const QHash<QString, QByteArray> map{
        {"NAME1", "Temperatur"}, {"EINH1", "Grad C"},   {"PHYS_ZERO1", "-50"},
        {"PHYS_RANGE1", "150"},  {"STR_MAX2_1", "120"}, {"STR_MAX1_1", "100"},
        {"STR_MIN1_1", "0"},     {"STR_MIN2_1", "-20"}, {"NAME2", "Druck"},
        {"EINH2", "bar"},        {"PHYS_ZERO2", "0"},   {"PHYS_RANGE2", "250"},
        {"STR_MAX2_2", "220"},   {"STR_MAX1_2", "200"}, {"STR_MIN1_2", "20"},
        {"STR_MIN2_2", "10"},    {"NAME3", "Weg"},      {"EINH3", "mm"},
        {"PHYS_ZERO3", "0"},     {"PHYS_RANGE3", "50"}, {"STR_MAX2_3", "45"},
        {"STR_MAX1_3", "40"},    {"STR_MIN1_3", "10"},  {"STR_MIN2_3", "5"}};
    return map;
}

// Where the freeze hooks keep what they hold; no setter stem begins with '~'.
QString frozenReadingKey(int channel)
{
    return QStringLiteral("~ANA%1").arg(channel);
}

QString frozenFlagsKey(int channel)
{
    return QStringLiteral("~PRUEFE_ANALOG%1").arg(channel);
}

/// Each channel swings slowly over the exchange clock, crossing its limits now and then.
struct Wave
{
    int centre;
    int amplitude;
    int period; ///< in exchanges
};
constexpr Wave Waves[] = {{128, 100, 300}, {150, 95, 420}, {128, 110, 540}};

// Status bits of the limit check word beside the four flags (bits 0-3, 8-15), per channel.
constexpr quint16 OtherFlagBits[] = {0x1B03, 0x1101, 0x9303};

void runHook(SimMachine& machine, const QString& name, quint16 value)
{
    SimFunction f;
    f.name = name;
    machine.receiveValue(value);
    machine.run(f);
}

} // namespace

SimAnalog::SimAnalog(QHash<QString, quint16>& values, const QHash<QString, QByteArray>& texts,
                     const SimCycle& cycle)
    : m_values(values), m_texts(texts), m_cycle(cycle)
{}

bool SimAnalog::handles(const QString& name)
{
    return table().contains(name);
}

quint16 SimAnalog::value(const QString& stem) const
{
    return m_values.value(stem, factoryValues().value(stem, 0));
}

QByteArray SimAnalog::text(const QString& stem) const
{
    return m_texts.value(stem, factoryTexts().value(stem));
}

quint16 SimAnalog::reading(int channel) const
{
    if (auto it = m_values.constFind(frozenReadingKey(channel)); it != m_values.constEnd())
        return *it;
    const Wave& w = Waves[qBound(1, channel, 3) - 1];
    const double angle = 2 * std::numbers::pi * double(m_cycle.tick() % w.period) / w.period;
    // A little of the machine's seeded sensor noise, different per channel.
    const int jitter = int((m_cycle.sensor() + 3 * channel) % 5) - 2;
    const int raw = w.centre + int(std::lround(w.amplitude * std::sin(angle))) + jitter;
    return quint16(qBound(0, raw, 255));
}

quint16 SimAnalog::flags(int channel) const
{
    if (auto it = m_values.constFind(frozenFlagsKey(channel)); it != m_values.constEnd())
        return *it;
    const int raw = reading(channel);
    const QString n = QString::number(channel);
    quint16 word = OtherFlagBits[qBound(1, channel, 3) - 1];
    if (raw < value("MIN1_" + n)) word |= FlagMin1;
    if (raw < value("MIN2_" + n)) word |= FlagMin2;
    if (raw > value("MAX1_" + n)) word |= FlagMax1;
    if (raw > value("MAX2_" + n)) word |= FlagMax2;
    return word;
}

QString SimAnalog::run(const QString& name, quint16 lastValue, QList<quint16>& values,
                       QList<QByteArray>& texts)
{
    const Entry e = table().value(name);
    switch (e.role) {
    case Role::Reading:
        values.append(reading(e.channel));
        return {};
    case Role::Flags:
        values.append(flags(e.channel));
        return {};
    case Role::Value:
        values.append(value(e.stem));
        return {};
    case Role::Text:
        texts.append(text(e.stem));
        return QStringLiteral("push text");
    case Role::Freeze:
        m_values.insert(frozenReadingKey(e.channel), lastValue);
        return QStringLiteral("reading %1 held at %2").arg(e.channel).arg(lastValue);
    case Role::Release:
        m_values.remove(frozenReadingKey(e.channel));
        return QStringLiteral("reading %1 released").arg(e.channel);
    case Role::FreezeFlags:
        m_values.insert(frozenFlagsKey(e.channel), lastValue);
        return QStringLiteral("flags %1 held at %2").arg(e.channel).arg(lastValue);
    case Role::ReleaseFlags:
        m_values.remove(frozenFlagsKey(e.channel));
        return QStringLiteral("flags %1 released").arg(e.channel);
    }
    return {};
}

void freezeAnalogReading(SimMachine& machine, int channel, std::optional<quint16> raw)
{
    runHook(machine, QStringLiteral("SIM_%1_ANA%2").arg(raw ? "FREEZE" : "RELEASE").arg(channel),
            raw.value_or(0));
}

void freezeAnalogFlags(SimMachine& machine, int channel, std::optional<quint16> word)
{
    runHook(machine,
            QStringLiteral("SIM_%1_PRUEFE%2").arg(word ? "FREEZE" : "RELEASE").arg(channel),
            word.value_or(0));
}

} // namespace r73::sim
