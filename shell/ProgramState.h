#pragma once
/// Program-wide state of the main window that the pages share: connection flags, the changed
/// flags of the parameter sets and the controller's identity as the connect read it. All false
/// or 0 at start.

#include <QtGlobal>

namespace r73 {

struct ProgramState
{
    bool connected = false;        ///< the connect step has run; F7 now ends the program
    bool connecting = false;       ///< the connect step is running
    bool reportCommErrors = false; ///< a failed call is fatal
    bool commErrorSeen = false;    ///< a call failed; polling stops at its next tick
    bool clampChanged = false;     ///< a set was sent since its last permanent save
    bool releaseChanged = false;
    bool flatChanged = false;
    bool vibrationChanged = false;
    bool historyReading = false; ///< the history readout is switched on
    bool paramLoading = false;   ///< fields are being filled from the controller, not typed
    quint16 biosVersion = 0;     ///< version × 100, 208 = 2.08
    quint16 serialNumber = 0;    ///< the controller's, read at connect
};

/// The one state of the program; pages reach it through their host (PageHost::state()).
ProgramState& programState();

/// Back to the state of a fresh start (tests start the main window more than once).
void resetProgramState();

} // namespace r73
