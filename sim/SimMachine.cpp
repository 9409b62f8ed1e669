#include "SimMachine.h"

#include "SimAnalog.h"

#include <QtDebug>

namespace r73::sim {

namespace {

// A host that calls getters without ever fetching the values must not grow us without bound.
constexpr int FifoLimit = 256;

const QHash<QString, ParamSetId>& selectors()
{
    static const QHash<QString, ParamSetId> map{{"SPANN", ParamSetId::Spann},
                                                {"LOES", ParamSetId::Loes},
                                                {"PLAN", ParamSetId::Plan},
                                                {"SCHWING", ParamSetId::Schwing}};
    return map;
}

const QHash<QString, ParamField>& fieldGetters()
{
    static const QHash<QString, ParamField> map{
        {"M_ZKLEIN@", ParamField::ZKlein},       {"M_ZGROSS@", ParamField::ZGross},
        {"F_MIN1@", ParamField::FMin1},          {"F_MIN2@", ParamField::FMin2},
        {"F_MIN3@", ParamField::FMin3},          {"T_DAUER_TO@", ParamField::TDauerTo},
        {"SCHWING_MAX@", ParamField::SchwingMax}};
    return map;
}

const QHash<QString, ParamField>& fieldSetters()
{
    static const QHash<QString, ParamField> map{
        {"KURZ", ParamField::ZKlein},       {"LANG", ParamField::ZGross},
        {"M_OHNE_TOOL", ParamField::FMin2}, {"F_START", ParamField::FMin1},
        {"F_STOP", ParamField::FMin3},      {"!TIMEOUT", ParamField::TDauerTo},
        {"F_PLAN", ParamField::FMin1},      {"MAX_SCHWING", ParamField::SchwingMax}};
    return map;
}

/// "@X" -> "X", "!X" -> "X", "READ_X"/"WRITE_X" -> "X"; names without a pair keep their own.
QString stemOf(const QString& name)
{
    if (name.startsWith(u'@') || name.startsWith(u'!')) return name.mid(1);
    if (name.startsWith(QLatin1String("READ_"))) return name.mid(5);
    if (name.startsWith(QLatin1String("WRITE_"))) return name.mid(6);
    return name;
}

} // namespace

SimMachine::SimMachine(quint16 bios, quint16 serial, quint64 seed, const QString& stateFile)
    : m_bios(bios), m_serial(serial), m_stateFile(stateFile),
      m_permanent(loadPermanentStore(stateFile, &m_stateWarning)), m_working(m_permanent),
      m_status(seed, bios, m_working)
{
    for (auto it = m_permanent.hydraulic.constBegin(); it != m_permanent.hydraulic.constEnd(); ++it)
        m_values.insert(it.key(), it.value());
}

quint16 SimMachine::takeValue()
{
    return m_valueFifo.isEmpty() ? 0 : m_valueFifo.takeFirst();
}

QByteArray SimMachine::takeText()
{
    return m_textFifo.isEmpty() ? QByteArray() : m_textFifo.takeFirst();
}

void SimMachine::push(quint16 value)
{
    if (m_valueFifo.size() >= FifoLimit) m_valueFifo.removeFirst();
    m_valueFifo.append(value);
}

void SimMachine::pushText(const QByteArray& text)
{
    if (m_textFifo.size() >= FifoLimit) m_textFifo.removeFirst();
    m_textFifo.append(text);
}

QString SimMachine::save()
{
    m_permanent.set(m_selected) = m_working.set(m_selected);
    for (const QString& name : hydraulicNames())
        m_permanent.hydraulic[name] = m_values.value(name, 0);
    if (m_stateFile.isEmpty()) return QStringLiteral("saved %1").arg(paramSetName(m_selected));
    QString error;
    if (!savePermanentStore(m_stateFile, m_permanent, &error)) {
        qWarning().noquote() << "r73-sim:" << error;
        return QStringLiteral("save failed");
    }
    return QStringLiteral("saved %1 to %2").arg(paramSetName(m_selected), m_stateFile);
}

bool SimMachine::runModelled(const QString& name, QString& note)
{
    if (auto it = selectors().constFind(name); it != selectors().constEnd()) {
        m_selected = *it;
        note = QStringLiteral("selected %1").arg(name);
    } else if (auto g = fieldGetters().constFind(name); g != fieldGetters().constEnd()) {
        push(m_working.set(m_selected)[*g]);
    } else if (auto s = fieldSetters().constFind(name); s != fieldSetters().constEnd()) {
        m_working.set(m_selected)[*s] = m_lastValue;
        note = QStringLiteral("%1.%2=%3")
                   .arg(paramSetName(m_selected), paramFieldName(*s))
                   .arg(m_lastValue);
    } else if (name == QLatin1String("SET_MEM_MODE")) {
        m_memArmed = true;
        note = QStringLiteral("save armed");
    } else if (name == QLatin1String("SPEICHERN")) {
        // Before BIOS 2.00 there was no separate arming step.
        if (m_bios < 200 || m_memArmed)
            note = save();
        else
            note = QStringLiteral("not armed, nothing saved");
        m_memArmed = false;
    } else if (name == QLatin1String("TEST_START") || name == QLatin1String("TEST_STOP")) {
        m_status.setTestMode(name == QLatin1String("TEST_START"));
    } else if (name == QLatin1String("SV_NO?")) {
        push(m_bios);
    } else if (name == QLatin1String("HW_SER_NO?")) {
        push(m_serial);
    } else if (SimStatus::provides(name)) {
        push(m_status.read(name));
    } else if (SimHistory::handles(name)) {
        QList<quint16> values;
        note = m_history.run(name, values);
        for (quint16 v : values)
            push(v);
    } else if (SimAnalog::handles(name)) {
        QList<quint16> values;
        QList<QByteArray> texts;
        note = SimAnalog(m_values, m_texts, m_status.cycle()).run(name, m_lastValue, values, texts);
        for (quint16 v : values)
            push(v);
        for (const QByteArray& t : texts)
            pushText(t);
    } else {
        return false;
    }
    return true;
}

QString SimMachine::run(const SimFunction& f)
{
    const qsizetype before = m_valueFifo.size();
    QString note;
    if (!runModelled(f.name, note)) note = runByConvention(f);
    if (note.isEmpty() && m_valueFifo.size() > before) {
        QStringList pushed;
        for (qsizetype i = before; i < m_valueFifo.size(); ++i)
            pushed << QString::number(m_valueFifo[i]);
        note = QStringLiteral("push ") + pushed.join(u',');
    }
    return note;
}

QString SimMachine::runByConvention(const SimFunction& f)
{
    const QString stem = stemOf(f.name);
    switch (f.kind) {
    case FunctionKind::ValueGetter:
        push(m_values.value(stem, 0));
        return {};
    case FunctionKind::ValueSetter:
        m_values.insert(stem, m_lastValue);
        return QStringLiteral("%1=%2").arg(stem).arg(m_lastValue);
    case FunctionKind::StringGetter:
        pushText(m_texts.value(stem));
        return QStringLiteral("push text");
    case FunctionKind::StringSetter:
        m_texts.insert(stem, m_lastText);
        return QStringLiteral("%1 text set").arg(stem);
    default:
        return {};
    }
}

} // namespace r73::sim
