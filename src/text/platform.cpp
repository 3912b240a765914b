#include "text/platform.h"

#include <QProcess>
#include <atomic>
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#else
#include <sys/resource.h>
#endif
#ifdef __linux__
#include <sys/prctl.h>

#include <csignal>
#endif

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

#ifdef _WIN32

// A job object limits what the process may commit; closing the last handle to
// it (with the process object, or this process's end) ends the helper too.
void LimitHelperProcess(QProcess& process, std::uint64_t bytes)
{
    QObject::connect(&process, &QProcess::started, &process, [&process, bytes] {
        HANDLE job = CreateJobObjectW(nullptr, nullptr);
        if (!job)
            return;
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags =
            JOB_OBJECT_LIMIT_PROCESS_MEMORY | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        limits.ProcessMemoryLimit = static_cast<SIZE_T>(bytes);
        HANDLE child = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE,
                                   static_cast<DWORD>(process.processId()));
        if (!child ||
            !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                     sizeof limits) ||
            !AssignProcessToJobObject(job, child)) {
            if (child)
                CloseHandle(child);
            CloseHandle(job);
            return;
        }
        CloseHandle(child);
        QObject::connect(&process, &QObject::destroyed, [job] { CloseHandle(job); });
    });
}

#else

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
