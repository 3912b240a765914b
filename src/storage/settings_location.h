#pragma once
// Where this PC keeps its settings file. Beside the executable while that
// folder can be written, as always; an installed program's folder cannot be,
// and then the same file lives in the user's configuration folder:
// $XDG_CONFIG_HOME/k5x7/, by default ~/.config/k5x7/.

#include <filesystem>
#include <string>

namespace storage {

// `besideExecutable` is the executable's path with ".dat" for its extension.
std::string SettingsFileLocation(const std::string& besideExecutable);

// The rule itself, given what the machine says.
std::string SettingsFileLocation(const std::string& besideExecutable, bool folderWritable,
                                 const std::string& configHome);

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; either
// may be null. Empty when neither says.
std::string UserConfigHome(const char* xdgConfigHome, const char* home);

// The folder of the settings file, made when missing; false when it cannot be.
bool MakeSettingsFolder(const std::filesystem::path& settingsPath);

}  // namespace storage
