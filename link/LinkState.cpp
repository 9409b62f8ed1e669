#include "LinkState.h"

#include "WireCodec.h"

namespace r73 {

int ComPortNumber = 0;
bool DemoMode = false;
bool OfflineMode = false;
int ReadTimeoutMs = wire::ReadTimeoutMs;

} // namespace r73
