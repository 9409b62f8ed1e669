#pragma once
/// Program-wide state of the main window that the pages share: connection flags, the changed
/// flags of the parameter sets and the controller's BIOS version. All false or 0 at start.

#include <QtGlobal>

namespace r73 {

extern bool Connected;        ///< the connect step has run; F7 now ends the program
extern bool Connecting;       ///< the connect step is running
extern bool ReportCommErrors; ///< a failed call is fatal
extern bool CommErrorSeen;    ///< a call failed; polling stops at its next tick
extern bool ClampChanged;     ///< a set was sent since its last permanent save
extern bool ReleaseChanged;
extern bool FlatChanged;
extern bool VibrationChanged;
extern bool HistoryReading;
extern bool ParamLoading;
extern quint16 BiosVersion; ///< version × 100, 208 = 2.08
extern quint16 SerialNumber; ///< the controller's, read at connect

/// Back to the state of a fresh start (tests start the main window more than once).
void resetProgramState();

} // namespace r73
