// Backup and restore against the paced simulator (BIOS 3.10, 2400 baud): how close the read of
// every setting, and a restore of ten differing settings with its read-back, come to the time
// their bytes need on the line.
//
// Usage: bench_backup   (the simulator binary is found next to this build)

#include "BenchSupport.h"
#include "Exchanger.h"
#include "FunctionCatalog.h"
#include "LinkState.h"
#include "NorloIni.h"
#include "Protocol.h"
#include "Restore.h"
#include "Target.h"

#include <QCoreApplication>
#include <cstdio>
#include <functional>

using namespace r73;
using namespace r73::bench;

namespace {

class BenchExchanger : public Exchanger
{
public:
    explicit BenchExchanger(TTarget& t) : m_target(t) {}
    TTarget* link() const override { return &m_target; }
    void CommErr(quint16, quint16) override {}

private:
    TTarget& m_target;
};

bool measure(const char* what, CountingPort& counter, const std::function<bool()>& run)
{
    counter.written = counter.received = 0;
    QElapsedTimer wall;
    wall.start();
    const bool ok = run();
    const double wallS = double(wall.nsecsElapsed()) / 1e9;
    const double wireS = wireSeconds(counter.total());
    std::printf("%-8s bytes %6lld  wire minimum %7.3f s  wall %7.3f s  ratio %.4f (target <= "
                "1.05)%s\n",
                what, counter.total(), wireS, wallS, wallS / wireS, ok ? "" : "  FAILED");
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    PacedSimulator sim;
    CountingPort* port = countOnSimulator(sim, "bench_backup");
    if (!port) return 1;
    CountingPort& counter = *port;
    TTarget target;
    if (!openSession(target, "bench_backup")) return 1;
    for (const VersionGroup& g : versionGroups())
        if (g.fromVersion <= 310)
            for (const FunctionDef& f : g.functions)
                services().make(&target, QString::fromLatin1(f.name)).Resolve();

    BenchExchanger ex(target);
    backup::LinkController controller(ex, {310, 1234});
    backup::Snapshot before;
    bool ok = measure("backup", counter, [&] {
        before = controller.read();
        return !controller.failed();
    });
    backup::Snapshot file = before;
    int n = 0;
    for (const backup::Setting& s : backup::allSettings())
        if (s.kind == backup::Kind::Param && s.key != QLatin1String("clamp.without_tool") &&
            s.param->conversion != ParamConversion::StopFrequency && n < 8) {
            file.values[s.key].word = quint16(100 + n++);
        }
    file.values["channel1.name"].text = QStringLiteral("Temperatur 2");
    file.values["channel2.max1"] = {200, QStringLiteral("190")};
    const backup::Plan plan = backup::planRestore(file, before);
    ok = measure("restore", counter,
                 [&] {
                     const backup::Outcome outcome = backup::restore(controller, plan);
                     std::printf("restore: %d settings written, %d mismatches\n",
                                 int(outcome.written.size()), outcome.mismatches);
                     return outcome.clean();
                 }) &&
         ok;
    return ok ? 0 : 1;
}
