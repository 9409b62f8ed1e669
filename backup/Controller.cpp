#include "Controller.h"

#include "Exchanger.h"

namespace r73::backup {

Controller::~Controller() = default;

bool LinkController::failed() const
{
    return m_ex.exchangeFailed();
}

Snapshot LinkController::read()
{
    Snapshot s;
    s.id = m_id;
    s.created = QDateTime::currentDateTime();
    auto put = [&s](const char* key, quint16 word) {
        s.values.insert(QLatin1String(key), {word, {}});
    };
    const quint16 bios = m_id.bios;
    for (const auto& [key, word] : setWordsByKey(SetId::Clamp, m_sets.ReadSpann(), bios))
        put(key, word);
    if (failed()) return s;
    for (const auto& [key, word] : setWordsByKey(SetId::Release, m_sets.ReadLoes(), bios))
        put(key, word);
    if (bios >= 310) {
        const HydraulicWords h = m_sets.ReadHydraulics();
        put("hydraulics.enabled", h.enabled);
        put("hydraulics.duration", h.duration);
        put("hydraulics.pulses", h.pulses);
    }
    if (failed()) return s;
    const PairWords flat = m_sets.ReadPlan();
    put("flat.threshold", flat.threshold);
    put("flat.timeout", flat.timeout);
    const PairWords vibration = m_sets.ReadSchwing();
    put("vibration.threshold", vibration.threshold);
    put("vibration.timeout", vibration.timeout);
    if (failed()) return s;
    s.service = m_sets.ReadService(bios);
    if (bios < 300) return s;
    for (int c = 1; c <= 3 && !failed(); ++c) {
        const QString stem = QStringLiteral("channel%1.").arg(c);
        s.values.insert(stem + "parameters", {readParameterWord(m_ex, c), {}});
        s.values.insert(stem + "name", {0, readChannelName(m_ex, c)});
        s.values.insert(stem + "unit", {0, readChannelUnit(m_ex, c)});
        s.values.insert(stem + "minimum", {0, readRangeBottom(m_ex, c)});
        s.values.insert(stem + "maximum", {0, readRangeTop(m_ex, c)});
        for (Limit l : LimitReadOrder) {
            const LimitValue v = readLimit(m_ex, c, l);
            s.values.insert(stem + limitName(l).toLower(), {v.raw, v.text});
        }
    }
    return s;
}

void LinkController::write(const Setting& s, const Value& value)
{
    switch (s.kind) {
    case Kind::Param:
        m_sets.send(*s.param, value.word);
        return;
    case Kind::Switch:
        m_sets.SendEnHydr(value.word != 0);
        return;
    case Kind::ParameterWord:
        // As after a change of the input level; the channel's other items follow as needed.
        sendParameterWord(m_ex, s.channel, value.word, ParameterWordByLevel);
        return;
    case Kind::Text:
        switch (s.text) {
        case ChannelText::Minimum:
            sendRangeBottom(m_ex, s.channel, value.text);
            return;
        case ChannelText::Maximum:
            sendRangeTop(m_ex, s.channel, value.text);
            return;
        case ChannelText::Name:
            sendChannelName(m_ex, s.channel, value.text);
            return;
        case ChannelText::Unit:
            sendChannelUnit(m_ex, s.channel, value.text);
            return;
        }
        return;
    case Kind::ChannelLimit:
        sendLimit(m_ex, s.channel, s.limit, value.word, value.text);
        return;
    }
}

void LinkController::save(SetId set)
{
    m_sets.save(set, m_id.bios);
}

} // namespace r73::backup
