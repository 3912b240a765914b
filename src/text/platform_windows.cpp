#include <QProcess>
#include <QString>
#include <cstdio>
#include <iterator>

#include <fcntl.h>
#include <io.h>

#include <windows.h>
#include <winnetwk.h>

#include "text/cp932.h"
#include "text/platform.h"
#include "text/platform_common.h"

namespace text {

// A key held down now counts as well as a press the events brought.
bool IsEscapePressed()
{
    return EscapeNoted() || (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

// Drive names and shares are stored as CP932 like every path; the system is asked in wide
// characters so that a share named in Japanese comes back whole.
std::string GetNetworkConnection(std::string_view localName)
{
    const std::string name(localName);
    const std::wstring local = FromCp932(name).toStdWString();
    wchar_t remote[1024] = {};
    DWORD length = static_cast<DWORD>(std::size(remote));
    if (WNetGetConnectionW(local.c_str(), remote, &length) != NO_ERROR)
        return name;
    return ToCp932(QString::fromWCharArray(remote)).value_or(name);
}

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

// The C library reads the zone from the system once by itself.
void PinLocalTimeZone() {}

void UseBinaryStandardOutput()
{
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

const char* WindowlessQtPlatform()
{
    return nullptr;
}

// Windows PCs reach the database through a Firebird server only.
bool HasEmbeddedDatabaseEngine()
{
    return false;
}

// The client library is loaded on first use; loading it here first turns a missing or
// damaged file into a message instead of the system's failure at the first call.
std::string DatabaseClientLoadError()
{
    HMODULE module = LoadLibraryW(L"fbclient.dll");
    if (module && GetProcAddress(module, "isc_attach_database"))
        return {};
    const DWORD error = module ? ERROR_PROC_NOT_FOUND : GetLastError();
    wchar_t* message = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    QString reason = message ? QString::fromWCharArray(message).trimmed() : QString();
    if (message)
        LocalFree(message);
    if (reason.isEmpty())
        reason = QStringLiteral("error %1").arg(error);
    return reason.toStdString();
}

}  // namespace text
