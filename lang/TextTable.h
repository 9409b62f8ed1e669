#pragma once
/// The built-in German/English vocabulary. Row numbers matter: Translate's offset counts rows,
/// and case variants of one word sit on adjacent rows, upper case first.

namespace r73 {

inline constexpr int TextTableRows = 176;

/// Fills GermanTexts and EnglishTexts afresh with the table's rows, in table order, and routes the
/// link's texts through Translate. Called once by the main window's creation, after
/// CurrentLanguage has been read.
void BuildTextTable();

/// Empties all three text lists; the main window's close does this. Texts shown afterwards stay
/// German.
void ReleaseTextTable();

} // namespace r73
