#include "PageHost.h"

#include "FunctionCatalog.h"
#include "Protocol.h"
#include "Target.h"

namespace r73 {

PageHost::~PageHost() = default;

void PageHost::Exec(const QString& name, quint16 location)
{
    TService* service = services().find(name);
    CommErr(service ? service->Execute() : 1, location);
}

quint16 PageHost::Receive(quint16 location)
{
    quint16 value = 0;
    TTarget* l = link();
    CommErr(l ? l->ReceiveValue(value) : 1, location);
    return value;
}

void PageHost::Send(quint16 value, quint16 location)
{
    TTarget* l = link();
    CommErr(l ? l->SendValue(value) : 1, location);
}

QString PageHost::ReceiveText(quint16 location)
{
    QString text;
    TTarget* l = link();
    CommErr(l ? l->ReceiveString(text) : 1, location);
    return text;
}

void PageHost::SendText(const QString& text, quint16 location)
{
    TTarget* l = link();
    CommErr(l ? l->SendString(text) : 1, location);
}
ParamPagesApi::~ParamPagesApi() = default;
HistoryApi::~HistoryApi() = default;
AnalogApi::~AnalogApi() = default;

} // namespace r73
