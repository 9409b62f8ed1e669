// Link throughput against the paced simulator over a pseudo-terminal: how close 200
// call-plus-ReceiveValue exchanges come to the time their bytes need on a 2400 baud line, and
// how much CPU the waiting costs.
//
// Usage: bench_link [exchanges]   (the simulator binary is found next to this build)

#include "BenchSupport.h"
#include "FunctionCatalog.h"
#include "LinkState.h"
#include "NorloIni.h"
#include "Protocol.h"
#include "Target.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace r73;

using namespace r73::bench;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int exchanges = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;

    PacedSimulator sim;
    CountingPort* port = countOnSimulator(sim, "bench_link");
    if (!port) return 1;
    CountingPort& counter = *port;
    TTarget target;
    if (!openSession(target, "bench_link")) return 1;
    TService* version = services().find("SV_NO?");

    counter.written = counter.received = 0;
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    int failures = 0;
    for (int i = 0; i < exchanges; ++i) {
        quint16 v = 0;
        failures += version->Execute() + target.ReceiveValue(v);
    }
    const double wallS = double(wall.nsecsElapsed()) / 1e9;
    const double cpuS = cpuSeconds() - cpu0;

    const qint64 bytes = counter.total();
    const double wireS = wireSeconds(bytes);
    std::printf("exchanges            %d (call + ReceiveValue), failures %d\n", exchanges,
                failures);
    std::printf("bytes on the line    %lld (%lld sent, %lld received)\n", bytes, counter.written,
                counter.received);
    std::printf("wire minimum         %.3f s at %u baud\n", wireS, wire::BaudRate);
    std::printf("wall time            %.3f s\n", wallS);
    std::printf("ratio wall/minimum   %.4f (target <= 1.05)\n", wallS / wireS);
    std::printf("CPU time             %.3f s = %.2f %% of wall (target <= 2 %%)\n", cpuS,
                100.0 * cpuS / wallS);
    return failures == 0 ? 0 : 1;
}
