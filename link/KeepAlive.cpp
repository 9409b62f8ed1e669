#include "KeepAlive.h"

#include <QElapsedTimer>

namespace r73 {

namespace {
std::function<void()> g_hook;
bool g_inside = false;
QElapsedTimer g_sinceRun;
} // namespace

std::function<void()> setKeepAliveHook(std::function<void()> hook)
{
    std::swap(g_hook, hook);
    g_sinceRun.invalidate();
    return hook;
}

int keepAliveDueInMs()
{
    if (!g_hook) return -1;
    if (g_inside) return -1; // no turn inside a turn
    if (!g_sinceRun.isValid()) return 0;
    return int(qMax<qint64>(0, KeepAliveIntervalMs - g_sinceRun.elapsed()));
}

void keepAlive(int minGapMs)
{
    if (!g_hook || g_inside) return;
    if (g_sinceRun.isValid() && g_sinceRun.elapsed() < minGapMs) return;
    g_inside = true;
    g_hook();
    g_inside = false;
    g_sinceRun.start(); // measured from the end: a slow repaint does not starve the line
}

bool insideExchange()
{
    return g_inside;
}

} // namespace r73
