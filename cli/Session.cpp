#include "Session.h"

#include "Command.h"
#include "FunctionCatalog.h"
#include "Protocol.h"
#include "Target.h"

namespace r73::cli {

Session::Session() : m_link(std::make_unique<TTarget>()) {}
Session::~Session() = default;

bool Session::open(QString& error)
{
    if (!openSession(*m_link, m_id, error, timeoutSeconds())) return false;
    // The version groups in the order the program's connect registers them.
    for (const VersionGroup& g : versionGroups())
        if (m_id.biosVersion >= g.fromVersion)
            for (const FunctionDef& f : g.functions)
                services().make(m_link.get(), QString::fromLatin1(f.name)).Resolve();
    if (m_link->LinkFailed()) {
        error = failure();
        return false;
    }
    return true;
}

QString Session::failure() const
{
    if (m_link->LinkFailed())
        return QStringLiteral("no answer from the controller within %1 s").arg(timeoutSeconds());
    return QStringLiteral("the controller reported a failed call (location %1)").arg(failedAt());
}

} // namespace r73::cli
