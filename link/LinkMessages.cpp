#include "LinkMessages.h"

#include <QTextStream>
#include <cstdio>

namespace r73 {

namespace {

void printToStderr(QObject*, const QString& text, const QString& caption)
{
    QTextStream err(stderr);
    err << caption << ": " << text << Qt::endl;
}

LinkMessageHandler& handler()
{
    static LinkMessageHandler h = printToStderr;
    return h;
}

} // namespace

LinkMessageHandler setLinkMessageHandler(LinkMessageHandler h)
{
    LinkMessageHandler old = handler();
    handler() = h ? std::move(h) : LinkMessageHandler(printToStderr);
    return old;
}

void showLinkError(QObject* owner, const QString& text, const QString& caption)
{
    handler()(owner, text, caption);
}

} // namespace r73
