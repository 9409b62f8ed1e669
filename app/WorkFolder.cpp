#include "WorkFolder.h"

#include "MessageFacade.h"

#include <QDir>

namespace r73 {

QString userWorkFolder()
{
    return QDir::home().filePath(QStringLiteral("R73-Service"));
}

bool enterUserWorkFolder()
{
    const QString folder = userWorkFolder();
    if (QDir().mkpath(folder) && QDir::setCurrent(folder)) return true;
    // English like the other start-up messages: the texts are not loaded yet.
    showMessage({nullptr, QStringLiteral("Unable to use the folder '%1'").arg(folder),
                 QStringLiteral("Error"), MsgIcon::Error, MsgButtons::Ok});
    return false;
}

} // namespace r73
