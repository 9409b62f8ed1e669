#include "Identify.h"

#include "FunctionCatalog.h"
#include "Protocol.h"
#include "Target.h"

namespace r73::cli {

namespace {

QString noAnswer(int timeoutSeconds)
{
    return QStringLiteral("no answer from the controller within %1 s").arg(timeoutSeconds);
}

/// Executes a value getter and fetches its value; false when any part failed.
bool readValue(TTarget& link, const char* name, quint16& value)
{
    TService* service = services().find(QString::fromLatin1(name));
    return service && service->Execute() == 0 && link.ReceiveValue(value) == 0 &&
           !link.LinkFailed();
}

} // namespace

QString formatVersion(quint16 v)
{
    return QString::asprintf("%u.%02u", unsigned(v / 100), unsigned(v % 100));
}

bool openSession(TTarget& link, QString& error, int timeoutSeconds)
{
    if (!link.WordList()) {
        error = QStringLiteral("cannot open the port: %1").arg(link.PortError());
        return false;
    }
    for (const FunctionDef& f : connectGroup())
        services().make(&link, QString::fromLatin1(f.name));
    link.Initialize();
    if (link.LinkFailed()) {
        error = noAnswer(timeoutSeconds);
        return false;
    }
    if (link.SessionId() == 0) {
        error = QStringLiteral("the controller refused the session");
        return false;
    }
    const QStringList unknown = link.UnresolvedNames();
    if (!unknown.isEmpty()) {
        error =
            QStringLiteral("the controller does not know the function \"%1\"").arg(unknown.first());
        return false;
    }
    return true;
}

bool identify(Identity& out, QString& error, int timeoutSeconds)
{
    TTarget link;
    return openSession(link, out, error, timeoutSeconds);
}

bool openSession(TTarget& link, Identity& out, QString& error, int timeoutSeconds)
{
    if (!openSession(link, error, timeoutSeconds)) return false;
    if (!readValue(link, "SV_NO?", out.biosVersion) ||
        !readValue(link, "HW_SER_NO?", out.serialNumber)) {
        error = link.LinkFailed() ? noAnswer(timeoutSeconds)
                                  : QStringLiteral("the controller reported a failed call");
        return false;
    }
    return true;
}

} // namespace r73::cli
