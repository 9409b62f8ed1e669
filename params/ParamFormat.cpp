#include "ParamFormat.h"

#include "TextHook.h"

#include <QLocale>
#include <cmath>

namespace r73 {

std::optional<int> parseWhole(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

std::optional<qint64> parseThreshold(const QString& text, const QLocale& locale)
{
    // A group separator would make "2.500" read as 2500 mm/s under a German locale.
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double mmPerSec = strict.toDouble(text, &ok);
    if (!ok) return std::nullopt;
    // The default rounding mode rounds halves to even: 0.125 mm/s gives 2, 0.375 gives 8.
    const double raw = std::nearbyint(mmPerSec * 20.0);
    constexpr double Limit = 9.0e18; // inside qint64, so the cast below is defined
    if (!std::isfinite(raw) || std::fabs(raw) >= Limit) return std::nullopt;
    return qint64(raw);
}

QString signedText(quint16 word)
{
    return QString::number(qint16(word));
}

QString mmPerSecond(int raw, const QLocale& locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(raw / 20.0, 'f', 2);
}

int frequencyGauge(quint16 f)
{
    if (f == 0) return 0;
    // log10 of a power of ten is exact, so 10, 100, ... land on 25, 50, ... without help.
    return int(25.0 * std::log10(double(f)));
}

FieldCheck checkField(ParamConversion conversion, const QString& text, const QLocale& locale)
{
    const QString numbersOnly = tr73(0, QStringLiteral("Nur Zahlen erlaubt"));
    const auto outOfRange = [](const QString& low, const QString& high) {
        return tr73(0, QStringLiteral("Der Wert passt nicht in das Feld. Erlaubt sind %1 bis %2."))
            .arg(low, high);
    };
    // A value the word cannot carry would travel as its low 16 bits: 66000 would be stored as
    // 464, a threshold of -1 mm/s as 3275.80 mm/s. Such a value is refused, not wrapped.
    if (conversion != ParamConversion::Threshold) {
        const std::optional<int> value = parseWhole(text);
        if (!value) return {std::nullopt, numbersOnly};
        if (conversion == ParamConversion::Whole && !fitsWord(*value))
            return {std::nullopt, outOfRange(QString::number(WordMin), QString::number(WordMax))};
        return {*value, {}};
    }
    const std::optional<qint64> raw = parseThreshold(text, locale);
    if (!raw) return {std::nullopt, numbersOnly};
    if (*raw < 0 || *raw > 0xFFFF)
        return {std::nullopt, outOfRange(mmPerSecond(0, locale), mmPerSecond(0xFFFF, locale))};
    return {raw, {}};
}

} // namespace r73
