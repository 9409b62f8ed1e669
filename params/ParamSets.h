#pragma once
/// The controller's parameter sets without their pages: the one table of every parameter field
/// (selector, setter, getter, location codes), and the read, send and permanent-save sequences
/// that the pages, the backup and r73ctl share. Qt Core only.

#include "PollReads.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <span>

namespace r73 {

class Exchanger;

/// The four sets, each with its own permanent save.
enum class SetId { Clamp, Release, Flat, Vibration };

/// How a field's text becomes the word sent and the read-back becomes text again.
enum class ParamConversion {
    Whole,         ///< whole number, read-back signed
    StopFrequency, ///< whole number held within 1..1000 when sent
    Threshold,     ///< mm/s × 20, read-back in mm/s
};

/// One parameter field of the pages.
struct ParamDef
{
    const char* key;      ///< its name in a backup file, e.g. "clamp.short"
    const char* group;    ///< German caption of its group, e.g. "SPANNEN"
    const char* label;    ///< German caption of its field, e.g. "Kurz [Pulse]"
    const char* selector; ///< null: the values are not part of a set
    quint16 selectorCode;
    bool selectedByRead; ///< the page's read selects the set; the send selects only if lost
    const char* setter;
    const char* getter;
    quint16 code; ///< SendValue's code; setter, getter and ReceiveValue follow in turn
    ParamConversion conversion;
    SetId savedWith;  ///< the set whose permanent save keeps it
    quint16 fromBios; ///< the BIOS version that offers it
};

/// Whether the field's word is shown unsigned, as its page's read shows it (the hydraulic
/// values, the vibration time-out); the other whole numbers are shown signed.
bool shownUnsigned(const ParamDef& def);

/// The unit of the field's value as its caption gives it ("Pulse", "ms", "mm/sek"); the
/// clamp-without-tool limit counts pulses as the other clamping limits do.
QString unitOf(const ParamDef& def);

/// Every parameter field, in the order of the pages' fields.
std::span<const ParamDef> paramDefs();
/// The field of a key, or null.
const ParamDef* paramDef(const QString& key);

/// The selector of a set ("SPANN", "LOES", "PLAN", "SCHWING"), as its permanent save uses it.
const char* setSelector(SetId set);

/// Lowest and highest stop frequency the program sends.
inline constexpr int StopFrequencyMin = 1;
inline constexpr int StopFrequencyMax = 1000;

/// The clamp-without-tool limit the long-limit rule raises to: the long limit plus twice the
/// magnitude of the release set's long limit. It keeps the rule only above the long limit and
/// within a word (keepsWithoutToolRule).
inline qint64 raisedWithoutTool(qint64 longLimit, qint64 releaseLong)
{
    return longLimit + 2 * (releaseLong < 0 ? -releaseLong : releaseLong);
}
inline bool keepsWithoutToolRule(qint64 longLimit, qint64 raised)
{
    return raised > longLimit && raised >= -32768 && raised <= 65535;
}

/// A clamping or release set as read, in the order of its getters.
struct SetWords
{
    quint16 shortLimit = 0;    ///< "M_ZKLEIN@"
    quint16 longLimit = 0;     ///< "M_ZGROSS@"
    quint16 minTime = 0;       ///< "F_MIN1@"
    quint16 withoutTool = 0;   ///< "F_MIN2@"
    quint16 stopFrequency = 0; ///< "F_MIN3@"
    quint16 timeout = 0;       ///< "T_DAUER_TO@"
};

/// The flat-contact or vibration set: threshold and time-out.
/// The fields' keys of a clamping or release read with their words, in the order of the fields
/// (the clamp-without-tool limit from BIOS 2.10; the release read's F_MIN2 belongs to no field).
QList<std::pair<const char*, quint16>> setWordsByKey(SetId set, const SetWords& w, quint16 bios);

struct PairWords
{
    quint16 threshold = 0;
    quint16 timeout = 0;
};

struct HydraulicWords
{
    quint16 enabled = 0;
    quint16 duration = 0;
    quint16 pulses = 0;
};

/// One value of the service read, with its display rule: pulse counts, the frequencies and the
/// duration are unsigned words, the release deviation is signed. The page, the logbook, the
/// report, the archive and the backup file all show the values by this table.
struct ServiceDef
{
    const char* key; ///< in a backup file and the archive, e.g. "clamp_pulses"
    quint16 ServiceWords::*word;
    bool isSigned;
};

/// Every service value, in the order of the service read.
std::span<const ServiceDef> serviceDefs();
/// The value of a key, or null.
const ServiceDef* serviceDef(const QString& key);
/// The word as a number by its rule: 0..65535, or -32768..32767 for a signed one.
int serviceNumber(const ServiceDef& def, quint16 word);
/// A number kept before the rule was kept (a negative count), as the rule reads its word;
/// a number of a key without a rule, or within range, comes back as it is.
double serviceNumber(const QString& key, double kept);

/// The sequences of the sets over one exchanger. Remembers which set the controller works on,
/// since the flat-contact and vibration fields are sent without selecting their set.
class TParamSets
{
public:
    explicit TParamSets(Exchanger& exchanger) : m_ex(exchanger) {}

    /// Executes a set's selector and remembers it.
    void select(const char* set, quint16 code);
    /// Executes a getter and receives its value, under code and code + 1.
    quint16 fetch(const char* getter, quint16 code);
    /// The selected set, empty before the first selection.
    const QString& selected() const { return m_selected; }
    /// The controller's selection is no longer known: the next send selects its set.
    void forgetSelection() { m_selected.clear(); }

    SetWords ReadSpann();
    /// The release set (its F_MIN2 is read but belongs to no field).
    SetWords ReadLoes();
    /// Read after the release set, from BIOS 3.10.
    HydraulicWords ReadHydraulics();
    PairWords ReadPlan();
    PairWords ReadSchwing();
    /// The service values, by BIOS version.
    ServiceWords ReadService(quint16 bios);

    /// Sends one field's word and returns the read-back: the stop frequency held within
    /// 1..1000, the set selected first unless its page's read already did. value travels as
    /// its low 16 bits.
    quint16 send(const ParamDef& def, qint64 value);
    /// The raise of the clamp-without-tool limit before the long limit is sent ("SPANN",
    /// SendValue, "M_OHNE_TOOL", "F_MIN2@", ReceiveValue); returns the read-back.
    quint16 raiseWithoutTool(qint64 raised);
    /// The hydraulic switch: 0xFFFF for on, 0 for off; nothing is read back.
    void SendEnHydr(bool on);
    /// The permanent save of one set ("SET_MEM_MODE" from BIOS 2.00, then "SPEICHERN").
    void save(SetId set, quint16 bios);

private:
    /// Selects a set under code and reads its six values under the codes after it.
    SetWords readSet(const char* set, quint16 code);
    Exchanger& m_ex;
    QString m_selected;
};

} // namespace r73
