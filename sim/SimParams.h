#pragma once
/// The controller's parameter sets and its permanent store, with the state file that lets the
/// permanent store survive a restart of the simulator.

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <array>

namespace r73::sim {

/// The four operating modes, each with its own parameter set.
enum class ParamSetId { Spann, Loes, Plan, Schwing };
inline constexpr int ParamSetCount = 4;

enum class ParamField { ZKlein, ZGross, FMin1, FMin2, FMin3, TDauerTo, SchwingMax };
inline constexpr int ParamFieldCount = 7;

/// One set of words, stored as the 16 bits arrived (a negative value is never sign-extended).
struct ParamSet
{
    std::array<quint16, ParamFieldCount> words{};

    quint16& operator[](ParamField f) { return words[size_t(f)]; }
    quint16 operator[](ParamField f) const { return words[size_t(f)]; }
    bool operator==(const ParamSet&) const = default;
};

/// Everything the controller keeps over a power cycle.
struct PermanentStore
{
    std::array<ParamSet, ParamSetCount> sets{};
    QMap<QString, quint16> hydraulic; ///< EN_HYDR, HYDR_DAUER, HYDR_PULSE

    bool operator==(const PermanentStore&) const = default;
    ParamSet& set(ParamSetId id) { return sets[size_t(id)]; }
    const ParamSet& set(ParamSetId id) const { return sets[size_t(id)]; }

    /// Values as delivered; several contain bytes that need escaping on the line.
    static PermanentStore factoryDefaults();
};

/// Names used in the selector commands and the state file.
QString paramSetName(ParamSetId id);
QString paramFieldName(ParamField f);
/// The hydraulic word names, global rather than per set.
const QStringList& hydraulicNames();

/// Loads the store. A missing file gives the factory defaults and no warning; an unreadable or
/// corrupt one gives the factory defaults and a warning in words.
PermanentStore loadPermanentStore(const QString& path, QString* warning);
/// Writes atomically, so a crash never leaves half a file behind.
bool savePermanentStore(const QString& path, const PermanentStore& store, QString* error);

} // namespace r73::sim
