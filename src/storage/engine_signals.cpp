#include "storage/engine_signals.h"

#include <ibase.h>

#include <atomic>

namespace storage {

namespace {

std::atomic<void (*)()> forwardTo{nullptr};

int OnShutdown(const int reason, const int, void*)
{
    void (*notify)() = forwardTo.load();
    if (reason != fb_shutrsn_signal || !notify)
        return 0;
    notify();
    return 1;  // refused: the program detaches by itself as it closes
}

}  // namespace

bool ForwardEngineSignals(void (*notify)())
{
    forwardTo.store(notify);
    ISC_STATUS_ARRAY status{};
    fb_shutdown_callback(status, &OnShutdown, fb_shut_confirmation, nullptr);
    return status[0] != 1 || status[1] == 0;
}

void StopForwardingEngineSignals()
{
    forwardTo.store(nullptr);
    // The library keeps one entry per callback and argument; a mask of 0 is
    // how it is taken out (another mask would only be added to it).
    ISC_STATUS_ARRAY status{};
    fb_shutdown_callback(status, &OnShutdown, 0, nullptr);
}

}  // namespace storage
