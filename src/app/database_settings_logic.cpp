#include "app/database_settings_logic.h"

#include <algorithm>

#include "text/mbcs.h"
#include "text/platform.h"

namespace app {

std::string DatabaseFileName(std::string_view typed)
{
    std::string name;
    name.reserve(typed.size() + 4);
    bool hasExtension = false;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (text::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < typed.size()) {
            // A trail byte may look like "\" or a letter: it is neither.
            name += c;
            name += typed[++i];
            continue;
        }
        if (c == '\\' || c == ':' || c == '/')
            hasExtension = false;
        else if (c == '.')
            hasExtension = true;
        name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (!hasExtension)
        name += ".FDB";
    return name;
}

bool ServerFieldUsable(std::string_view server, bool embeddedEngine)
{
    return embeddedEngine || !IsBlank(server);
}

DatabaseSettingsOutcome ApplyDatabaseSettings(const DatabaseSettingsInput& input,
                                              storage::Database& db, storage::Settings& settings)
{
    if (!ServerFieldUsable(input.server, text::HasEmbeddedDatabaseEngine()))
        return {QString::fromUtf8(kServerNeededMessage), QStringLiteral("Edit1"), false};
    if (text::IsBlank(input.folder))
        return {QString::fromUtf8(kFolderMissingMessage), QStringLiteral("Edit2"), false};
    if (text::IsBlank(input.name))
        return {QString::fromUtf8(kNameMissingMessage), QStringLiteral("Edit3"), false};

    settings.DbServer = input.server;
    settings.DbFolder = input.folder;
    settings.DbName = DatabaseFileName(input.name);

    db.DisconnectDatabase();
    const std::string path = storage::DatabasePath(settings);
    db.CreateDatabase(path);
    db.ConnectDatabase(path);
    const bool reached = db.Connected();
    db.DisconnectDatabase();
    if (!reached)
        return {QString::fromUtf8(kCreateOrConnectFailedMessage), QStringLiteral("Edit1"), false};
    return {QString(), QString(), true};
}

}  // namespace app
