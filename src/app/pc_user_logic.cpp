#include "app/pc_user_logic.h"

#include "app/database_settings_logic.h"
#include "storage/schema.h"
#include "text/mbcs.h"

namespace app {

PcUserOutcome CheckPcUserDialogCanOpen(const storage::Settings& settings,
                                       const storage::Database& db)
{
    if (text::IsBlank(settings.DbFolder) || text::IsBlank(settings.DbName))
        return {QString::fromUtf8(kSetUpDatabaseFirstMessage), true};
    if (!db.Connected())
        return {QString::fromUtf8(kCannotConnectMessage), true};
    return {};
}

std::vector<std::string> LoadMemberItems(storage::Database& db)
{
    std::vector<std::string> items;
    if (!db.TableExists("MEMBER"))
        return items;
    const int count = db.SelectOrdered("*", "MEMBER", "", "N");
    db.FetchEach(count, storage::kMemberColumns, [&](const storage::Row& row) {  // N, SN, PNAME
        items.push_back(row[0] + ":" + row[2]);
    });
    return items;
}

int FindPcUserItem(const std::vector<std::string>& items, int pcUserNo)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (text::StrToIntOrZero(text::TextBeforeColon(items[i])) == pcUserNo)
            return static_cast<int>(i);
    return -1;
}

PcUserOutcome ApplyPcUser(const std::vector<std::string>& items, int selected,
                          storage::Settings& settings)
{
    if (items.empty())
        return {QString::fromUtf8(kRegisterMembersFirstMessage), false};
    if (selected < 0 || selected >= static_cast<int>(items.size()))
        return {QString::fromUtf8(kChoosePcUserMessage), false};
    const std::string& item = items[static_cast<std::size_t>(selected)];
    settings.PcUserNo = text::StrToIntOrZero(text::TextBeforeColon(item));
    settings.PcUserName = text::TextAfterColon(item);
    return {QString(), true};
}

}  // namespace app
