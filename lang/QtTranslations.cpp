#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace r73 {

void applyQtLanguage(int language)
{
    // One translator for the whole run, owned by the application: switching the language
    // removes it or installs it again, and Qt re-translates its open dialogs on either.
    static QTranslator* german = nullptr;
    if (!german) {
        german = new QTranslator(QCoreApplication::instance());
        if (!german->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            qWarning(
                "Qt's German texts (qtbase_de.qm) are not installed; Qt's dialogs stay English");
    }
    QCoreApplication::removeTranslator(german);
    if (language == 0 && !german->isEmpty()) QCoreApplication::installTranslator(german);
}

} // namespace r73
