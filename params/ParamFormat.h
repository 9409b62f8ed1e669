#pragma once
/// How the parameter and service pages turn field texts into controller words and words back
/// into texts. Pure functions, so the number rules can be checked without a window.

#include "ParamSets.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class QLocale;
class QProgressBar;

namespace r73 {

/// A field's text as a whole decimal number (sign allowed, blanks around it ignored); nullopt
/// when it is none.
std::optional<int> parseWhole(const QString& text);

/// The vibration threshold typed in mm/s, in the number format of locale, as the raw value the
/// controller keeps (0.05 mm/s units): × 20, rounded to the nearest whole number with halves to
/// even. Nullopt for text that is no number, and for infinity, NaN or a value too large for any
/// integer, which cannot be rounded into a word at all.
std::optional<qint64> parseThreshold(const QString& text, const QLocale& locale);

/// Whole numbers a parameter word carries: the signed and the unsigned reading of 16 bits.
inline constexpr qint64 WordMin = -32768;
inline constexpr qint64 WordMax = 65535;
inline bool fitsWord(qint64 value)
{
    return value >= WordMin && value <= WordMax;
}

/// A parameter field's text checked as its page checks it before a send: the value to send, or
/// the page's message in the current language. A stop frequency is held within 1..1000 only
/// when sent.
struct FieldCheck
{
    std::optional<qint64> value;
    QString message;
};
FieldCheck checkField(ParamConversion conversion, const QString& text, const QLocale& locale);

/// A controller word as the parameter fields show it: signed 16-bit decimal.
QString signedText(quint16 word);

/// Raw 0.05 mm/s units as mm/s with two decimals ("0.00") in locale's number format, without
/// thousands separators.
QString mmPerSecond(int raw, const QLocale& locale);

/// Position of the frequency gauge: 25 units per decade of f (0.1 Hz), truncated; 0 for f = 0.
int frequencyGauge(quint16 f);

/// Puts a gauge at value held within its range; a bare QProgressBar ignores a value outside it,
/// where the gauge must stand at its end. Defined with the pages (Qt Widgets).
void setGauge(QProgressBar* gauge, int value);

} // namespace r73
