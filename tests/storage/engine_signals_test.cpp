#include <gtest/gtest.h>
#include <ibase.h>

#include <atomic>
#include <cstdlib>

#include "storage/engine_signals.h"

namespace {

std::atomic<int> notified{0};

void Notify()
{
    ++notified;
}

// A shutdown for a signal, as the library's own handler starts it.
bool EngineShutsDownOnSignal()
{
    return fb_shutdown(2000, fb_shutrsn_signal) == 0;
}

}  // namespace

TEST(EngineSignals, ForwardingRefusesTheShutdownAndStoppingGivesItBack)
{
    // The shutdown that is finally let through ends the engine for the whole
    // process, so this runs in a process of its own.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (!storage::ForwardEngineSignals(&Notify))
                std::_Exit(1);
            if (EngineShutsDownOnSignal() || notified != 1)
                std::_Exit(2);  // not refused, or nobody told
            storage::StopForwardingEngineSignals();
            if (!EngineShutsDownOnSignal() || notified != 1)
                std::_Exit(3);  // still refused after the callback was taken out
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
