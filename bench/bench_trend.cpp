// The trend's costs. An hour of polling made in-process at the poll's pace without line pacing
// (a step a second, I/O and status in turn, the three channels every three seconds): recorder
// CPU per row, memory of the hour in the trend window, redraw time with the hour on screen.
// Then the real main window on the paced simulator (2400 baud) with the recorder on and the
// trend window following the live analog page: CPU as a share of one core.

#include "BenchSupport.h"
#include "Form_cy.h"
#include "MessageFacade.h"
#include "PageHost.h"
#include "ProgramState.h"
#include "TrendFeed.h"
#include "TrendRecorder.h"
#include "TrendTools.h"
#include "TrendWindow.h"
#include "ui_Form1.h"
#include "ui_TrendWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <unistd.h>

using namespace r73;
using namespace r73::bench;

namespace {

double residentMb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    f.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

/// One poll step's reads as the poll cycle hands them over, at simulated second s.
void pollStep(TrendFeed& feed, int s)
{
    if (s % 2 == 0) {
        feed.sensorRead(quint16(60 + 40 * std::sin(s / 90.0) + (s % 600 == 0 ? 120 : 0)));
        const quint16 in = quint16(1u << (s / 20 % 4));
        const quint16 out = quint16((s / 20 % 4) | (s % 40 < 20 ? 0x18 : 0x28));
        feed.inputRead(in, QStringLiteral("SPANNEN"));
        feed.outputRead(out, QStringLiteral("SPANNEN"), QStringLiteral("Test beendet"),
                        out & 0x20 ? QStringLiteral("ZU KURZ") : QStringLiteral("TEST OK"));
    } else {
        feed.statusRead(quint16(s));
    }
    if (s % 3 == 0)
        for (int k = 1; k <= 3; ++k) {
            const double raw = 128 + 120 * std::sin(s / (200.0 * k));
            ChannelReading r{k,
                             QStringLiteral("Kanal%1").arg(k),
                             QStringLiteral("bar"),
                             quint16(raw),
                             quint16(raw > 220 ? 0x40 : 0),
                             raw / 255 * 200 - 100,
                             {-80, -60, 60, 80}};
            feed.channelRead(r);
        }
    feed.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    QDir().mkpath(QStringLiteral("ini"));
    int failures = 0;
    const int hour = 3600;
    const qint64 t0 = 1700000000000;

    {
        TrendFeed feed;
        TrendRecorder recorder(&feed);
        QWidget owner;
        TrendWindow window(feed, recorder, &owner);
        window.resize(1000, 720);
        qint64 clock = t0;
        feed.setClock([&clock] { return clock; });
        QString error;
        recorder.start(RecorderSettings{}, feed.channels(), error);
        // Recorder alone: the same hour through the feed into the file, the window not listening.
        QObject::disconnect(&feed, &TrendFeed::rowReady, &window, nullptr);
        const double cpu0 = cpuSeconds();
        for (int s = 0; s < hour; ++s, clock += 1000)
            pollStep(feed, s);
        const double recorderCpu = cpuSeconds() - cpu0;
        recorder.stop();
        const qint64 bytes = QFileInfo(recorder.fileName()).size();
        std::printf("-- one hour of polling, %d steps\n", hour);
        std::printf("recorder CPU per row %.1f us (%.3f s for the hour), file %.2f MB\n",
                    1e6 * recorderCpu / hour, recorderCpu, bytes / 1048576.0);

        const double mb0 = residentMb();
        clock = t0;
        QObject::connect(&feed, &TrendFeed::rowReady, &window, &TrendWindow::appendLive);
        for (int s = 0; s < hour; ++s, clock += 1000)
            pollStep(feed, s);
        const double mb = residentMb() - mb0;
        std::printf("memory of the hour   %.2f MB resident growth, %zu rows (target <= 50 MB)\n",
                    mb, window.rows().size());
        failures += mb > 50 ? 1 : 0;

        window.show();
        window.setSpan(qint64(hour) * 1000);
        window.setViewEnd(t0 + qint64(hour) * 1000);
        QApplication::processEvents();
        QElapsedTimer t;
        const int frames = 20;
        t.start();
        for (int i = 0; i < frames; ++i) {
            window.setViewEnd(t0 + qint64(hour) * 1000 - i * 1000); // a new span each frame
            window.form().pnPlots->grab();
        }
        const double frameMs = double(t.nsecsElapsed()) / 1e6 / frames;
        t.restart();
        for (int i = 0; i < frames; ++i)
            window.setViewEnd(t0 + qint64(hour) * 1000 - i * 1000);
        const double computeMs = double(t.nsecsElapsed()) / 1e6 / frames;
        std::printf("  of which data      %.1f ms per frame (series, axes)\n", computeMs);
        std::printf("redraw, hour shown   %.1f ms per frame at %d px (target <= 16 ms)\n", frameMs,
                    window.form().pnPlots->width());
        failures += frameMs > 16 ? 1 : 0;
        // --picture=FILE: the window with the hour, to look at.
        for (const QString& a : QCoreApplication::arguments())
            if (a.startsWith(QStringLiteral("--picture="))) {
                QApplication::processEvents();
                window.grab().save(a.mid(10));
            }
    }

    PacedSimulator sim({"--bios", "310"});
    if (!sim.started()) {
        std::fprintf(stderr, "bench_trend: the simulator did not start\n");
        return 1;
    }
    QFile ini(QStringLiteral("ini/norlo.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write(
        QStringLiteral("[Comunication]\r\nCOM=1\r\nDevice1=%1\r\n").arg(sim.link()).toLocal8Bit());
    ini.close();
    setMessageHandler([](const MessageRequest& r) { return defaultAnswer(r.buttons); });
    setSerialBackend(std::make_unique<CountingPort>());
    TForm1 window;
    TrendTools tools(&window);
    window.show();
    window.Button3Click();
    window.form().TabbedNotebook1->setCurrentIndex(9);
    window.TabbedNotebook1Click();
    tools.showWindow();
    tools.window().setSpan(60 * 1000);
    tools.toggleRecording();
    const int seconds = QCoreApplication::arguments().contains(QStringLiteral("--short")) ? 20 : 60;
    const size_t rows0 = tools.window().rows().size();
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = cpuSeconds() - cpu0;
    const double wallS = double(wall.nsecsElapsed()) / 1e9;
    std::printf("-- live at 2400 baud for %d s: connected %s, recording %s, %zu rows\n", seconds,
                programState().connected ? "yes" : "no",
                tools.recorder().recording() ? "yes" : "no", tools.window().rows().size() - rows0);
    std::printf("CPU                  %.3f s = %.2f %% of one core (target <= 5 %%)\n", cpu,
                100.0 * cpu / wallS);
    failures += cpu / wallS > 0.05 ? 1 : 0;
    return failures == 0 && programState().connected ? 0 : 1;
}
