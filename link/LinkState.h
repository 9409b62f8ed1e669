#pragma once
/// Program-wide values that the link reads and the configuration sets.

namespace r73 {

/// 0 = no usable port, 1..4 = COM1..COM4.
extern int ComPortNumber;
/// No controller: the port stays closed and the link echoes what was written.
extern bool DemoMode;
/// A backup is open as a controller: the link talks to a controller simulated in process and
/// seeded with the file; no port is opened and nothing live is read.
extern bool OfflineMode;
/// Read time-out per byte; 5 s on the real line, shorter in tests where timing is not the subject.
extern int ReadTimeoutMs;

} // namespace r73
