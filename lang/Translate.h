#pragma once
/// The program's texts are written in German; Translate returns them in the current language by
/// looking them up in the German/English table (TextTable.h). Nothing is cached: every call
/// searches the table again, so a change of CurrentLanguage takes effect at the next call.

#include <QLocale>
#include <QString>
#include <QStringList>

namespace r73 {

/// 0 = German, 1 = English, 2 = the reserved third language; 0 until the configuration is read.
extern int CurrentLanguage;

/// German source texts; row i of EnglishTexts (and ThirdTexts) is the twin of row i here.
extern QStringList GermanTexts;
extern QStringList EnglishTexts;
/// Slot of the third language. No table fills it, so language 2 shows the German texts.
extern QStringList ThirdTexts;

/// The text to show for german in the current language.
///
/// Language 0 returns german unchanged without looking at the table. Otherwise the first row of
/// GermanTexts that equals german regardless of letter case (umlauts included; blanks and all
/// other characters exactly) is found, and the row offset rows further on in the language's list
/// is returned; offset 1 reaches the mixed-case twin that follows an upper-case row.
///
/// Offset OwnText (TextHook.h) asks for a text beyond the window's fixed pages: in English the
/// supplement's own twin of german comes first, else the table's row itself (offset 0).
///
/// Whenever that gives no text, german is returned unchanged: the text is not in the table, the
/// language is neither 1 nor 2, the row lies outside the language's list (a negative offset, one
/// that points past the last row, or language 2 whose list is empty).
QString Translate(int offset, const QString& german);

/// The English own twin of a German text (else its table twin); any other text, English ones
/// included, unchanged. For the files, which name things in English whatever the language.
QString EnglishText(const QString& text);
/// The German text an English one (as EnglishText gives it) is the twin of, in the current
/// language; a text that is no such twin is taken as German (files of older versions).
QString TextFromEnglish(const QString& text);

/// The locale of the window's language for dates and numbers: the system's where it speaks that
/// language (its own date order), else German or English ("8 Dec" reads wrong in German).
QLocale LanguageLocale();
/// locale's short date (with time) format with the year in full: archives and reports are
/// kept for years, and "10.12.26" could be any century's.
QString fullYearFormat(const QLocale& locale, bool withTime = true);

} // namespace r73
