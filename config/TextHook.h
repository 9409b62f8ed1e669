#pragma once
/// Lets the link show texts in the user's language without knowing the language table: the
/// language subsystem installs its translation function at start; until then texts stay German.

#include <QString>

#include <limits>

namespace r73 {

using TranslateFunction = QString (*)(int offset, const QString& german);

/// Offset that asks for a text of the features beyond the window's fixed pages (report, archive,
/// recorder, backup, r73ctl): there an own English twin of the German text comes before the fixed
/// table's, whose wording (typos included) only the window's fixed pages keep.
inline constexpr int OwnText = std::numeric_limits<int>::min();

/// Installs the program's translation; nullptr restores the identity.
void setTranslateFunction(TranslateFunction fn);

using FileTextFunction = QString (*)(const QString& text);
/// Installs how the files name texts: toFile gives a shown text's English own twin, fromFile a
/// file's text in the current language. nullptr restores the identity.
void setFileTextFunctions(FileTextFunction toFile, FileTextFunction fromFile);
/// A shown text (either language) as the files write it: in English, as their headers are.
QString fileText(const QString& shown);
/// A text of a file (English, or German from files of older versions) in the current language.
QString shownText(const QString& inFile);

/// Text in the current language (German text unchanged when nothing is installed).
QString tr73(int offset, const QString& german);

/// tr73(OwnText, german): a text beyond the window's fixed pages.
QString tr73own(const QString& german);
/// The same for a literal in UTF-8, as the sources write their German texts.
inline QString tr73own(const char* german)
{
    return tr73own(QString::fromUtf8(german));
}

} // namespace r73
