#include "ProgramState.h"

namespace r73 {

bool Connected = false;
bool Connecting = false;
bool ReportCommErrors = false;
bool CommErrorSeen = false;
bool ClampChanged = false;
bool ReleaseChanged = false;
bool FlatChanged = false;
bool VibrationChanged = false;
bool HistoryReading = false;
bool ParamLoading = false;
quint16 BiosVersion = 0;
quint16 SerialNumber = 0;

void resetProgramState()
{
    Connected = Connecting = ReportCommErrors = CommErrorSeen = false;
    ClampChanged = ReleaseChanged = FlatChanged = VibrationChanged = false;
    HistoryReading = ParamLoading = false;
    BiosVersion = SerialNumber = 0;
}

} // namespace r73
