#pragma once
/// Keeps the program's window alive while the link waits for the controller. At 2400 baud a
/// connect takes about 15 s and a history pass about 30 s; the link calls keepAlive() while it
/// reads, and the program installs a hook that lets its window repaint and answer the desktop's
/// liveness checks. The link itself knows no windows: without a hook (r73ctl) nothing happens.

#include <functional>

namespace r73 {

/// Least time between two runs of the hook: often enough for a smooth window, rarely enough
/// that the line never waits for it.
constexpr int KeepAliveIntervalMs = 40;

/// Installs the hook (empty: none) and returns the previous one.
std::function<void()> setKeepAliveHook(std::function<void()> hook);
/// Milliseconds until the hook is due: 0 when due now, -1 when none can run.
int keepAliveDueInMs();
/// Runs the hook when at least minGapMs passed since its last run; never nested.
void keepAlive(int minGapMs = KeepAliveIntervalMs);
/// True while the hook runs, that is while an exchange lets the window's loop turn: a handler
/// reached from there would start inside the running sequence.
bool insideExchange();

} // namespace r73
