#include "ParamSets.h"

#include "Exchanger.h"

#include <algorithm>
#include <cmath>

namespace r73 {

namespace {

using C = ParamConversion;
using S = SetId;

// clang-format off
constexpr ParamDef Defs[] = {
    {"clamp.short", "SPANNEN", "Kurz [Pulse]", "SPANN", 300, false, "KURZ", "M_ZKLEIN@", 800, C::Whole, S::Clamp, 0},
    {"clamp.long", "SPANNEN", "Lang [Pulse]", "SPANN", 300, false, "LANG", "M_ZGROSS@", 900, C::Whole, S::Clamp, 0},
    {"clamp.without_tool", "SPANNEN", "Spannen ohne Werkzeug", "SPANN", 300, false, "M_OHNE_TOOL", "F_MIN2@", 900, C::Whole, S::Clamp, 210},
    {"release.short", "LÖSEN", "Kurz [Pulse]", "LOES", 400, false, "KURZ", "M_ZKLEIN@", 1400, C::Whole, S::Release, 0},
    {"release.long", "LÖSEN", "Lang [Pulse]", "LOES", 400, false, "LANG", "M_ZGROSS@", 1500, C::Whole, S::Release, 0},
    // The hydraulic values are global; a change marks the clamping set for its save.
    {"hydraulics.pulses", "HYDRAULIKÜBERWACHUNG", "Pulse", nullptr, 0, false, "!HYDR_PULSE", "@HYDR_PULSE", 804, C::Whole, S::Clamp, 310},
    {"hydraulics.duration", "HYDRAULIKÜBERWACHUNG", "Dauer [ms]", nullptr, 0, false, "!HYDR_DAUER", "@HYDR_DAUER", 808, C::Whole, S::Clamp, 310},
    {"clamp.min_time", "SPANNEN", "Mindestmesszeit [ms]", "SPANN", 300, false, "F_START", "F_MIN1@", 1000, C::Whole, S::Clamp, 0},
    {"clamp.stop_frequency", "SPANNEN", "Stopfreq [ms]", "SPANN", 300, false, "F_STOP", "F_MIN3@", 1200, C::StopFrequency, S::Clamp, 0},
    {"clamp.timeout", "SPANNEN", "Timeout [ms]", "SPANN", 300, false, "!TIMEOUT", "T_DAUER_TO@", 1300, C::Whole, S::Clamp, 0},
    {"release.min_time", "LÖSEN", "Mindestmesszeit [ms]", "LOES", 400, false, "F_START", "F_MIN1@", 1600, C::Whole, S::Release, 0},
    {"release.stop_frequency", "LÖSEN", "Stopfreq [ms]", "LOES", 400, false, "F_STOP", "F_MIN3@", 1800, C::StopFrequency, S::Release, 0},
    {"release.timeout", "LÖSEN", "Timeout [ms]", "LOES", 400, false, "!TIMEOUT", "T_DAUER_TO@", 1900, C::Whole, S::Release, 0},
    // The flat-contact and vibration sets are selected by their page's read.
    {"flat.threshold", "PLANANLAGE", "Schwelle [ms]", "PLAN", 500, true, "F_PLAN", "F_MIN1@", 2000, C::Whole, S::Flat, 0},
    {"flat.timeout", "PLANANLAGE", "Timeout [ms]", "PLAN", 500, true, "!TIMEOUT", "T_DAUER_TO@", 2100, C::Whole, S::Flat, 0},
    {"vibration.threshold", "SCHWINGUNG", "Schwelle [mm/sek]", "SCHWING", 600, true, "MAX_SCHWING", "SCHWING_MAX@", 2200, C::Threshold, S::Vibration, 0},
    {"vibration.timeout", "SCHWINGUNG", "Timeout [ms]", "SCHWING", 600, true, "!TIMEOUT", "T_DAUER_TO@", 2300, C::Whole, S::Vibration, 0},
};
// clang-format on

constexpr ServiceDef Services[] = {
    {"frequency", &ServiceWords::frequency, false},
    {"clamp_pulses", &ServiceWords::clampPulses, false},
    {"release_pulses", &ServiceWords::releasePulses, false},
    {"release_deviation", &ServiceWords::releaseDeviation, true},
    {"creep_frequency", &ServiceWords::creepFrequency, false},
    {"max_frequency", &ServiceWords::maxFrequency, false},
    {"duration", &ServiceWords::duration, false},
};

struct SaveCodes
{
    const char* selector;
    quint16 selectorCode, memModeCode, saveCode;
};

constexpr SaveCodes Saves[] = {
    {"SPANN", 300, 2801, 2800},
    {"LOES", 400, 2901, 2900},
    {"PLAN", 3000, 3001, 3002},
    {"SCHWING", 3000, 3101, 3100},
};

} // namespace

QList<std::pair<const char*, quint16>> setWordsByKey(SetId set, const SetWords& w, quint16 bios)
{
    if (set == SetId::Release)
        return {{"release.short", w.shortLimit},
                {"release.long", w.longLimit},
                {"release.min_time", w.minTime},
                {"release.stop_frequency", w.stopFrequency},
                {"release.timeout", w.timeout}};
    QList<std::pair<const char*, quint16>> out{{"clamp.short", w.shortLimit},
                                               {"clamp.long", w.longLimit}};
    if (bios >= 210) out.append({"clamp.without_tool", w.withoutTool});
    out << std::pair<const char*, quint16>{"clamp.min_time", w.minTime}
        << std::pair<const char*, quint16>{"clamp.stop_frequency", w.stopFrequency}
        << std::pair<const char*, quint16>{"clamp.timeout", w.timeout};
    return out;
}

const char* setSelector(SetId set)
{
    return Saves[int(set)].selector;
}

std::span<const ParamDef> paramDefs()
{
    return Defs;
}

bool shownUnsigned(const ParamDef& def)
{
    const QLatin1String key(def.key);
    return key.startsWith(QLatin1String("hydraulics.")) ||
           key == QLatin1String("vibration.timeout");
}

QString unitOf(const ParamDef& def)
{
    const QString label = QString::fromUtf8(def.label);
    const qsizetype open = label.indexOf(u'[');
    if (open >= 0 && label.endsWith(u']')) return label.mid(open + 1, label.size() - open - 2);
    return QStringLiteral("Pulse"); // "Spannen ohne Werkzeug" and the hydraulic "Pulse"
}

const ParamDef* paramDef(const QString& key)
{
    for (const ParamDef& d : Defs)
        if (key == QLatin1String(d.key)) return &d;
    return nullptr;
}

std::span<const ServiceDef> serviceDefs()
{
    return Services;
}

const ServiceDef* serviceDef(const QString& key)
{
    for (const ServiceDef& d : Services)
        if (key == QLatin1String(d.key)) return &d;
    return nullptr;
}

int serviceNumber(const ServiceDef& def, quint16 word)
{
    return def.isSigned ? int(qint16(word)) : int(word);
}

double serviceNumber(const QString& key, double kept)
{
    const ServiceDef* def = serviceDef(key);
    if (!def || kept != std::floor(kept) || kept < -32768 || kept > 65535) return kept;
    return serviceNumber(*def, quint16(qint32(kept) & 0xFFFF));
}

void TParamSets::select(const char* set, quint16 code)
{
    m_ex.Exec(QString::fromLatin1(set), code);
    m_selected = QString::fromLatin1(set);
}

quint16 TParamSets::fetch(const char* getter, quint16 code)
{
    m_ex.Exec(QString::fromLatin1(getter), code);
    return m_ex.Receive(code + 1);
}

SetWords TParamSets::readSet(const char* set, quint16 code)
{
    // Both sets answer the same getters once selected; their codes follow the selection's.
    select(set, code);
    SetWords w;
    w.shortLimit = fetch("M_ZKLEIN@", code + 1);
    w.longLimit = fetch("M_ZGROSS@", code + 3);
    w.minTime = fetch("F_MIN1@", code + 5);
    w.withoutTool = fetch("F_MIN2@", code + 7);
    w.stopFrequency = fetch("F_MIN3@", code + 9);
    w.timeout = fetch("T_DAUER_TO@", code + 11);
    return w;
}

SetWords TParamSets::ReadSpann()
{
    return readSet("SPANN", 300);
}

SetWords TParamSets::ReadLoes()
{
    return readSet("LOES", 400);
}

HydraulicWords TParamSets::ReadHydraulics()
{
    HydraulicWords v;
    v.enabled = fetch("@EN_HYDR", 413);
    v.duration = fetch("@HYDR_DAUER", 415);
    v.pulses = fetch("@HYDR_PULSE", 417);
    return v;
}

PairWords TParamSets::ReadPlan()
{
    select("PLAN", 500);
    PairWords w;
    w.threshold = fetch("F_MIN1@", 501);
    w.timeout = fetch("T_DAUER_TO@", 503);
    return w;
}

PairWords TParamSets::ReadSchwing()
{
    select("SCHWING", 600);
    PairWords w;
    w.threshold = fetch("SCHWING_MAX@", 601);
    w.timeout = fetch("T_DAUER_TO@", 603);
    return w;
}

ServiceWords TParamSets::ReadService(quint16 bios)
{
    return readServiceWords(m_ex, bios);
}

quint16 TParamSets::send(const ParamDef& f, qint64 value)
{
    if (f.conversion == ParamConversion::StopFrequency)
        value = std::clamp<qint64>(value, StopFrequencyMin, StopFrequencyMax);
    // A page shown without its read (the notebook's own keys switch pages too) would leave
    // another set selected, and the value would land in that set.
    if (f.selector && (!f.selectedByRead || m_selected != QLatin1String(f.selector)))
        select(f.selector, f.selectorCode);
    m_ex.Send(quint16(value), f.code);
    m_ex.Exec(QString::fromLatin1(f.setter), f.code + 1);
    m_ex.Exec(QString::fromLatin1(f.getter), f.code + 2);
    return m_ex.Receive(f.code + 3);
}

quint16 TParamSets::raiseWithoutTool(qint64 raised)
{
    return send(*paramDef(QStringLiteral("clamp.without_tool")), raised);
}

void TParamSets::SendEnHydr(bool on)
{
    m_ex.Send(on ? 0xFFFF : 0, 420);
    m_ex.Exec(QStringLiteral("!EN_HYDR"), 421);
}

void TParamSets::save(SetId set, quint16 bios)
{
    const SaveCodes& s = Saves[int(set)];
    select(s.selector, s.selectorCode);
    // From BIOS 2.00 on the controller stores only after the memory mode was set.
    if (bios >= 200) m_ex.Exec(QStringLiteral("SET_MEM_MODE"), s.memModeCode);
    m_ex.Exec(QStringLiteral("SPEICHERN"), s.saveCode);
}

} // namespace r73
