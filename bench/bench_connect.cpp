// Connecting the real main window to the paced simulator (BIOS 3.10, 2400 baud) over a
// pseudo-terminal: from F7 to the end of the connect step, wall time against the time the
// exchanged bytes need on the line, and CPU time as a share of wall time.

#include "BenchSupport.h"
#include "Form_cy.h"
#include "LinkState.h"
#include "MessageFacade.h"
#include "ProgramState.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace r73;
using namespace r73::bench;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    PacedSimulator sim({"--bios", "310"});
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
    window.show();
    QApplication::processEvents();
    counter.written = counter.received = 0;
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    window.Button3Click();
    const double wallS = double(wall.nsecsElapsed()) / 1e9;
    const double cpuS = cpuSeconds() - cpu0;

    const double wireS = wireSeconds(counter.total());
    std::printf("connected            %s, BIOS %u, %d message boxes\n", Connected ? "yes" : "no",
                BiosVersion, boxes);
    std::printf("bytes on the line    %lld (%lld sent, %lld received)\n", counter.total(),
                counter.written, counter.received);
    std::printf("wire minimum         %.3f s at 2400 baud\n", wireS);
    std::printf("wall time            %.3f s (F7 to the end of the connect step)\n", wallS);
    std::printf("ratio wall/minimum   %.4f (target <= 1.05)\n", wallS / wireS);
    std::printf("CPU time             %.3f s = %.2f %% of wall (target <= 5 %%)\n", cpuS,
                100.0 * cpuS / wallS);
    return Connected && boxes == 0 ? 0 : 1;
}
