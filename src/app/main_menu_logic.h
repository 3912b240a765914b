#pragma once
// What the main window does apart from showing: start-up and close, and the
// guards and table creation in front of every menu command.

#include <filesystem>
#include <string>

#include "storage/app_globals.h"
#include "storage/database.h"

namespace app {

inline constexpr char kConnectFailedMessage[] =
    "データベース接続が出来ません。設定を確認して下さい。";

enum class MenuCommand {
    SectionRegister,
    MemberRegister,
    CompanyRegister,
    PcUser,
    ProjectNew,
    ProjectEdit,
    ProjectList,
    ProjectChart,
    DrawingSearch,  // only reads: creates no table
};

// A path given as UTF-8 text (as the toolkit names the executable), for the
// file system on any platform.
std::filesystem::path PathOfUtf8(const std::string& utf8);
// The executable's folder with its trailing separator.
std::string ExeFolderOf(const std::string& exePath);
// The executable's path with its extension replaced by ".dat" (appended when none).
std::string SettingsPathOf(const std::string& exePath);

class MainMenuLogic {
public:
    MainMenuLogic(storage::Database& db, storage::AppGlobals& globals) : db_(db), globals_(globals)
    {}

    // Reads the settings and, when a database is configured, attaches to it.
    // exePath is UTF-8. Returns the message to show, or an empty text.
    std::string StartUp(const std::string& exePath);
    // Detaches and writes the settings; the placements must be current.
    bool Close();

    // Whether the command may open its window: connected, its table there (made
    // when missing), and for new and edited projects a PC user. Sets the
    // project values the opened window reads.
    bool Prepare(MenuCommand command);

    void ConnectConfigured();
    const std::filesystem::path& SettingsPath() const { return settingsPath_; }

private:
    bool EnsureTable(const char* table, bool (*create)(storage::Database&));

    storage::Database& db_;
    storage::AppGlobals& globals_;
    std::filesystem::path settingsPath_;
};

}  // namespace app
