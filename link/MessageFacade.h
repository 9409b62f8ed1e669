#pragma once
/// The one way the program shows a message box. Shaped like the platform call it replaces
/// (owner, text, caption, icon, buttons); the application points it at real message boxes, tests
/// install a script that records each box and answers it, and tools without a window get text on
/// standard error.

#include <QString>
#include <functional>

class QWidget;

namespace r73 {

enum class MsgIcon { None, Information, Warning, Error, Question };

/// Button sets and answers, as the platform's message box knows them.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest
{
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

using MessageHandler = std::function<MsgAnswer(const MessageRequest&)>;

/// Installs a handler and returns the previous one; an empty handler restores the default.
MessageHandler setMessageHandler(MessageHandler handler);

/// Shows one modal message box and returns the button pressed.
MsgAnswer showMessage(const MessageRequest& request);

/// The answer a box gives when nobody can press a button: its first button.
MsgAnswer defaultAnswer(MsgButtons buttons);

} // namespace r73
