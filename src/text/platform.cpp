#include "text/platform.h"

#include <atomic>

#include "text/platform_common.h"

namespace text {

namespace {

// Set from the user-interface thread's event handling, read by long loops.
std::atomic<bool> escapePressed{false};

}  // namespace

void NoteEscapePressed()
{
    escapePressed.store(true, std::memory_order_relaxed);
}

void ResetEscapePressed()
{
    escapePressed.store(false, std::memory_order_relaxed);
}

bool EscapeNoted()
{
    return escapePressed.load(std::memory_order_relaxed);
}

}  // namespace text
