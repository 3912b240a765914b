#include "storage/engine_signals.h"

#include <ibase.h>

#include <atomic>

namespace storage {

namespace {

std::atomic<void (*)()> forwardTo{nullptr};

int OnShutdown(const int reason, const int, void*)
{
    if (reason != fb_shutrsn_signal)
        return 0;
    if (void (*notify)() = forwardTo.load())
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

}  // namespace storage
