#include "MessageFacade.h"

#include "LinkMessages.h"
#include "Terminate.h"

#include <QFileDialog>
#include <QTextStream>
#include <QWidget>
#include <cstdio>

namespace r73 {

namespace {

MsgAnswer printToStderr(const MessageRequest& r)
{
    // Without a window (command-line tool) the box becomes one line on standard error.
    QTextStream err(stderr);
    err << r.caption << ": " << r.text;
    if (!r.detail.isEmpty()) err << ' ' << r.detail;
    err << Qt::endl;
    return defaultAnswer(r.buttons);
}

MessageHandler& handler()
{
    static MessageHandler h = printToStderr;
    return h;
}

// Wherever the program's boxes are in use, the link's errors are boxes too, owned by the link's
// owner window, and go through whatever handler is installed (tests record them).
[[maybe_unused]] const bool linkErrorsAreBoxes = [] {
    setLinkMessageHandler(
        [](QObject* owner, const QString& text, const QString& caption, const QString& detail) {
            showMessage({qobject_cast<QWidget*>(owner), text, caption, MsgIcon::Error,
                         MsgButtons::Ok, detail});
        });
    return true;
}();

} // namespace

MessageHandler setMessageHandler(MessageHandler h)
{
    MessageHandler old = handler();
    handler() = h ? std::move(h) : MessageHandler(printToStderr);
    return old;
}

MsgAnswer showMessage(const MessageRequest& request)
{
    // Once the program is ending (after the fatal report) no further box appears: the ending
    // message loop would close it at once. It answers as if closed, so nothing more is done.
    if (terminateRequested()) return closedAnswer(request.buttons);
    return handler()(request);
}

MsgAnswer closedAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
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
    case MsgButtons::CancelIgnore:
        return MsgAnswer::Cancel;
    }
    return MsgAnswer::Ok;
}

namespace {

QString platformSaveDialog(const SaveDialogRequest& r)
{
    QFileDialog dialog(r.owner, r.caption, r.directory, r.filter);
    dialog.setAcceptMode(r.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (r.open) dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(r.defaultSuffix);
    dialog.selectFile(r.fileName);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

SaveDialogHandler& saveHandler()
{
    static SaveDialogHandler h = platformSaveDialog;
    return h;
}

PrintDialogHandler& printHandler()
{
    static PrintDialogHandler h;
    return h;
}

} // namespace

SaveDialogHandler setSaveDialogHandler(SaveDialogHandler h)
{
    SaveDialogHandler old = saveHandler();
    saveHandler() = h ? std::move(h) : SaveDialogHandler(platformSaveDialog);
    return old;
}

QString showSaveDialog(const SaveDialogRequest& request)
{
    return saveHandler()(request);
}

QString showOpenDialog(SaveDialogRequest request)
{
    request.open = true;
    return showSaveDialog(request);
}

PrintDialogHandler setPrintDialogHandler(PrintDialogHandler h)
{
    PrintDialogHandler old = printHandler();
    printHandler() = std::move(h);
    return old;
}

const PrintDialogHandler& printDialogHandler()
{
    return printHandler();
}

} // namespace r73
