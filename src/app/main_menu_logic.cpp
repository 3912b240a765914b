#include "app/main_menu_logic.h"

#include <QString>

#include "app/database_settings_logic.h"
#include "storage/schema.h"
#include "storage/settings_location.h"
#include "text/cp932.h"
#include "text/platform.h"

namespace app {

namespace {

bool IsSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

size_t NameStart(const std::string& path)
{
    size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1]))
        --i;
    return i;
}

}  // namespace

std::filesystem::path PathOfUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ExeFolderOf(const std::string& exePath)
{
    return exePath.substr(0, NameStart(exePath));
}

std::string SettingsPathOf(const std::string& exePath)
{
    size_t nameStart = NameStart(exePath);
    size_t dot = exePath.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return exePath + ".dat";
    return exePath.substr(0, dot) + ".dat";
}

std::string MainMenuLogic::StartUp(const std::string& exePath)
{
    // The folder is a text of the settings (the first folder of the file
    // dialog), so CP932 like every other; the settings file itself is opened
    // by its path, whatever characters it holds.
    globals_.ExeFolder =
        text::ToCp932(QString::fromUtf8(ExeFolderOf(exePath).c_str())).value_or(std::string());
    settingsPath_ = PathOfUtf8(storage::SettingsFileLocation(SettingsPathOf(exePath)));
    storage::ReadSettings(settingsPath_, globals_.ExeFolder, globals_.settings);
    if (globals_.settings.DbFolder.empty())
        return {};
    if (!ServerFieldUsable(globals_.settings.DbServer, text::HasEmbeddedDatabaseEngine()))
        return kServerNeededMessage;
    ConnectConfigured();
    if (db_.Connected())
        return {};
    db_.DisconnectDatabase();
    return kConnectFailedMessage;
}

bool MainMenuLogic::Close()
{
    db_.DisconnectDatabase();
    return storage::MakeSettingsFolder(settingsPath_) &&
           storage::WriteSettings(settingsPath_, globals_.settings);
}

void MainMenuLogic::ConnectConfigured()
{
    db_.ConnectDatabase(storage::DatabasePath(globals_.settings));
}

bool MainMenuLogic::EnsureTable(const char* table, bool (*create)(storage::Database&))
{
    return db_.TableExists(table) || create(db_);
}

bool MainMenuLogic::Prepare(MenuCommand command)
{
    if (!db_.Connected())
        return false;
    switch (command) {
        case MenuCommand::SectionRegister:
            return EnsureTable("SECTION", storage::CreateSectionTable);
        case MenuCommand::MemberRegister:
            return EnsureTable("MEMBER", storage::CreateMemberTable);
        case MenuCommand::CompanyRegister:
            return EnsureTable("COMPANY", storage::CreateCompanyTable);
        case MenuCommand::PcUser:
            return true;
        case MenuCommand::ProjectNew:
            if (!EnsureTable("ZPROJECT", storage::CreateProjectTable))
                return false;
            if (globals_.settings.PcUserNo == 0)
                return false;
            globals_.ProjectEditMode = 0;
            return true;
        case MenuCommand::ProjectEdit:
            if (!db_.TableExists("ZPROJECT") || globals_.settings.PcUserNo == 0)
                return false;
            globals_.ProjectEditMode = 1;
            globals_.CurrentProjectNo = 0;
            return true;
        case MenuCommand::ProjectList:
        case MenuCommand::ProjectChart:
            return EnsureTable("ZPROJECT", storage::CreateProjectTable);
        case MenuCommand::DrawingSearch:
            return true;
    }
    return false;
}

}  // namespace app
