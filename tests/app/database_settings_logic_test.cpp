#include "app/database_settings_logic.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include "common/database_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

using app::ApplyDatabaseSettings;
using app::DatabaseFileName;
using app::DatabaseSettingsOutcome;

namespace {

bool FileExists(const std::string& path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}

// The fixture's database, closed as the main window closes it around the dialog.
class DatabaseSettingsLogicTest : public testing_support::EmbeddedDatabaseTest {
protected:
    storage::Settings settings;
};

}  // namespace

TEST(DatabaseFileNameTest, UpperCasesAndAddsTheExtensionOnlyWhenMissing)
{
    EXPECT_EQ(DatabaseFileName("mydb"), "MYDB.FDB");
    EXPECT_EQ(DatabaseFileName("mydb.gdb"), "MYDB.GDB");
    EXPECT_EQ(DatabaseFileName("db."), "DB.");
    // A "." before the last separator is a folder's.
    EXPECT_EQ(DatabaseFileName("old.dir\\zumen"), "OLD.DIR\\ZUMEN.FDB");
    EXPECT_EQ(DatabaseFileName("c.d:zumen"), "C.D:ZUMEN.FDB");
    EXPECT_EQ(DatabaseFileName("old.dir/zumen"), "OLD.DIR/ZUMEN.FDB");

    // "Ｂ" ends in the byte of "a", "ソ" in the byte of "\": neither is a letter
    // to upper-case nor a separator.
    const std::string wideB = *text::ToCp932(QStringLiteral("Ｂ"));
    const std::string so = *text::ToCp932(QStringLiteral("ソ"));
    ASSERT_EQ(wideB[1], 'a');
    ASSERT_EQ(so[1], '\\');
    EXPECT_EQ(DatabaseFileName("x" + wideB), "X" + wideB + ".FDB");
    EXPECT_EQ(DatabaseFileName("db." + so), "DB." + so);
}

// An empty server means this PC's own engine, which a Windows PC does not have.
TEST(DatabaseServerFieldTest, EmptyOnlyWhereThereIsAnEmbeddedEngine)
{
    EXPECT_TRUE(app::ServerFieldUsable("", true));
    EXPECT_FALSE(app::ServerFieldUsable("", false));
    EXPECT_FALSE(app::ServerFieldUsable("  ", false));
    EXPECT_TRUE(app::ServerFieldUsable("192.168.1.10:", false));
}

TEST_F(DatabaseSettingsLogicTest, RefusesABlankFolderThenABlankNameChangingNothing)
{
    DatabaseSettingsOutcome outcome = ApplyDatabaseSettings({"x:", " \t ", ""}, db, settings);
    EXPECT_EQ(outcome.message, QStringLiteral("サーバーのデータのフォルダを入力して下さい"));
    EXPECT_EQ(outcome.focus, QStringLiteral("Edit2"));
    EXPECT_FALSE(outcome.closeDialog);

    outcome = ApplyDatabaseSettings({"x:", "/data/", "   "}, db, settings);
    EXPECT_EQ(outcome.message, QStringLiteral("データベース名を入力して下さい"));
    EXPECT_EQ(outcome.focus, QStringLiteral("Edit3"));
    EXPECT_FALSE(outcome.closeDialog);
    EXPECT_EQ(settings.DbServer, storage::Settings().DbServer);
    EXPECT_EQ(settings.DbFolder, "");
}

TEST_F(DatabaseSettingsLogicTest, CreatesANewDatabaseWithoutTablesAndLeavesItClosed)
{
    db.DisconnectDatabase();
    testing_support::TempFolder other;
    const DatabaseSettingsOutcome outcome =
        ApplyDatabaseSettings({"", other.path(), "mydb"}, db, settings);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_TRUE(outcome.closeDialog);
    EXPECT_EQ(settings.DbServer, "");
    EXPECT_EQ(settings.DbFolder, other.path());
    EXPECT_EQ(settings.DbName, "MYDB.FDB");
    EXPECT_FALSE(db.Connected());

    db.ConnectDatabase(other.file("MYDB.FDB"));
    ASSERT_TRUE(db.Connected());
    EXPECT_EQ(db.SelectOrdered("RDB$RELATION_NAME", "RDB$RELATIONS", "RDB$SYSTEM_FLAG = 0", ""), 0);
}

TEST_F(DatabaseSettingsLogicTest, AttachesAnExistingDatabaseKeepingItsData)
{
    ASSERT_TRUE(storage::CreateMemberTable(db));
    ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"7", "1", text::SqlText("kept")}));
    db.DisconnectDatabase();

    const DatabaseSettingsOutcome outcome =
        ApplyDatabaseSettings({"", folder.path(), "zumendb"}, db, settings);
    EXPECT_TRUE(outcome.closeDialog);
    EXPECT_FALSE(db.Connected());
    db.ConnectDatabase(path);
    storage::Row row(storage::kMemberColumns);
    EXPECT_EQ(db.SelectColumns("*", "MEMBER", "N=7", row), storage::kMemberColumns);
    EXPECT_EQ(row[2], "kept");
}

TEST_F(DatabaseSettingsLogicTest, AMissingFolderKeepsTheDialogOpenWithTheNewSettingsInForce)
{
    // Still attached to the fixture's database: that must not pass for success.
    ASSERT_TRUE(db.Connected());
    const std::string missing = folder.path() + "no such folder/";
    const DatabaseSettingsOutcome outcome =
        ApplyDatabaseSettings({"", missing, "other"}, db, settings);
    EXPECT_EQ(outcome.message,
              QStringLiteral("データベースが作成・接続出来ません。設定を確認して下さい。"));
    EXPECT_EQ(outcome.focus, QStringLiteral("Edit1"));
    EXPECT_FALSE(outcome.closeDialog);
    EXPECT_FALSE(db.Connected());
    EXPECT_EQ(settings.DbFolder, missing);
    EXPECT_EQ(settings.DbName, "OTHER.FDB");
    EXPECT_FALSE(FileExists(missing + "OTHER.FDB"));
}
