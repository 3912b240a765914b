#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/settings_location.h"

namespace storage {

std::string SettingsFileLocation(const std::string& besideExecutable)
{
    std::filesystem::path folder = std::filesystem::path(besideExecutable).parent_path();
    if (folder.empty())
        folder = std::filesystem::path(".");
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
}

}  // namespace storage
