#include "app/main_menu_logic.h"

#include <gtest/gtest.h>

#include <QFile>

#include "common/temp_folder.h"
#include "storage/schema.h"

using app::MainMenuLogic;
using app::MenuCommand;
using testing_support::TempFolder;

namespace {

TEST(MainMenuPaths, SettingsFileSitsBesideTheExecutable)
{
    EXPECT_EQ(app::ExeFolderOf("/opt/k5x7/bin/k5x7"), "/opt/k5x7/bin/");
    EXPECT_EQ(app::SettingsPathOf("/opt/k5x7/bin/k5x7"), "/opt/k5x7/bin/k5x7.dat");
    EXPECT_EQ(app::SettingsPathOf("/opt/k5x7/bin/k5x7.exe"), "/opt/k5x7/bin/k5x7.dat");
    EXPECT_EQ(app::SettingsPathOf("/opt/k.5/k5x7"), "/opt/k.5/k5x7.dat");  // dot in a folder only
    EXPECT_EQ(app::ExeFolderOf("k5x7"), "");
}

class MainMenuLogicTest : public ::testing::Test {
protected:
    std::string exePath() const { return folder.file("k5x7"); }

    // A settings file naming a fresh embedded database in the temp folder.
    void configureDatabase(bool create)
    {
        globals.settings.DbServer = "";
        globals.settings.DbFolder = folder.path();
        globals.settings.DbName = "ZUMENDB.FDB";
        ASSERT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), globals.settings));
        if (create) {
            storage::Database maker;
            maker.CreateDatabase(storage::DatabasePath(globals.settings));
            ASSERT_TRUE(maker.Connected());
        }
        globals = {};
    }

    TempFolder folder;
    storage::Database db;
    storage::AppGlobals globals;
    MainMenuLogic logic{db, globals};
};

TEST_F(MainMenuLogicTest, FirstStartAttemptsNothing)
{
    EXPECT_EQ(logic.StartUp(exePath()), "");
    EXPECT_FALSE(db.Connected());
    EXPECT_EQ(globals.ExeFolder, folder.path());
    EXPECT_EQ(globals.settings.LastDrawingFolder, folder.path());
    EXPECT_EQ(globals.settings.DbServer, "localhost:");
    for (auto command :
         {MenuCommand::SectionRegister, MenuCommand::MemberRegister, MenuCommand::CompanyRegister,
          MenuCommand::PcUser, MenuCommand::ProjectNew, MenuCommand::ProjectEdit,
          MenuCommand::ProjectList, MenuCommand::ProjectChart})
        EXPECT_FALSE(logic.Prepare(command));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("k5x7.dat"))));
}

TEST_F(MainMenuLogicTest, UnreachableDatabaseGivesOneMessageAndStaysClosed)
{
    configureDatabase(false);  // configured, but no file there
    EXPECT_EQ(logic.StartUp(exePath()), app::kConnectFailedMessage);
    EXPECT_FALSE(db.Connected());
    EXPECT_FALSE(logic.Prepare(MenuCommand::ProjectList));
}

TEST_F(MainMenuLogicTest, CommandsEnsureTheirTablesAndGuardOnThePcUser)
{
    configureDatabase(true);
    ASSERT_EQ(logic.StartUp(exePath()), "");
    ASSERT_TRUE(db.Connected());

    EXPECT_TRUE(logic.Prepare(MenuCommand::PcUser));
    EXPECT_FALSE(db.TableExists("MEMBER"));  // the PC user command creates nothing

    EXPECT_FALSE(logic.Prepare(MenuCommand::ProjectEdit));  // no ZPROJECT: not created here
    EXPECT_FALSE(db.TableExists("ZPROJECT"));

    EXPECT_FALSE(logic.Prepare(MenuCommand::ProjectNew));  // PC user 0, table made all the same
    EXPECT_TRUE(db.TableExists("ZPROJECT"));

    globals.settings.PcUserNo = 4;
    globals.ProjectEditMode = 1;
    EXPECT_TRUE(logic.Prepare(MenuCommand::ProjectNew));
    EXPECT_EQ(globals.ProjectEditMode, 0);
    globals.CurrentProjectNo = 9;
    EXPECT_TRUE(logic.Prepare(MenuCommand::ProjectEdit));
    EXPECT_EQ(globals.ProjectEditMode, 1);
    EXPECT_EQ(globals.CurrentProjectNo, 0);

    const std::pair<MenuCommand, const char*> registers[] = {
        {MenuCommand::SectionRegister, "SECTION"},
        {MenuCommand::MemberRegister, "MEMBER"},
        {MenuCommand::CompanyRegister, "COMPANY"}};
    for (const auto& [command, table] : registers) {
        EXPECT_TRUE(logic.Prepare(command)) << table;
        EXPECT_TRUE(db.TableExists(table)) << table;
        EXPECT_TRUE(logic.Prepare(command)) << table;  // already there: still opens
    }
    EXPECT_TRUE(logic.Prepare(MenuCommand::ProjectList));
    EXPECT_TRUE(logic.Prepare(MenuCommand::ProjectChart));
}

TEST_F(MainMenuLogicTest, CloseDetachesAndKeepsWhatChanged)
{
    configureDatabase(true);
    ASSERT_EQ(logic.StartUp(exePath()), "");
    globals.settings.PcUserNo = 7;
    globals.settings.PcUserName = "\x83\x5C";
    globals.settings.Form1 = {10, 20, 500, 400};
    EXPECT_TRUE(logic.Close());
    EXPECT_FALSE(db.Connected());

    storage::AppGlobals again;
    storage::Database db2;
    MainMenuLogic second(db2, again);
    EXPECT_EQ(second.StartUp(exePath()), "");
    EXPECT_TRUE(db2.Connected());
    EXPECT_EQ(again.settings.PcUserNo, 7);
    EXPECT_EQ(again.settings.PcUserName, "\x83\x5C");
    EXPECT_EQ(again.settings.Form1.width, 500);
}

}  // namespace
