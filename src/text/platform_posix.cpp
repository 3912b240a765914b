#include <QProcess>
#include <cstdlib>
#include <ctime>

#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>

#include <csignal>
#endif

#include "text/platform.h"
#include "text/platform_common.h"

// AddressSanitizer reserves terabytes of address space up front: a sanitized
// helper cannot start under an address-space limit.
#if defined(__SANITIZE_ADDRESS__)
#define K5X7_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define K5X7_ASAN 1
#endif
#endif

namespace text {

bool IsEscapePressed()
{
    return EscapeNoted();
}

// No drive letters to map: a path is already its own network name.
std::string GetNetworkConnection(std::string_view localName)
{
    return std::string(localName);
}

void LimitHelperProcess(QProcess& process, std::uint64_t bytes)
{
    // Runs in the child between fork and exec: system calls only.
    process.setChildProcessModifier([bytes] {
#ifndef K5X7_ASAN
        const struct rlimit limit {
            static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)
        };
        setrlimit(RLIMIT_AS, &limit);
#else
        (void)bytes;
#endif
#ifdef __linux__
        prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    });
}

void PinLocalTimeZone()
{
    if (!std::getenv("TZ")) {
        setenv("TZ", ":/etc/localtime", 1);
        tzset();
    }
}

const char* WindowlessQtPlatform()
{
    return "offscreen";
}

void UseBinaryStandardOutput() {}

bool HasEmbeddedDatabaseEngine()
{
    return true;
}

// The client library is linked as usual: the program would not have started without it.
std::string DatabaseClientLoadError()
{
    return {};
}

}  // namespace text
