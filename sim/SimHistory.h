#pragma once
/// The controller's history of clamping cycles: a stored history at start, one element more for
/// each release the machine finishes, and the three history functions that hand the elements
/// out newest first.
///
/// The controller hands out each element once, newest first; "_@HIST_?READ_END" answers 1 once
/// all are out. After that "_@HIST_ELEMENT" repeats the newest until a new cycle is recorded,
/// which comes next. So a host that keeps reading, and stops at a number it knows, picks up each
/// new cycle with its next pass. "_HIST_INIT_READ" hands the whole history out again.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace r73::sim {

class SimCycle;

struct SimHistElement
{
    static constexpr quint16 ValidMarker = 8271;

    quint16 marker = ValidMarker;
    quint16 number = 0;
    quint16 type = 1;
    quint16 subtype = 0;
    quint16 clampResult = 0;
    quint16 releaseResult = 0;
    quint16 clampTravel = 0;
    quint16 releaseTravel = 0;
};

/// Result codes of an element.
enum SimHistResult : quint16 {
    HistNone = 0, ///< no such motion in this cycle
    HistShort = 1,
    HistLong = 2,
    HistTimeout = 3,
    HistNoTool = 4,
    HistLeakage = 5,
    HistOk = 255,
};

class SimHistory
{
public:
    /// Starts with the stored history of a machine that has run for a while.
    SimHistory();

    /// True for the three history functions.
    static bool handles(const QString& name);
    /// Runs one of them; appends what it delivers to values and returns a note for the log.
    QString run(const QString& name, QList<quint16>& values);

    /// One exchange has completed: a release that has just finished closes a cycle.
    void observe(const SimCycle& cycle);

    /// Records a cycle as the newest element; it is handed out next.
    void append(const SimHistElement& element);
    /// Forgets every element (the next number stays).
    void clear();
    /// Off: the machine's cycles no longer add elements (tests that need an exact history).
    void setLive(bool live) { m_live = live; }
    /// Fault: every element is a new one and the end never comes.
    void setEndless(bool endless) { m_endless = endless; }

    const QList<SimHistElement>& elements() const { return m_elements; }
    /// The number the next recorded cycle gets.
    quint16 nextNumber() const { return m_next; }

private:
    SimHistElement nextElement();

    QList<SimHistElement> m_elements; ///< oldest first
    QList<int> m_unread;              ///< indexes not yet handed out, newest last
    quint16 m_next = 0x7FFB;          // the stored numbers cross 0x8000 and take in 0x8011
    bool m_live = true;
    bool m_endless = false;
    // What the machine last did, to see a test finish.
    int m_lastPhase = 0;
    bool m_clampPending = false;
    quint16 m_clampResult = HistNone;
    quint16 m_clampTravel = 0;
};

} // namespace r73::sim
