#include "TestEnv.h"

#include "FunctionCatalog.h"
#include "Terminate.h"

#include <QDir>
#include <QFile>

namespace r73::test {

TestEnv::TestEnv(int com, int readTimeoutMs) : m_oldTimeout(ReadTimeoutMs)
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    QDir().mkpath(QStringLiteral("ini"));
    if (com >= 0) {
        QFile f(QStringLiteral("ini/norlo.ini"));
        if (f.open(QIODevice::WriteOnly))
            f.write(QStringLiteral("[Comunication]\r\nCOM=%1\r\n").arg(com).toLatin1());
    }
    m_oldBackend = setSerialBackend(nullptr);
    m_oldHandler = setMessageHandler([this](const MessageRequest& r) {
        boxes.append(r);
        return defaultAnswer(r.buttons);
    });
    ReadTimeoutMs = readTimeoutMs;
    DemoMode = false;
    ComPortNumber = 0;
    clearTerminateRequest();
    services().clear();
}

TestEnv::~TestEnv()
{
    services().clear();
    setSerialBackend(std::move(m_oldBackend));
    setMessageHandler(m_oldHandler);
    ReadTimeoutMs = m_oldTimeout;
    DemoMode = false;
    ComPortNumber = 0;
    clearTerminateRequest();
    QDir::setCurrent(m_oldCwd);
}

} // namespace r73::test
