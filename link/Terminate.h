#pragma once
/// "Ask the application to terminate": a program-wide flag that the link's read and write loops
/// check, plus a request to leave the event loops. The handler that asked still runs to its end.

namespace r73 {

void requestTerminate();
bool terminateRequested();
/// For tests and for a fresh start of the program within one process.
void clearTerminateRequest();

} // namespace r73
