#include "Terminate.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>

namespace r73 {

namespace {
// Atomic because a signal handler may set it too.
std::atomic<bool> g_terminate{false};
} // namespace

void requestTerminate()
{
    const bool first = !g_terminate.exchange(true);
    // Posted, not called: quit() would close every window inside the failing handler and run
    // the close handlers of a user's close (the reminder, "TEST_STOP"). exit() ends every
    // running loop, the modal ones included, once control is back in one of them.
    if (first && QCoreApplication::instance())
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (g_terminate) QCoreApplication::exit(0); // unless taken back meanwhile
            },
            Qt::QueuedConnection);
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
