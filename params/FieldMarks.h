#pragma once
/// What a parameter field shows of its state at a glance: a background for a text typed and not
/// sent, for a value sent and read back but not yet saved permanently, for one saved, and for a
/// read-back that differs from what was typed; the window's own background for a field that
/// shows what the controller holds.

#include <QString>

class QLineEdit;

namespace r73 {

enum class FieldMark {
    Held,    ///< what the controller holds, as read (or nothing read yet)
    Typed,   ///< typed, not yet sent
    Unsaved, ///< sent and read back, not yet saved permanently
    Saved,   ///< saved permanently in this session
    Differs, ///< the controller gave back another value than was typed
};

/// Gives the field the mark's background.
void showMark(QLineEdit* edit, FieldMark mark);

/// The mark as a field's tooltip says it, in the current language.
QString markText(FieldMark mark);

} // namespace r73
