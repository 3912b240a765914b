#include <QString>
#include <filesystem>

#include <windows.h>

#include <shlobj.h>

#include "storage/settings_location.h"

namespace storage {

namespace {

std::filesystem::path PathOfUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Writing is the only sure test: Program Files refuses a user whatever its attributes say.
bool FolderWritable(const std::filesystem::path& folder)
{
    const std::wstring probe =
        (folder / (L"k5x7-" + std::to_wstring(GetCurrentProcessId()) + L".tmp")).wstring();
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::string RoamingAppData()
{
    wchar_t* folder = nullptr;
    std::string utf8;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder)))
        utf8 = QString::fromWCharArray(folder).toStdString();
    CoTaskMemFree(folder);
    return utf8;
}

}  // namespace

// Beside the executable when its folder can be written, else %APPDATA%\k5x7\.
std::string SettingsFileLocation(const std::string& besideExecutable)
{
    std::filesystem::path folder = PathOfUtf8(besideExecutable).parent_path();
    if (folder.empty())
        folder = L".";
    return SettingsFileLocation(besideExecutable, FolderWritable(folder), RoamingAppData());
}

}  // namespace storage
