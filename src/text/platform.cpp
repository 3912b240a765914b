#include "text/platform.h"
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#else
#include <atomic>
#endif

namespace text {

#ifdef _WIN32

bool IsEscapePressed()
{
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

// The key state is read from the system; nothing to record.
void NoteEscapePressed() {}

void ResetEscapePressed() {}

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

namespace {

// Set from the user-interface thread's key handler, read by long loops.
std::atomic<bool> escapePressed{false};

}  // namespace

bool IsEscapePressed()
{
    return escapePressed.load(std::memory_order_relaxed);
}

void NoteEscapePressed()
{
    escapePressed.store(true, std::memory_order_relaxed);
}

void ResetEscapePressed()
{
    escapePressed.store(false, std::memory_order_relaxed);
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
