// Connecting the real main window to the paced simulator (BIOS 3.10, 2400 baud) over a
// pseudo-terminal: from F7 to the end of the connect step, wall time against the time the
// exchanged bytes need on the line, CPU time as a share of wall time, and the longest stretch
// in which the window's loop did not turn. Then the same for one history pass of 100 elements
// (the simulator's history never ends, so the pass runs to its limit).

#include "BenchSupport.h"
#include "Form_cy.h"
#include "KeepAlive.h"
#include "LinkState.h"
#include "MessageFacade.h"
#include "PageHost.h"
#include "ProgramState.h"
#include "ui_Form1.h"
#include "ui_LogbuchPage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

using namespace r73;
using namespace r73::bench;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    PacedSimulator sim({"--bios", "310", "--fault", "endless-history=1"});
    if (!sim.started()) {
        std::fprintf(stderr, "bench_connect: the simulator did not start\n");
        return 1;
    }
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    QDir().mkpath("ini");
    QFile ini("ini/norlo.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write(
        QStringLiteral("[Comunication]\r\nCOM=1\r\nDevice1=%1\r\n").arg(sim.link()).toLocal8Bit());
    ini.close();
    int boxes = 0;
    setMessageHandler([&boxes](const MessageRequest& r) {
        ++boxes;
        return defaultAnswer(r.buttons);
    });
    auto port = std::make_unique<CountingPort>();
    CountingPort& counter = *port;
    setSerialBackend(std::move(port));

    TForm1 window;
    // --frozen: without the window's keep-alive, as the program was, for comparison.
    if (QCoreApplication::arguments().contains(QStringLiteral("--frozen"))) setKeepAliveHook({});
    window.show();
    QApplication::processEvents();
    StallProbe probe;
    int failures = 0;
    // Runs one measured span and prints its figures.
    const auto measure = [&](const char* what, const std::function<void()>& span) {
        counter.written = counter.received = 0;
        QElapsedTimer wall;
        const double cpu0 = cpuSeconds();
        probe.start();
        wall.start();
        span();
        const double wallS = double(wall.nsecsElapsed()) / 1e9;
        const qint64 stallMs = probe.stop();
        const double cpuS = cpuSeconds() - cpu0;
        const double wireS = wireSeconds(counter.total());
        const double ratio = wallS / wireS;
        std::printf("-- %s\n", what);
        std::printf("bytes on the line    %lld (%lld sent, %lld received)\n", counter.total(),
                    counter.written, counter.received);
        std::printf("wire minimum         %.3f s at 2400 baud\n", wireS);
        std::printf("wall time            %.3f s\n", wallS);
        std::printf("ratio wall/minimum   %.4f (target <= 1.05)\n", ratio);
        std::printf("CPU time             %.3f s = %.2f %% of wall (target <= 5 %%)\n", cpuS,
                    100.0 * cpuS / wallS);
        std::printf("longest GUI stall    %lld ms (target <= 100 ms)\n", stallMs);
        failures += (ratio > 1.05 || cpuS / wallS > 0.05 || stallMs > 100) ? 1 : 0;
    };

    measure("connect: F7 to the end of the connect step", [&] { window.Button3Click(); });
    std::printf("connected            %s, BIOS %u, %d message boxes\n",
                programState().connected ? "yes" : "no", programState().biosVersion, boxes);

    // The poll cycle's third phase with the readout on: one pass of the history.
    programState().historyReading = true;
    while (window.PollPhase() != 2)
        window.Timer1Timer();
    int listed = 0;
    measure("history pass: one poll phase with the readout on", [&] {
        window.Timer1Timer();
        listed = window.form().pgLogbuch->ui().ListView1->topLevelItemCount();
    });
    std::printf("elements listed      %d (target %d)\n", listed, HistoryApi::PassLimit);
    return programState().connected && boxes == 0 && listed == HistoryApi::PassLimit &&
                   failures == 0
               ? 0
               : 1;
}
