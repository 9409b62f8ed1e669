#pragma once
/// How the link tells the user what it cannot hand back as a result (a port that will not open,
/// a session that cannot start), without knowing windows: the program shows an error box owned
/// by the link's owner, r73ctl writes one line on standard error (the default).

#include <QString>
#include <functional>

class QObject;

namespace r73 {

/// detail: what exactly is wrong (the device and the reason), shown below the text; may be empty.
using LinkMessageHandler = std::function<void(QObject* owner, const QString& text,
                                              const QString& caption, const QString& detail)>;

/// Installs a handler and returns the previous one; an empty handler restores the default.
LinkMessageHandler setLinkMessageHandler(LinkMessageHandler handler);

/// Reports an error of the link to the user; returns once it has been seen.
void showLinkError(QObject* owner, const QString& text, const QString& caption,
                   const QString& detail = QString());

} // namespace r73
