#include "Exchanger.h"

#include "FunctionCatalog.h"
#include "Protocol.h"
#include "Target.h"

namespace r73 {

Exchanger::~Exchanger() = default;

void Exchanger::report(quint16 status, quint16 location)
{
    TTarget* l = link();
    if ((status != 0 || (l && l->LinkFailed())) && !m_failed) {
        m_failed = true;
        m_failedAt = location;
    }
    CommErr(status, location);
}

bool Exchanger::exchangeFailed() const
{
    TTarget* l = link();
    return m_failed || !l || l->LinkFailed();
}

void Exchanger::Exec(const QString& name, quint16 location)
{
    TService* service = services().find(name);
    report(service ? service->Execute() : 1, location);
}

quint16 Exchanger::Receive(quint16 location)
{
    quint16 value = 0;
    TTarget* l = link();
    report(l ? l->ReceiveValue(value) : 1, location);
    return value;
}

void Exchanger::Send(quint16 value, quint16 location)
{
    TTarget* l = link();
    report(l ? l->SendValue(value) : 1, location);
}

QString Exchanger::ReceiveText(quint16 location)
{
    QString text;
    TTarget* l = link();
    report(l ? l->ReceiveString(text) : 1, location);
    return text;
}

void Exchanger::SendText(const QString& text, quint16 location)
{
    TTarget* l = link();
    report(l ? l->SendString(text) : 1, location);
}

} // namespace r73
