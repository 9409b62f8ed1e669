#pragma once
/// The platform's length limit of a parameter field: what the user types or pastes is held to
/// the field's length, while what the program writes ("-25536", "3276.75") is never cut, which
/// QLineEdit's own maxLength would do.

#include <QValidator>

class QEvent;
class QLineEdit;

namespace r73 {

class FieldLimit : public QValidator
{
public:
    FieldLimit(int length, QObject* parent) : QValidator(parent), m_length(length) {}
    State validate(QString& input, int&) const override
    {
        return input.size() <= m_length ? Acceptable : Invalid;
    }
    int length() const { return m_length; }

private:
    int m_length;
};

/// Gives edit a FieldLimit in place of its maxLength.
void limitField(QLineEdit* edit);

/// A paste into a limited field (keys, middle button, context menu) inserts as much of the
/// clipboard as fits, as typing does, instead of being refused as a whole. True when event was
/// such a paste and has been handled.
bool pasteWithinLimit(QLineEdit* edit, QEvent* event);

} // namespace r73
