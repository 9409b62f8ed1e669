#include "Terminate.h"

#include <QCoreApplication>
#include <atomic>

namespace r73 {

namespace {
// Atomic because a signal handler may set it too.
std::atomic<bool> g_terminate{false};
} // namespace

void requestTerminate()
{
    g_terminate = true;
    if (QCoreApplication::instance()) QCoreApplication::quit();
}

bool terminateRequested()
{
    return g_terminate;
}

void clearTerminateRequest()
{
    g_terminate = false;
}

} // namespace r73
