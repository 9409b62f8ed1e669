#include "Berechnung.h"

#include "MessageFacade.h"
#include "TextHook.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace r73 {

namespace {

QLocale numberLocale()
{
    // Group separators are refused: with them an English "1,5" would silently read as 15.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator |
                            QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

bool parsePhys(const QString& text, double& value)
{
    bool ok = false;
    const double v = numberLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return false;
    value = v;
    return true;
}

QString formatPhys(double value)
{
    return numberLocale().toString(value, 'f', 2);
}

qint64 TUmrechnung::PhysToBin(double value) const
{
    const double span = PhysMax - PhysMin;
    // Written so that NaN fails the test too.
    const double factor = span > 0 ? double(BinMax - BinMin) / span : 0.0;
    const double offset = BinMin - factor * PhysMin;
    // nearbyint follows the default rounding mode: halves go to the even integer.
    const double raw = std::nearbyint(factor * value + offset);
    constexpr double lo = std::numeric_limits<qint32>::min();
    constexpr double hi = std::numeric_limits<qint32>::max();
    if (std::isnan(raw)) return BinMin;
    return qint64(qBound(lo, raw, hi));
}

double TUmrechnung::BinToPhys(qint32 raw) const
{
    const double k = (PhysMax - PhysMin) / double(BinMax - BinMin);
    const double offset = PhysMin - k * BinMin;
    return k * raw + offset;
}

bool TUmrechnung::StrToPhys(const QString& text, double& value, const QString& caption) const
{
    if (parsePhys(text, value)) return true;
    showMessage({MessageOwner, tr73(0, QStringLiteral("Nur Zahlen erlaubt")), tr73(0, caption),
                 MsgIcon::None, MsgButtons::Ok});
    return false;
}

} // namespace r73
