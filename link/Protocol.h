#pragma once
/// One named controller function as the program sees it: made once with its name (which
/// registers the name with the link) and executed as often as needed.

#include <QString>
#include <QtGlobal>

namespace r73 {

class TTarget;

class TService
{
public:
    /// Registers name with the link that is current now; the service keeps that link.
    TService(TTarget* link, const QString& name);

    /// Calls the function: 0 = success, 1 = failure (also when its name never resolved).
    quint16 Execute();
    /// Looks the name up now (for functions made after the session opened): 0 = resolved.
    quint16 Resolve();

    qint32 index() const { return m_index; }
    TTarget* link() const { return m_link; }

private:
    qint32 m_index = -1;
    TTarget* m_link = nullptr;
};

} // namespace r73
