#pragma once
/// Scaling of one analog channel between the controller's raw 0..255 values and physical values,
/// the parsing of numbers the operator types, and the raw limit record of a channel.

#include <QString>
#include <QtGlobal>

class QWidget;

namespace r73 {

/// Parses a number in the system's format (decimal separator of the locale, no group
/// separators, surrounding blanks ignored); false for anything else, infinities and NaN included.
bool parsePhys(const QString& text, double& value);

/// Formats a physical value with the pattern "0.00" in the system's format.
QString formatPhys(double value);

/// Linear conversion between raw and physical values of one channel.
class TUmrechnung
{
public:
    /// messageOwner: owner of the boxes StrToPhys shows (may be null).
    explicit TUmrechnung(QWidget* messageOwner = nullptr) : MessageOwner(messageOwner) {}

    qint32 BinMin = 0; ///< raw value at PhysMin: 51 for "4-20 mA", else 0
    qint32 BinMax = 0; ///< raw value at PhysMax: 255 once the channel is set up
    double PhysMin = 0;
    double PhysMax = 0;
    QWidget* MessageOwner;

    /// Raw value of a physical value, rounded half to even, not clamped to BinMin..BinMax;
    /// BinMin for every value when the range is empty, reversed or not a number. Results beyond
    /// the 32-bit range that every caller stores saturate there.
    qint64 PhysToBin(double value) const;
    /// Physical value of a raw value (not clamped either).
    double BinToPhys(qint32 raw) const;
    /// Parses text into value; on failure shows "Nur Zahlen erlaubt" titled caption, leaves value
    /// alone and returns false.
    bool StrToPhys(const QString& text, double& value, const QString& caption) const;
};

/// The raw limits of one channel as the controller keeps them (−1 marks a refused limit).
struct TRawLimits
{
    qint32 Min2 = 0;
    qint32 Min1 = 0;
    qint32 Max1 = 0;
    qint32 Max2 = 0;
};

} // namespace r73
