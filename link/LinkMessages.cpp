#include "LinkMessages.h"

#include <QTextStream>
#include <cstdio>

namespace r73 {

namespace {

void printToStderr(QObject*, const QString& text, const QString& caption, const QString& detail)
{
    QTextStream err(stderr);
    err << caption << ": " << text;
    if (!detail.isEmpty()) err << ' ' << detail;
    err << Qt::endl;
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

void showLinkError(QObject* owner, const QString& text, const QString& caption,
                   const QString& detail)
{
    handler()(owner, text, caption, detail);
}

} // namespace r73
