#include "storage/settings_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace storage {

namespace {

constexpr char kFolderName[] = "k5x7";

std::string::size_type NameStart(const std::string& path)
{
    const auto separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::string SettingsFileLocation(const std::string& besideExecutable, bool folderOurs,
                                 const std::string& configHome)
{
    if (folderOurs || configHome.empty())
        return besideExecutable;
    std::string folder = configHome;
    if (folder.back() != '/')
        folder += '/';
    return folder + kFolderName + "/" + besideExecutable.substr(NameStart(besideExecutable));
}

bool IsSystemProgramFolder(const std::string& folder)
{
    for (const char* exact : {"/bin", "/sbin"})
        if (folder == exact)
            return true;
    for (const char* root : {"/usr", "/opt", "/snap", "/nix"}) {
        const std::string prefix(root);
        if (folder.compare(0, prefix.size(), prefix) == 0 &&
            (folder.size() == prefix.size() || folder[prefix.size()] == '/'))
            return true;
    }
    return false;
}

std::string UserConfigHome(const char* xdgConfigHome, const char* home)
{
    if (xdgConfigHome && xdgConfigHome[0] == '/')
        return xdgConfigHome;
    if (home && home[0] == '/')
        return std::string(home) + "/.config";
    return {};
}

std::string SettingsFileLocation(const std::string& besideExecutable)
{
#ifdef _WIN32
    return besideExecutable;
#else
    std::string folder = besideExecutable.substr(0, NameStart(besideExecutable));
    if (folder.empty())
        folder = ".";
    std::error_code error;
    const std::string resolved = std::filesystem::canonical(folder, error).string();
    struct stat status {};
    // Root may write anywhere, so writing alone does not make a folder one's own.
    const bool ours = !error && access(folder.c_str(), W_OK) == 0 &&
                      stat(folder.c_str(), &status) == 0 && status.st_uid == geteuid() &&
                      !IsSystemProgramFolder(resolved);
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        if (const passwd* user = getpwuid(getuid()))
            home = user->pw_dir;
    return SettingsFileLocation(besideExecutable, ours,
                                UserConfigHome(std::getenv("XDG_CONFIG_HOME"), home));
#endif
}

bool MakeSettingsFolder(const std::filesystem::path& settingsPath)
{
    const std::filesystem::path folder = settingsPath.parent_path();
    if (folder.empty())
        return true;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

}  // namespace storage
