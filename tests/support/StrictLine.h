#pragma once
/// Fails the running test when the simulated controller saw the host break the protocol, and
/// prints what it saw. Declare it after the engine, so it checks before the engine goes.

#include "SimEngine.h"

#include <QTest>

namespace r73::test {

class StrictLine
{
public:
    explicit StrictLine(sim::SimEngine& engine) : m_engine(engine) {}
    ~StrictLine() { verify(); }
    StrictLine(const StrictLine&) = delete;
    StrictLine& operator=(const StrictLine&) = delete;

    /// A test that breaks the protocol on purpose takes what it provoked, so the end stays clean.
    QStringList take()
    {
        m_engine.lineQuiet();
        return m_engine.takeViolations();
    }
    void verify()
    {
        const QStringList seen = take();
        if (!seen.isEmpty())
            QTest::qFail(qPrintable(QStringLiteral("the host broke the protocol:\n  ") +
                                    seen.join(QStringLiteral("\n  "))),
                         __FILE__, __LINE__);
    }

private:
    sim::SimEngine& m_engine;
};

} // namespace r73::test
