#pragma once
/// Lets the link show texts in the user's language without knowing the language table: the
/// language subsystem installs its translation function at start; until then texts stay German.

#include <QString>

namespace r73 {

using TranslateFunction = QString (*)(int offset, const QString& german);

/// Installs the program's translation; nullptr restores the identity.
void setTranslateFunction(TranslateFunction fn);

/// Text in the current language (German text unchanged when nothing is installed).
QString tr73(int offset, const QString& german);

} // namespace r73
