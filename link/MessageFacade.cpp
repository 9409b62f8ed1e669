#include "MessageFacade.h"

#include <QTextStream>
#include <cstdio>

namespace r73 {

namespace {

MsgAnswer printToStderr(const MessageRequest& r)
{
    // Without a window (command-line tool) the box becomes one line on standard error.
    QTextStream err(stderr);
    err << r.caption << ": " << r.text << Qt::endl;
    return defaultAnswer(r.buttons);
}

MessageHandler& handler()
{
    static MessageHandler h = printToStderr;
    return h;
}

} // namespace

MessageHandler setMessageHandler(MessageHandler h)
{
    MessageHandler old = handler();
    handler() = h ? std::move(h) : MessageHandler(printToStderr);
    return old;
}

MsgAnswer showMessage(const MessageRequest& request)
{
    return handler()(request);
}

MsgAnswer defaultAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Yes;
    }
    return MsgAnswer::Ok;
}

} // namespace r73
