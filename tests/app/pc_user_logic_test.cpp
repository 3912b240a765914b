#include "app/pc_user_logic.h"

#include <gtest/gtest.h>

#include "common/database_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

using app::ApplyPcUser;
using app::FindPcUserItem;
using app::PcUserOutcome;

namespace {

std::string Cp932(const QString& text)
{
    return *text::ToCp932(text);
}

class PcUserLogicTest : public testing_support::EmbeddedDatabaseTest {};

}  // namespace

TEST_F(PcUserLogicTest, AsksForTheDatabaseSettingsBeforeTheConnection)
{
    storage::Settings settings;
    settings.DbFolder = folder.path();
    EXPECT_FALSE(app::CheckPcUserDialogCanOpen(settings, db).closeDialog);
    db.DisconnectDatabase();
    settings.DbName = " ";
    const PcUserOutcome outcome = app::CheckPcUserDialogCanOpen(settings, db);
    EXPECT_EQ(outcome.message, QStringLiteral("最初にデータベースの設定を行って下さい。"));
    EXPECT_TRUE(outcome.closeDialog);
}

TEST_F(PcUserLogicTest, ListsMembersInNumberOrderAsNumberedItems)
{
    EXPECT_TRUE(app::LoadMemberItems(db).empty());
    EXPECT_FALSE(db.TableExists("MEMBER"));  // none is made here

    ASSERT_TRUE(storage::CreateMemberTable(db));
    const std::string software = Cp932(QStringLiteral("ソフト"));
    for (const auto& [n, name] : std::vector<std::pair<int, std::string>>{
             {12, text::SqlText(Cp932(QStringLiteral("山田")))},
             {3, text::SqlText(software)},
             {7, "NULL"}})
        ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {std::to_string(n), "1", name}));

    EXPECT_EQ(
        app::LoadMemberItems(db),
        (std::vector<std::string>{"3:" + software, "7:", "12:" + Cp932(QStringLiteral("山田"))}));
    EXPECT_FALSE(db.QueryOpen());  // the read is closed for whoever reads next
}

TEST(PcUserItemTest, FindsTheFirstItemOfThePcUserAndOkKeepsTheWholeName)
{
    const std::vector<std::string> items{"3:a", "5:a:b", "05:c"};
    EXPECT_EQ(FindPcUserItem(items, 5), 1);
    EXPECT_EQ(FindPcUserItem(items, 0), -1);  // no PC user yet

    storage::Settings settings;
    EXPECT_EQ(ApplyPcUser({}, -1, settings).message,
              QStringLiteral("最初にメンバーの登録を行って下さい"));
    EXPECT_TRUE(ApplyPcUser(items, 1, settings).closeDialog);
    EXPECT_EQ(settings.PcUserNo, 5);
    EXPECT_EQ(settings.PcUserName, "a:b");  // a colon in a name stays
}
