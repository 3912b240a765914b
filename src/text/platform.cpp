#include "text/platform.h"
#include <cstdlib>
#include <ctime>

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#endif

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

#ifdef _WIN32

// A key held down now counts as well as a press the events brought.
bool IsEscapePressed()
{
    return escapePressed.load(std::memory_order_relaxed) ||
           (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

std::string GetNetworkConnection(std::string_view localName)
{
    const std::string name(localName);
    char remote[256] = {};
    DWORD length = sizeof(remote);
    if (WNetGetConnectionA(name.c_str(), remote, &length) != NO_ERROR)
        return name;
    return std::string(remote);
}

#else

bool IsEscapePressed()
{
    return escapePressed.load(std::memory_order_relaxed);
}

// No drive letters to map: a path is already its own network name.
std::string GetNetworkConnection(std::string_view localName)
{
    return std::string(localName);
}

#endif

void PinLocalTimeZone()
{
#ifndef _WIN32
    if (!std::getenv("TZ")) {
        setenv("TZ", ":/etc/localtime", 1);
        tzset();
    }
#endif
}

}  // namespace text
