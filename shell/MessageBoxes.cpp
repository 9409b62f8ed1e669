#include "MessageBoxes.h"

#include "MessageFacade.h"

#include <QApplication>
#include <QMessageBox>

namespace r73 {

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::CancelIgnore:
        return QMessageBox::Cancel | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

MsgAnswer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Ignore:
        return MsgAnswer::Ignore;
    default:
        return MsgAnswer::Ok;
    }
}

MsgAnswer showQtBox(const MessageRequest& r)
{
    // Without an owner the box belongs to the active window, as on the platform we replace.
    QWidget* owner = r.owner ? r.owner : QApplication::activeWindow();
    // A box without a caption carries the program's title, as the platform's plain box does;
    // a desktop would title it "Untitled".
    const QString caption = r.caption.isEmpty() ? QStringLiteral("R73") : r.caption;
    QMessageBox box(qtIcon(r.icon), caption, r.text, qtButtons(r.buttons), owner);
    box.setWindowModality(Qt::ApplicationModal);
    // Shown at once, not behind a button: it says what to do about the message.
    if (!r.detail.isEmpty()) box.setInformativeText(r.detail);
    const int pressed = box.exec();
    // Closing the box with Escape or the window button counts as its cancel button, if any.
    if (pressed == 0 || pressed == QMessageBox::Escape)
        return r.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    return answerOf(pressed);
}

} // namespace

void installQtMessageBoxes()
{
    setMessageHandler(showQtBox);
}

} // namespace r73
