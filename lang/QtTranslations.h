#pragma once
/// Qt's own texts (the buttons of message boxes, the file and print dialogs) in the window's
/// language, so that a German session does not show "Cancel" and "Look in".

namespace r73 {

/// Installs Qt's German translation for language 0 and removes it for any other, where Qt's
/// built-in English stands. Without Debian's Qt translations installed, Qt's texts stay English.
void applyQtLanguage(int language);

} // namespace r73
