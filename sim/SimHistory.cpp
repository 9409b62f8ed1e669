#include "SimHistory.h"

#include "SimCycle.h"

#include <iterator>

namespace r73::sim {

namespace {

const QString InitRead = QStringLiteral("_HIST_INIT_READ");
const QString Element = QStringLiteral("_@HIST_ELEMENT");
const QString ReadEnd = QStringLiteral("_@HIST_?READ_END");

constexpr quint16 CycleType = 1;       ///< clamp and release
constexpr quint16 ReleaseOnlyType = 2; ///< a release without a clamp before it
constexpr int StoredElements = 24;

quint16 resultCode(SimOutcome outcome)
{
    switch (outcome) {
    case SimOutcome::Ok:
        return HistOk;
    case SimOutcome::TooShort:
        return HistShort;
    case SimOutcome::TooLong:
        return HistLong;
    case SimOutcome::Timeout:
        return HistTimeout;
    case SimOutcome::NoTool:
        return HistNoTool;
    case SimOutcome::Leakage:
    case SimOutcome::Fault:
        break;
    }
    return HistLeakage;
}

void pushElement(const SimHistElement& e, QList<quint16>& values)
{
    // The order on the wire: results before travels.
    values << e.marker << e.number << e.type << e.subtype << e.clampResult << e.releaseResult
           << e.clampTravel << e.releaseTravel;
}

} // namespace

SimHistory::SimHistory()
{
    // Mostly good cycles, with every result code the program knows and a few it does not.
    static const quint16 clamp[] = {HistOk,      HistOk, HistShort,  HistOk, HistLong,    HistOk,
                                    HistTimeout, HistOk, HistNoTool, HistOk, HistLeakage, 7};
    static const quint16 release[] = {HistOk, HistOk,      HistOk, HistShort, HistOk, HistLong,
                                      HistOk, HistTimeout, HistOk, HistNone,  HistOk, HistOk};
    constexpr int Pattern = int(std::size(clamp));
    for (int i = 0; i < StoredElements; ++i) {
        SimHistElement e;
        e.number = m_next;
        e.type = release[i % Pattern] == HistNone ? quint16(3) : CycleType;
        e.subtype = quint16(i % 3);
        e.clampResult = clamp[i % Pattern];
        e.releaseResult = release[i % Pattern];
        e.clampTravel = quint16(1900 + (i * 37) % 200);
        e.releaseTravel = e.releaseResult == HistNone ? 0 : quint16(e.clampTravel + (i % 5) - 2);
        append(e);
    }
    m_unread.clear(); // stored, not news: _HIST_INIT_READ hands them out
}

bool SimHistory::handles(const QString& name)
{
    return name == InitRead || name == Element || name == ReadEnd;
}

QString SimHistory::run(const QString& name, QList<quint16>& values)
{
    if (name == InitRead) {
        m_unread.clear();
        for (int i = 0; i < m_elements.size(); ++i)
            m_unread.append(i);
        return QStringLiteral("history from the newest, %1 elements").arg(m_elements.size());
    }
    if (name == Element) {
        pushElement(nextElement(), values);
        return {};
    }
    values << quint16(!m_endless && m_unread.isEmpty() ? 1 : 0);
    return {};
}

SimHistElement SimHistory::nextElement()
{
    if (m_endless) {
        // Never the end, never a number twice.
        SimHistElement e;
        e.number = m_next++;
        e.clampResult = HistOk;
        e.releaseResult = HistOk;
        e.clampTravel = 2000;
        e.releaseTravel = 2000;
        return e;
    }
    if (!m_unread.isEmpty()) return m_elements.at(m_unread.takeLast());
    if (!m_elements.isEmpty()) return m_elements.last();
    SimHistElement none; // an empty history has no valid element
    none.marker = 0;
    none.type = 0;
    return none;
}

void SimHistory::append(const SimHistElement& element)
{
    m_elements.append(element);
    m_unread.append(int(m_elements.size() - 1));
    m_next = quint16(element.number + 1);
}

void SimHistory::clear()
{
    m_elements.clear();
    m_unread.clear();
}

void SimHistory::observe(const SimCycle& cycle)
{
    const int phase = int(cycle.phase());
    const bool finishedNow = cycle.phase() == SimCycle::Phase::Finished && m_lastPhase != phase;
    m_lastPhase = phase;
    if (!finishedNow || !m_live) return;
    const SimPlan& plan = cycle.plan();
    if (plan.test == SimTest::Spannen) {
        m_clampPending = true;
        m_clampResult = resultCode(plan.outcome);
        m_clampTravel = plan.motion.pulses;
    } else if (plan.test == SimTest::Loesen) {
        SimHistElement e;
        e.number = m_next;
        e.type = m_clampPending ? CycleType : ReleaseOnlyType;
        e.clampResult = m_clampPending ? m_clampResult : quint16(HistNone);
        e.clampTravel = m_clampPending ? m_clampTravel : quint16(0);
        e.releaseResult = resultCode(plan.outcome);
        e.releaseTravel = plan.motion.pulses;
        append(e);
        m_clampPending = false;
    }
}

} // namespace r73::sim
