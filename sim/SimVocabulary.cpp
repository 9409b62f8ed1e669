#include "SimVocabulary.h"

namespace r73::sim {

namespace {

void add(QList<SimFunction>& table, const QString& name, quint16 since)
{
    SimFunction f;
    f.name = name;
    f.id = quint16(SimVocabulary::FirstFunctionId + table.size());
    f.sinceBios = since;
    f.kind = SimVocabulary::kindOf(name);
    table.append(f);
}

void addChannels(QList<SimFunction>& table, const QStringList& stems, quint16 since)
{
    for (const QString& stem : stems)
        for (int ch = 1; ch <= 3; ++ch)
            add(table, stem.arg(ch), since);
}

QList<SimFunction> buildTable()
{
    QList<SimFunction> t;
    for (const char* name :
         {"GET",         "PUT",          "STRGET",   "STRPUT",      "+",
          "-",           "T_DAUER_TO@",  "SPANN",    "LOES",        "PLAN",
          "SCHWING",     "F_MIN1@",      "F_MIN2@",  "F_MIN3@",     "M_ZKLEIN@",
          "M_ZGROSS@",   "SCHWING_MAX@", "!TIMEOUT", "KURZ",        "LANG",
          "F_START",     "F_STOP",       "F_PLAN",   "MAX_SCHWING", "SPEICHERN",
          "TEST_START",  "TEST_STOP",    "R_SENSOR", "ACT_FREQ",    "ACT_ZAEHLER",
          "R_INPORT",    "R_OPORT",      "F@",       "M_SPANN@",    "M_GESAMT@",
          "M_SCHLEICH@", "F_SCHLEICH@",  "F_MAX@",   "T_DAUER@",    "#MESSEN@",
          "SV_NO?",      "HW_SER_NO?"})
        add(t, QString::fromLatin1(name), 0);

    add(t, QStringLiteral("SET_MEM_MODE"), 200);
    for (const char* name : {"LAST_SPANN@", "LAST_LOES@", "ABW_LOES@", "_HIST_INIT_READ",
                             "_@HIST_ELEMENT", "_@HIST_?READ_END"})
        add(t, QString::fromLatin1(name), 208);

    addChannels(t,
                {"READ_NAME%1", "READ_EINH%1", "@ANA%1", "@PRUEFE_ANALOG%1", "WRITE_NAME%1",
                 "WRITE_EINH%1"},
                300);
    add(t, QStringLiteral("GET_DEPTH"), 300);
    const QStringList limits{"MIN1_%1", "MIN2_%1", "MAX1_%1", "MAX2_%1"};
    const QStringList phys{"PHYS_ZERO%1", "PHYS_RANGE%1"};
    auto prefixed = [](const QString& prefix, const QStringList& stems) {
        QStringList out;
        for (const QString& s : stems)
            out.append(prefix + s);
        return out;
    };
    addChannels(t, {"@ANA_PARA%1"}, 300);
    addChannels(t, prefixed("@", limits), 300);
    addChannels(t, prefixed("READ_STR_", limits), 300);
    addChannels(t, prefixed("READ_", phys), 300);
    addChannels(t, {"!ANA_PARA%1"}, 300);
    addChannels(t, prefixed("!", limits), 300);
    addChannels(t, prefixed("WRITE_STR_", limits), 300);
    addChannels(t, prefixed("WRITE_", phys), 300);

    add(t, QStringLiteral("M_OHNE_TOOL"), 210);
    for (const char* name :
         {"@EN_HYDR", "!EN_HYDR", "@HYDR_DAUER", "!HYDR_DAUER", "@HYDR_PULSE", "!HYDR_PULSE"})
        add(t, QString::fromLatin1(name), 310);

    Q_ASSERT(t.size() <= 0x100); // ids must stay within 0x11xx
    return t;
}

} // namespace

const QList<SimFunction>& SimVocabulary::fullTable()
{
    static const QList<SimFunction> table = buildTable();
    return table;
}

FunctionKind SimVocabulary::kindOf(const QString& name)
{
    if (name == QLatin1String("GET")) return FunctionKind::Get;
    if (name == QLatin1String("PUT")) return FunctionKind::Put;
    if (name == QLatin1String("STRGET")) return FunctionKind::StrGet;
    if (name == QLatin1String("STRPUT")) return FunctionKind::StrPut;
    if (name.startsWith(u'@') || name.endsWith(u'@') || name.endsWith(u'?'))
        return FunctionKind::ValueGetter;
    if (name.startsWith(u'!')) return FunctionKind::ValueSetter;
    if (name.startsWith(QLatin1String("READ_"))) return FunctionKind::StringGetter;
    if (name.startsWith(QLatin1String("WRITE_"))) return FunctionKind::StringSetter;
    return FunctionKind::Command;
}

SimVocabulary::SimVocabulary(quint16 bios) : m_bios(bios)
{
    const QList<SimFunction>& table = fullTable();
    for (int i = 0; i < table.size(); ++i)
        if (table[i].sinceBios <= bios) m_index.insert(table[i].name, i);
}

const SimFunction* SimVocabulary::byName(const QString& name) const
{
    auto it = m_index.constFind(name);
    return it == m_index.constEnd() ? nullptr : &fullTable()[*it];
}

const SimFunction* SimVocabulary::byId(quint16 id) const
{
    const QList<SimFunction>& table = fullTable();
    const int pos = int(id) - FirstFunctionId;
    if (pos < 0 || pos >= table.size() || table[pos].sinceBios > m_bios) return nullptr;
    return &table[pos];
}

quint16 SimVocabulary::idOf(const QString& name) const
{
    const SimFunction* f = byName(name);
    return f ? f->id : 0;
}

QStringList SimVocabulary::names() const
{
    QStringList out;
    for (const SimFunction& f : fullTable())
        if (f.sinceBios <= m_bios) out.append(f.name);
    return out;
}

} // namespace r73::sim
