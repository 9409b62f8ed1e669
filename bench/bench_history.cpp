// Adding history elements to the list: the real main window on the in-process simulator (no
// line pacing), passes of at most 100 elements as the poll cycle runs them, until the
// controller reports its end. Prints the CPU time of the list work (duplicate check and sorted
// insert) for 1,000 to 10,000 elements and how it grows, newest first (the controller's order)
// and lowest number first (each element goes on top).

#include "BenchSupport.h"
#include "Form_cy.h"
#include "HistoryPage.h"
#include "ProgramState.h"
#include "SimEngine.h"
#include "SimPort.h"
#include "TestEnv.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QLocale>
#include <cmath>
#include <cstdio>

using namespace r73;
using namespace r73::bench;

namespace {

struct Run
{
    int passes = 0;
    double listCpu = 0;  ///< duplicate check and insert
    double totalCpu = 0; ///< with the exchanges and the simulator
    double drawCpu = 0;  ///< the event loop after each pass: the list drawn
    int listed = 0;
};

Run addElements(HistoryPage& history, sim::SimEngine& engine, int k, bool lowestFirst)
{
    sim::SimHistory& h = engine.machine().history();
    h.clear();
    for (int i = 0; i < k; ++i) {
        sim::SimHistElement e;
        // The controller hands out its newest first.
        e.number = quint16(lowestFirst ? k - i : i + 1);
        e.clampResult = e.releaseResult = (i % 7 == 0) ? 1 : 255;
        e.clampTravel = e.releaseTravel = quint16(1900 + i % 200);
        h.append(e);
    }
    history.Button9Click();
    Run run;
    const double start = cpuSeconds();
    for (bool end = false; !end;) {
        ++run.passes;
        for (int n = 1; n <= HistoryApi::PassLimit; ++n) {
            history.setReadoutProgress(n);
            const HistElement e = history.fetchElement();
            const double t0 = cpuSeconds();
            const bool known = history.takeElement(e);
            run.listCpu += cpuSeconds() - t0;
            if (known) break;
            if ((end = history.Hist_End())) break;
        }
        history.setReadoutProgress(0);
        const double t0 = cpuSeconds();
        QApplication::processEvents();
        run.drawCpu += cpuSeconds() - t0;
    }
    run.totalCpu = cpuSeconds() - start;
    run.listed = history.list().count();
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    test::TestEnv env(1, 300);
    sim::SimConfig config;
    config.bios = 310;
    sim::SimEngine engine(config);
    env.install(std::make_unique<test::SimPort>(engine));
    engine.machine().history().setLive(false);

    TForm1 window;
    window.show();
    window.Button3Click();
    window.form().TabbedNotebook1->setCurrentIndex(5);
    auto* history = window.findChild<HistoryPage*>();
    if (!programState().connected || !history) {
        std::fprintf(stderr, "bench_history: not connected\n");
        return 1;
    }

    std::printf("elements  order          passes  list CPU s  us/element  passes CPU s  "
                "drawing CPU s\n");
    bool ok = true;
    for (bool lowestFirst : {false, true}) {
        double first = 0;
        int firstK = 0;
        for (int k : {1000, 2000, 5000, 10000}) {
            const Run r = addElements(*history, engine, k, lowestFirst);
            ok = ok && r.listed == k && env.boxes.isEmpty();
            std::printf("%8d  %-13s  %6d  %10.4f  %10.2f  %12.3f  %13.4f\n", k,
                        lowestFirst ? "lowest first" : "newest first", r.passes, r.listCpu,
                        1e6 * r.listCpu / k, r.totalCpu, r.drawCpu);
            if (!firstK) {
                first = r.listCpu;
                firstK = k;
            } else if (k == 10000) {
                const double kLogK =
                    (k * std::log(double(k))) / (firstK * std::log(double(firstK)));
                std::printf("          growth 1,000 -> 10,000: x%.1f (k log k: x%.1f, k^2: x%.0f); "
                            "target under 0.5 s: %s\n",
                            r.listCpu / first, kLogK, double(k) * k / (double(firstK) * firstK),
                            r.listCpu < 0.5 ? "met" : "MISSED");
                ok = ok && r.listCpu < 0.5;
            }
        }
    }
    return ok ? 0 : 1;
}
