#pragma once
/// The settings a backup holds: every writable setting of the four parameter sets, the
/// hydraulic monitoring and the three analog channels, each with the BIOS version that offers
/// it, and a controller's values of them. The parameter fields are those of the pages' own
/// table (paramDefs()). Qt Core only.

#include "ChannelSequences.h"
#include "ParamSets.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace r73::backup {

enum class Kind {
    Param,         ///< a parameter field's word
    Switch,        ///< the hydraulic switch: any nonzero word is on
    ParameterWord, ///< a channel's "Kanal aktiv" (bit 0) and input level (bit 1)
    Text,          ///< a channel's name, unit or range end, as text
    ChannelLimit,  ///< a limit: raw word and the operator's text
};

/// The four text items of a channel.
enum class ChannelText { Name, Unit, Minimum, Maximum };

struct Setting
{
    QString key; ///< e.g. "clamp.short", "channel2.max1"
    Kind kind = Kind::Param;
    const ParamDef* param = nullptr; ///< Param
    int channel = 0;                 ///< 1..3 for the channel settings
    ChannelText text = ChannelText::Name;
    Limit limit = Limit::Min2;
    quint16 fromBios = 0;
    /// The set whose permanent save keeps it; none for the channels (the controller keeps
    /// them at once).
    std::optional<SetId> savedWith;
};

/// Every setting, in the order a restore writes them.
const QList<Setting>& allSettings();
const Setting* settingOf(const QString& key);
inline bool offeredBy(const Setting& s, quint16 bios)
{
    return bios >= s.fromBios;
}

/// A value as the controller holds it.
struct Value
{
    Value() = default;
    Value(quint16 w, QString t = {}) : word(w), text(std::move(t)) {}

    quint16 word = 0; ///< Param, Switch, ParameterWord, ChannelLimit (raw)
    QString text;     ///< Text, ChannelLimit
    /// Marked in a backup as held as is, with the reason: kept in the file, never restored.
    QString heldAsIs;
};

/// Whether two values are the same setting as the controller uses it (the switch by on/off,
/// the parameter word by its two bits).
bool sameValue(const Setting& s, const Value& a, const Value& b);

/// The caption its page gives the setting's field in the current language, at a BIOS version
/// (the release set's fields are the deviations from 2.07): "Kurz [Pulse]", "Abweichung pos.
/// [Pulse]", "Bezeichnung".
QString pageCaption(const Setting& s, quint16 bios);
/// The caption of the group or page the setting belongs to: "SPANNEN", "HYDRAULIKÜBERWACHUNG",
/// "ANALOG2".
QString groupCaption(const Setting& s);
/// The setting's caption in the current language, its group's and its field's as the page shows
/// them at a BIOS version, e.g. "LÖSEN: Abweichung pos. [Pulse]".
QString label(const Setting& s, quint16 bios);
/// The value as the pages show it ("2.50" mm/s, "-20", "ein"), point as decimal separator.
QString shown(const Setting& s, const Value& v);
/// The unit shown beside it ("Pulse", "ms", "mm/s"); empty where none.
QString unitOf(const Setting& s);

struct Identity
{
    quint16 bios = 0; ///< version × 100
    quint16 serial = 0;
};

/// "3.10" for 310.
QString versionText(quint16 bios);
/// The same in the number format of the window's language, as the connection panel shows it.
QString shownVersionText(quint16 bios);

/// The input level a channel's parameter word selects, as its page captions the choice:
/// "4-20 mA" or "0-5V / 0-10V / 0-20mA".
QString inputLevelText(quint16 parameters);

/// A controller's settings as read, or as a backup file holds them.
struct Snapshot
{
    Identity id;
    QString programVersion;
    QDateTime created;
    QMap<QString, Value> values;         ///< the settings present (those the BIOS offers)
    std::optional<ServiceWords> service; ///< read-only information
    QStringList history;                 ///< read-only information, as the list shows it
    /// The backup this one was prepared from without a controller; empty when it was read
    /// from one.
    QString editedOfflineFrom;
};

} // namespace r73::backup
