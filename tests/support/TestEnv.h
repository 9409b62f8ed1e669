#pragma once
/// Shared set-up for tests that touch the program-wide link state: a temporary working folder
/// with "ini/norlo.ini", a swapped-in serial backend, a short read time-out and a message box
/// script that records every box instead of showing it.

#include "LinkState.h"
#include "MessageFacade.h"
#include "SuperCom.h"

#include <QList>
#include <QTemporaryDir>
#include <memory>

namespace r73::test {

class TestEnv
{
public:
    /// com: the value written under "COM" (negative: no configuration file at all).
    explicit TestEnv(int com = 1, int readTimeoutMs = 200);
    ~TestEnv();

    template <class Backend> Backend& install(std::unique_ptr<Backend> b)
    {
        Backend& ref = *b;
        setSerialBackend(std::move(b));
        return ref;
    }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QList<MessageRequest> boxes; ///< every message box shown, in order

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    std::unique_ptr<SerialBackend> m_oldBackend;
    MessageHandler m_oldHandler;
    int m_oldTimeout;
};

} // namespace r73::test
