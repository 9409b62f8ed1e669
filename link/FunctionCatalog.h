#pragma once
/// The program's whole vocabulary of controller functions: the group registered at connect
/// before the session opens, and the groups that depend on the controller's BIOS version, in
/// their registration order. Plus the program-wide table of services made from them.

#include <QHash>
#include <QStringList>
#include <memory>
#include <span>
#include <vector>

namespace r73 {

class TService;
class TTarget;

/// How a page exchanges data with a function.
enum class FnUse {
    RegisteredOnly, ///< registered and resolved, never executed
    Command,        ///< Execute only
    ValueGetter,    ///< Execute, then ReceiveValue per value
    ValueSetter,    ///< SendValue, then Execute
    StringGetter,   ///< Execute, then ReceiveString
    StringSetter,   ///< SendString, then Execute
};

struct FunctionDef
{
    const char* name;
    FnUse use;
};

/// Version-dependent functions: registered (and resolved at once) when BiosVersion >= from.
struct VersionGroup
{
    quint16 fromVersion;
    std::span<const FunctionDef> functions;
};

/// The 38 functions registered at connect before Initialize, in order.
std::span<const FunctionDef> connectGroup();
/// The version groups in the order their thresholds are tested: 2.00, 2.08, 3.00, 2.10, 3.10.
std::span<const VersionGroup> versionGroups();
/// Whether the program knows what a controller of this BIOS version offers: up to the newest
/// version group; a newer BIOS may offer settings and rules the program does not know.
bool knownBios(quint16 bios);
/// Names the version groups register for version word v, in registration order.
QStringList versionGroupNames(quint16 v);
/// The catalogue's use of a name; RegisteredOnly for a name it does not hold.
FnUse useOf(const QString& name);

/// Program-wide services, one per function, kept until the program ends.
class ServiceTable
{
public:
    ServiceTable();
    ~ServiceTable();
    /// Makes the service (registering its name with link) and keeps it.
    TService& make(TTarget* link, const QString& name);
    /// The service last made with that name, or null.
    TService* find(const QString& name) const;
    int count() const { return int(m_all.size()); }
    void clear();

private:
    std::vector<std::unique_ptr<TService>> m_all;
    QHash<QString, TService*> m_byName;
};

ServiceTable& services();

} // namespace r73
