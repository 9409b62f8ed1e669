#include "FunctionCatalog.h"

#include "Protocol.h"

#include <algorithm>

namespace r73 {

namespace {

// Registered at connect, before the session opens; every one must resolve.
constexpr FunctionDef ConnectGroup[] = {
    {"+", FnUse::RegisteredOnly},
    {"-", FnUse::RegisteredOnly},
    {"T_DAUER_TO@", FnUse::ValueGetter},
    {"SPANN", FnUse::Command},
    {"LOES", FnUse::Command},
    {"PLAN", FnUse::Command},
    {"SCHWING", FnUse::Command},
    {"F_MIN1@", FnUse::ValueGetter},
    {"F_MIN2@", FnUse::ValueGetter},
    {"F_MIN3@", FnUse::ValueGetter},
    {"M_ZKLEIN@", FnUse::ValueGetter},
    {"M_ZGROSS@", FnUse::ValueGetter},
    {"SCHWING_MAX@", FnUse::ValueGetter},
    {"!TIMEOUT", FnUse::ValueSetter},
    {"KURZ", FnUse::ValueSetter},
    {"LANG", FnUse::ValueSetter},
    {"F_START", FnUse::ValueSetter},
    {"F_STOP", FnUse::ValueSetter},
    {"F_PLAN", FnUse::ValueSetter},
    {"MAX_SCHWING", FnUse::ValueSetter},
    {"SPEICHERN", FnUse::Command},
    {"TEST_START", FnUse::Command},
    {"TEST_STOP", FnUse::Command},
    {"R_SENSOR", FnUse::ValueGetter},
    {"ACT_FREQ", FnUse::ValueGetter},
    {"ACT_ZAEHLER", FnUse::ValueGetter},
    {"R_INPORT", FnUse::ValueGetter},
    {"R_OPORT", FnUse::ValueGetter},
    {"F@", FnUse::ValueGetter},
    {"M_SPANN@", FnUse::ValueGetter},
    {"M_GESAMT@", FnUse::RegisteredOnly},
    {"M_SCHLEICH@", FnUse::RegisteredOnly},
    {"F_SCHLEICH@", FnUse::ValueGetter},
    {"F_MAX@", FnUse::ValueGetter},
    {"T_DAUER@", FnUse::ValueGetter},
    {"#MESSEN@", FnUse::ValueGetter},
    {"SV_NO?", FnUse::ValueGetter},
    {"HW_SER_NO?", FnUse::ValueGetter},
};

constexpr FunctionDef From200[] = {
    {"SET_MEM_MODE", FnUse::Command},
};

// The history readout joins with BIOS 2.08.
constexpr FunctionDef From208[] = {
    {"LAST_SPANN@", FnUse::ValueGetter},    {"LAST_LOES@", FnUse::ValueGetter},
    {"ABW_LOES@", FnUse::ValueGetter},      {"_HIST_INIT_READ", FnUse::Command},
    {"_@HIST_ELEMENT", FnUse::ValueGetter}, {"_@HIST_?READ_END", FnUse::ValueGetter},
};

// The three analog channels: rows of the same role, channel by channel.
constexpr FunctionDef From300[] = {
    {"READ_NAME1", FnUse::StringGetter},
    {"READ_NAME2", FnUse::StringGetter},
    {"READ_NAME3", FnUse::StringGetter},
    {"READ_EINH1", FnUse::StringGetter},
    {"READ_EINH2", FnUse::StringGetter},
    {"READ_EINH3", FnUse::StringGetter},
    {"@ANA1", FnUse::ValueGetter},
    {"@ANA2", FnUse::ValueGetter},
    {"@ANA3", FnUse::ValueGetter},
    {"@PRUEFE_ANALOG1", FnUse::ValueGetter},
    {"@PRUEFE_ANALOG2", FnUse::ValueGetter},
    {"@PRUEFE_ANALOG3", FnUse::ValueGetter},
    {"WRITE_NAME1", FnUse::StringSetter},
    {"WRITE_NAME2", FnUse::StringSetter},
    {"WRITE_NAME3", FnUse::StringSetter},
    {"WRITE_EINH1", FnUse::StringSetter},
    {"WRITE_EINH2", FnUse::StringSetter},
    {"WRITE_EINH3", FnUse::StringSetter},
    {"GET_DEPTH", FnUse::RegisteredOnly},
    {"@ANA_PARA1", FnUse::ValueGetter},
    {"@ANA_PARA2", FnUse::ValueGetter},
    {"@ANA_PARA3", FnUse::ValueGetter},
    {"@MIN1_1", FnUse::ValueGetter},
    {"@MIN2_1", FnUse::ValueGetter},
    {"@MAX1_1", FnUse::ValueGetter},
    {"@MAX2_1", FnUse::ValueGetter},
    {"@MIN1_2", FnUse::ValueGetter},
    {"@MIN2_2", FnUse::ValueGetter},
    {"@MAX1_2", FnUse::ValueGetter},
    {"@MAX2_2", FnUse::ValueGetter},
    {"@MIN1_3", FnUse::ValueGetter},
    {"@MIN2_3", FnUse::ValueGetter},
    {"@MAX1_3", FnUse::ValueGetter},
    {"@MAX2_3", FnUse::ValueGetter},
    {"READ_STR_MIN1_1", FnUse::StringGetter},
    {"READ_STR_MIN2_1", FnUse::StringGetter},
    {"READ_STR_MAX1_1", FnUse::StringGetter},
    {"READ_STR_MAX2_1", FnUse::StringGetter},
    {"READ_STR_MIN1_2", FnUse::StringGetter},
    {"READ_STR_MIN2_2", FnUse::StringGetter},
    {"READ_STR_MAX1_2", FnUse::StringGetter},
    {"READ_STR_MAX2_2", FnUse::StringGetter},
    {"READ_STR_MIN1_3", FnUse::StringGetter},
    {"READ_STR_MIN2_3", FnUse::StringGetter},
    {"READ_STR_MAX1_3", FnUse::StringGetter},
    {"READ_STR_MAX2_3", FnUse::StringGetter},
    {"READ_PHYS_ZERO1", FnUse::StringGetter},
    {"READ_PHYS_RANGE1", FnUse::StringGetter},
    {"READ_PHYS_ZERO2", FnUse::StringGetter},
    {"READ_PHYS_RANGE2", FnUse::StringGetter},
    {"READ_PHYS_ZERO3", FnUse::StringGetter},
    {"READ_PHYS_RANGE3", FnUse::StringGetter},
    {"!ANA_PARA1", FnUse::ValueSetter},
    {"!ANA_PARA2", FnUse::ValueSetter},
    {"!ANA_PARA3", FnUse::ValueSetter},
    {"!MIN1_1", FnUse::ValueSetter},
    {"!MIN2_1", FnUse::ValueSetter},
    {"!MAX1_1", FnUse::ValueSetter},
    {"!MAX2_1", FnUse::ValueSetter},
    {"!MIN1_2", FnUse::ValueSetter},
    {"!MIN2_2", FnUse::ValueSetter},
    {"!MAX1_2", FnUse::ValueSetter},
    {"!MAX2_2", FnUse::ValueSetter},
    {"!MIN1_3", FnUse::ValueSetter},
    {"!MIN2_3", FnUse::ValueSetter},
    {"!MAX1_3", FnUse::ValueSetter},
    {"!MAX2_3", FnUse::ValueSetter},
    {"WRITE_STR_MIN1_1", FnUse::StringSetter},
    {"WRITE_STR_MIN2_1", FnUse::StringSetter},
    {"WRITE_STR_MAX1_1", FnUse::StringSetter},
    {"WRITE_STR_MAX2_1", FnUse::StringSetter},
    {"WRITE_STR_MIN1_2", FnUse::StringSetter},
    {"WRITE_STR_MIN2_2", FnUse::StringSetter},
    {"WRITE_STR_MAX1_2", FnUse::StringSetter},
    {"WRITE_STR_MAX2_2", FnUse::StringSetter},
    {"WRITE_STR_MIN1_3", FnUse::StringSetter},
    {"WRITE_STR_MIN2_3", FnUse::StringSetter},
    {"WRITE_STR_MAX1_3", FnUse::StringSetter},
    {"WRITE_STR_MAX2_3", FnUse::StringSetter},
    {"WRITE_PHYS_ZERO1", FnUse::StringSetter},
    {"WRITE_PHYS_RANGE1", FnUse::StringSetter},
    {"WRITE_PHYS_ZERO2", FnUse::StringSetter},
    {"WRITE_PHYS_RANGE2", FnUse::StringSetter},
    {"WRITE_PHYS_ZERO3", FnUse::StringSetter},
    {"WRITE_PHYS_RANGE3", FnUse::StringSetter},
};

constexpr FunctionDef From210[] = {
    {"M_OHNE_TOOL", FnUse::ValueSetter},
};

constexpr FunctionDef From310[] = {
    {"@EN_HYDR", FnUse::ValueGetter},    {"!EN_HYDR", FnUse::ValueSetter},
    {"@HYDR_DAUER", FnUse::ValueGetter}, {"!HYDR_DAUER", FnUse::ValueSetter},
    {"@HYDR_PULSE", FnUse::ValueGetter}, {"!HYDR_PULSE", FnUse::ValueSetter},
};

// The thresholds are tested in this order, which fixes the registration order.
constexpr VersionGroup VersionGroups[] = {
    {200, From200}, {208, From208}, {300, From300}, {210, From210}, {310, From310},
};

} // namespace

std::span<const FunctionDef> connectGroup()
{
    return ConnectGroup;
}

std::span<const VersionGroup> versionGroups()
{
    return VersionGroups;
}

QStringList versionGroupNames(quint16 v)
{
    QStringList names;
    for (const VersionGroup& group : VersionGroups)
        if (v >= group.fromVersion)
            for (const FunctionDef& f : group.functions)
                names << QString::fromLatin1(f.name);
    return names;
}

FnUse useOf(const QString& name)
{
    for (const FunctionDef& f : ConnectGroup)
        if (name == QLatin1String(f.name)) return f.use;
    for (const VersionGroup& group : VersionGroups)
        for (const FunctionDef& f : group.functions)
            if (name == QLatin1String(f.name)) return f.use;
    return FnUse::RegisteredOnly;
}

ServiceTable::ServiceTable() = default;
ServiceTable::~ServiceTable() = default;

TService& ServiceTable::make(TTarget* link, const QString& name)
{
    m_all.push_back(std::make_unique<TService>(link, name));
    m_byName.insert(name, m_all.back().get());
    return *m_all.back();
}

TService* ServiceTable::find(const QString& name) const
{
    return m_byName.value(name, nullptr);
}

void ServiceTable::clear()
{
    m_byName.clear();
    m_all.clear();
}

ServiceTable& services()
{
    static ServiceTable table;
    return table;
}

bool knownBios(quint16 bios)
{
    quint16 newest = 0;
    for (const VersionGroup& g : VersionGroups)
        newest = std::max(newest, g.fromVersion);
    return bios > 0 && bios <= newest;
}

} // namespace r73
