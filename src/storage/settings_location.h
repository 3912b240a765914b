#pragma once
// Where this PC keeps its settings file. Beside the executable when that
// folder is the user's own (an unpacked or built copy), as always; an
// installed program's folder never is, even for root who may write there,
// and then the same file lives in the user's configuration folder:
// $XDG_CONFIG_HOME/k5x7/, by default ~/.config/k5x7/. On Windows: beside the
// executable when its folder can be written, else %APPDATA%\k5x7\.

#include <filesystem>
#include <string>

namespace storage {

// `besideExecutable` is the executable's path with ".dat" for its extension.
std::string SettingsFileLocation(const std::string& besideExecutable);

// The rule itself, given what the machine says: `folderOurs` when the
// executable's folder may be written by, and belongs to, the running user and
// is no system program folder.
std::string SettingsFileLocation(const std::string& besideExecutable, bool folderOurs,
                                 const std::string& configHome);

// Where packages put programs: /bin, /sbin, anything under /usr, /opt, /snap
// or /nix. `folder` is absolute with its links resolved.
bool IsSystemProgramFolder(const std::string& folder);

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; either
// may be null. Empty when neither says.
std::string UserConfigHome(const char* xdgConfigHome, const char* home);

// The folder of the settings file, made when missing; false when it cannot be.
bool MakeSettingsFolder(const std::filesystem::path& settingsPath);

}  // namespace storage
