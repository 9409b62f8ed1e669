#pragma once
/// The one way the program shows a message box. Shaped like the platform call it replaces
/// (owner, text, caption, icon, buttons); the application points it at real message boxes, tests
/// install a script that records each box and answers it, and tools without a window get text on
/// standard error.

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace r73 {

enum class MsgIcon { None, Information, Warning, Error, Question };

/// Button sets and answers, as the platform's message box knows them.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, CancelIgnore };
enum class MsgAnswer { Ok, Cancel, Yes, No, Ignore };

struct MessageRequest
{
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    QString detail{}; ///< what exactly went wrong, shown below the text; may be empty
};

using MessageHandler = std::function<MsgAnswer(const MessageRequest&)>;

/// Installs a handler and returns the previous one; an empty handler restores the default.
MessageHandler setMessageHandler(MessageHandler handler);

/// Shows one modal message box and returns the button pressed.
MsgAnswer showMessage(const MessageRequest& request);

/// The answer a box gives when nobody can press a button: its first button.
MsgAnswer defaultAnswer(MsgButtons buttons);

/// The answer of a box closed without a choice: Cancel where there is one, else No, else OK.
MsgAnswer closedAnswer(MsgButtons buttons);

// The file and print dialogs go the same way, so tests can answer them too.

struct SaveDialogRequest
{
    QWidget* owner = nullptr;
    QString caption;
    QString directory; ///< where the dialog opens
    QString fileName;  ///< the proposed name, filled in
    QString defaultSuffix;
    QString filter;
    bool open = false; ///< choose an existing file to read instead
};

/// Returns the chosen path, or an empty text when the user cancelled.
using SaveDialogHandler = std::function<QString(const SaveDialogRequest&)>;

/// Installs a handler and returns the previous one; an empty handler restores the platform's
/// save dialog.
SaveDialogHandler setSaveDialogHandler(SaveDialogHandler handler);

/// Shows one modal save dialog; the chosen path or an empty text.
QString showSaveDialog(const SaveDialogRequest& request);

/// The same dialog choosing an existing file to read (the request with open set), so one
/// handler answers both in tests.
QString showOpenDialog(SaveDialogRequest request);

/// Sets up the printer as the user chose and returns true on OK.
using PrintDialogHandler = std::function<bool(QWidget* owner, QPrinter& printer)>;

/// Installs a handler and returns the previous one. Empty (the default) means the platform's
/// print dialog, which the printing code shows itself: this layer knows no printers.
PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler);
const PrintDialogHandler& printDialogHandler();

} // namespace r73
