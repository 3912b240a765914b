#include "storage/settings_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

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
    // Windows names its folders with backslashes.
    const char separator = configHome.find('\\') != std::string::npos ? '\\' : '/';
    std::string folder = configHome;
    if (folder.back() != separator)
        folder += separator;
    return folder + kFolderName + separator + besideExecutable.substr(NameStart(besideExecutable));
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
