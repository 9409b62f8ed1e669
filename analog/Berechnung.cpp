#include "Berechnung.h"

#include "ChannelSequences.h"

#include "MessageFacade.h"
#include "TextHook.h"

#include <QLocale>
#include <cmath>

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
    return physToRaw(value, PhysMin, PhysMax, BinMin, BinMax);
}

double TUmrechnung::BinToPhys(qint32 raw) const
{
    return rawToPhys(raw, PhysMin, PhysMax, BinMin, BinMax);
}

bool TUmrechnung::StrToPhys(const QString& text, double& value, const QString& caption) const
{
    if (parsePhys(text, value)) return true;
    showMessage({MessageOwner, tr73(0, QStringLiteral("Nur Zahlen erlaubt")), tr73(0, caption),
                 MsgIcon::None, MsgButtons::Ok});
    return false;
}

} // namespace r73
