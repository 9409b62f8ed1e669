#include "PollReads.h"

#include "TextHook.h"

#include <array>

namespace r73 {

namespace {

/// A getter and the location code of its call; the value's fetch has the code after it.
struct PollCall
{
    const char* function;
    quint16 code;
};

constexpr PollCall SensorCalls[] = {{"R_SENSOR", 2600}, {"SCHWING_MAX@", 2602}, {"ACT_FREQ", 2604}};
constexpr PollCall InputCalls[] = {{"R_INPORT", 2400}};
constexpr PollCall OutputCalls[] = {{"R_OPORT", 2500}};
constexpr PollCall StatusCalls[] = {{"#MESSEN@", 2700}, {"ACT_ZAEHLER", 2702}};
constexpr PollCall ServiceCalls[] = {{"F@", 700},        {"LAST_SPANN@", 704}, {"LAST_LOES@", 706},
                                     {"ABW_LOES@", 708}, {"F_SCHLEICH@", 710}, {"F_MAX@", 712},
                                     {"T_DAUER@", 714}};
/// Before 2.08 one pulse value, from "M_SPANN@".
constexpr PollCall OldServiceCalls[] = {
    {"F@", 700}, {"M_SPANN@", 702}, {"F_SCHLEICH@", 710}, {"F_MAX@", 712}, {"T_DAUER@", 714}};

template <std::size_t N> std::array<quint16, N> fetchAll(Exchanger& ex, const PollCall (&calls)[N])
{
    std::array<quint16, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        ex.Exec(QString::fromLatin1(calls[i].function), calls[i].code);
        values[i] = ex.Receive(calls[i].code + 1);
    }
    return values;
}

template <std::size_t N> void addNames(QStringList& out, const PollCall (&calls)[N])
{
    for (const PollCall& c : calls)
        out << QString::fromLatin1(c.function);
}

} // namespace

SensorWords readSensorWords(Exchanger& calls)
{
    const auto v = fetchAll(calls, SensorCalls);
    return {v[0], v[1], v[2]};
}

quint16 readInputWord(Exchanger& calls)
{
    return fetchAll(calls, InputCalls)[0];
}

quint16 readOutputWord(Exchanger& calls)
{
    return fetchAll(calls, OutputCalls)[0];
}

quint16 readStatusWord(Exchanger& calls)
{
    return fetchAll(calls, StatusCalls)[0];
}

ServiceWords readServiceWords(Exchanger& calls, quint16 bios)
{
    ServiceWords w;
    if (bios >= 208) {
        const auto v = fetchAll(calls, ServiceCalls);
        w = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
    } else {
        const auto v = fetchAll(calls, OldServiceCalls);
        w.frequency = v[0];
        w.clampPulses = v[1];
        w.creepFrequency = v[2];
        w.maxFrequency = v[3];
        w.duration = v[4];
    }
    return w;
}

QHash<QString, quint16> serviceReadings(const ServiceWords& w, quint16 bios)
{
    QHash<QString, quint16> out;
    const auto put = [&out](const auto& calls, std::initializer_list<quint16> words) {
        auto word = words.begin();
        for (const PollCall& c : calls)
            out.insert(QString::fromLatin1(c.function), *word++);
    };
    if (bios >= 208)
        put(ServiceCalls, {w.frequency, w.clampPulses, w.releasePulses, w.releaseDeviation,
                           w.creepFrequency, w.maxFrequency, w.duration});
    else
        put(OldServiceCalls,
            {w.frequency, w.clampPulses, w.creepFrequency, w.maxFrequency, w.duration});
    return out;
}

PollStep PollCycle::next(quint16 bios)
{
    const int phase = m_phase;
    m_phase = phase == 0 ? 1 : phase == 1 && bios >= 208 ? 2 : 0;
    return phase == 0 ? PollStep::Lines : phase == 1 ? PollStep::StatusService : PollStep::History;
}

QStringList pollStepCalls(PollStep step, quint16 bios)
{
    QStringList names;
    if (step == PollStep::Lines) {
        addNames(names, SensorCalls);
        addNames(names, InputCalls);
        addNames(names, OutputCalls);
    } else if (step == PollStep::StatusService) {
        addNames(names, StatusCalls);
        if (bios >= 208)
            addNames(names, ServiceCalls);
        else
            addNames(names, OldServiceCalls);
    }
    return names;
}

QString selectionText(quint16 inputWord)
{
    // One bit per function; anything else is no single selection.
    switch (inputWord & 0x7F) {
    case 0:
        return tr73(0, QStringLiteral("IDLE"));
    case 1:
        return tr73(0, QStringLiteral("SPANNEN"));
    case 2:
        return tr73(0, QString::fromUtf8("LÖSEN"));
    case 4:
        return tr73(0, QStringLiteral("PLANANLAGE"));
    case 8:
        return tr73(0, QStringLiteral("SCHWINGUNG"));
    case 16:
        return tr73(0, QStringLiteral("ANALOG1"));
    case 32:
        return tr73(0, QStringLiteral("ANALOG2"));
    case 64:
        return tr73(0, QStringLiteral("ANALOG3"));
    default:
        return QStringLiteral("---");
    }
}

namespace {

using Words = QString (*)(const QString& german);

QString tableWords(const QString& german)
{
    return tr73(0, german);
}

QString state(quint16 outputWord, Words tr)
{
    static const char* const texts[] = {"IDLE", "SPANNEN", "LÖSEN", "PLANANLAGE", "SCHWINGUNG"};
    const quint16 state = outputWord & 7;
    return tr(state <= 4 ? QString::fromUtf8(texts[state]) : QStringLiteral("ANALOG"));
}

QString finished(quint16 outputWord, Words tr)
{
    return (outputWord & 0x08) ? tr(QStringLiteral("Test beendet")) : QStringLiteral("--");
}

TestResult result(quint16 w, quint16 inputWord, Words tr)
{
    using C = TestResult::Colour;
    if ((w & 7) >= 5) {
        if ((w & 0xF0) || inputWord == 0) return {tr(QStringLiteral("ANALOG ERR")), C::Red};
        return {tr(QStringLiteral("ANALOG OK")), C::Green};
    }
    TestResult r{QStringLiteral("--"), C::Keep};
    if (w & 0x10) r = {QStringLiteral("TEST OK"), C::Green};
    if (w & 0x20) r = {QStringLiteral("ZU KURZ"), C::Red};
    if (w & 0x40)
        r = (w & 0x10) ? TestResult{QStringLiteral("kein Werkzeug"), C::Yellow}
                       : TestResult{QStringLiteral("ZU LANG"), C::Red};
    if ((w & 0x60) == 0x60) r = {QStringLiteral("LECKAGE"), C::Red};
    if (w & 0x80) r = {QStringLiteral("TIMEOUT"), C::Red};
    if (r.colour != C::Keep) r.text = tr(r.text);
    return r;
}

} // namespace

QString stateText(quint16 outputWord)
{
    return state(outputWord, &tableWords);
}

QString finishedText(quint16 outputWord)
{
    return finished(outputWord, &tableWords);
}

TestResult resultOf(quint16 w, quint16 inputWord)
{
    return result(w, inputWord, &tableWords);
}

QString stateName(quint16 outputWord)
{
    return state(outputWord, &tr73own);
}

QString finishedName(quint16 outputWord)
{
    return finished(outputWord, &tr73own);
}

QString resultName(quint16 outputWord, quint16 inputWord)
{
    return result(outputWord, inputWord, &tr73own).text;
}

} // namespace r73
