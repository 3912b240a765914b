// An office on its network: a server bound to an address of its own (not
// localhost), reached by two PCs whose server field is that address. Each PC
// goes through the application's logic: the database settings dialog, the
// registers, the project editor, file registration, the drawing page.

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QUuid>
#include <fstream>

#include "app/database_settings_logic.h"
#include "app/main_menu_logic.h"
#include "common/database_fixture.h"
#include "common/temp_folder.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/file_registration.h"
#include "drawings/project_detail_logic.h"
#include "projects/project_columns.h"
#include "projects/project_editor_logic.h"
#include "registers/register_logic.h"
#include "registers/register_texts.h"
#include "reliability/reliability_support.h"
#include "reliability/second_server.h"
#include "storage/app_globals.h"
#include "storage/service_manager.h"

namespace {

using testing_support::ReadTable;
using testing_support::SecondServer;

constexpr const char* kAddress = "127.0.0.2";
constexpr int kProject = 1;

// One PC: its own settings, connection and PC user.
struct Pc {
    storage::AppGlobals globals;
    storage::Database db;
    app::MainMenuLogic menu{db, globals};

    // The database settings dialog's OK, then the reconnection around it.
    bool Configure(const std::string& folder)
    {
        const app::DatabaseSettingsOutcome outcome = app::ApplyDatabaseSettings(
            {std::string(kAddress) + ":", folder, "zumendb"}, db, globals.settings);
        menu.ConnectConfigured();
        return outcome.closeDialog && db.Connected();
    }

    void AddMember(int number, const std::string& name)
    {
        ASSERT_TRUE(menu.Prepare(app::MenuCommand::MemberRegister));
        registers::RegisterLogic logic(db, registers::MemberRegister());
        const registers::RegisterOutcome added = logic.Add({std::to_string(number), {"0:-", name}});
        ASSERT_EQ(added.message, QString::fromUtf8(registers::texts::kAddOk));
    }

    // The drawing page as it is shown for a node, a stamp pressed, then 編集登録.
    void StampAndSave(int node, drawings::Stamp stamp)
    {
        drawings::ProjectDetailLogic detail(db, kProject);
        const drawings::DrawingNodeInfo info = detail.ReadDrawingNode(node);
        drawings::DrawingPage page;
        page.Edit(1) = std::to_string(node);
        for (std::size_t i = 0; i < info.fields.size(); ++i)
            page.edits[2 + i] = info.fields[i];
        page.memberItems = detail.LoadMemberItems();
        for (std::size_t i = 0; i < info.members.size(); ++i)
            page.memberIndexes[i] = drawings::FindMemberItem(page.memberItems, info.members[i]);
        const drawings::PageOutcome stamped =
            drawings::StampPage(page, stamp, globals.settings, QDate(2024, 3, 5));
        for (const drawings::TextChange& change : stamped.texts)
            page.Edit(change.control.mid(4).toInt()) = change.text;
        for (const drawings::SelectionChange& change : stamped.selections)
            page.memberIndexes[change.control.mid(8).toInt() - 1] = change.index;
        const drawings::PageOutcome saved = drawings::DrawingInfoLogic(db, kProject).Save(page);
        ASSERT_EQ(saved.message, QString::fromUtf8(drawings::drawing_info_texts::kSaved));
    }
};

TEST(OfficeNetwork, TwoPcsShareOneServerReachedByItsAddress)
{
    if (const std::string why = SecondServer::Unavailable(); !why.empty())
        GTEST_SKIP() << why;
    SecondServer server(kAddress, 3050);
    ASSERT_TRUE(server.Start()) << "no server on " << kAddress << ":3050 (is 3050 taken there?)";
    // What answers at localhost is not this server, whether another one or none.
    EXPECT_EQ(storage::ServerRoot(kAddress).rfind(server.root(), 0), 0u)
        << storage::ServerRoot(kAddress);
    EXPECT_NE(storage::ServerRoot("localhost").rfind(server.root(), 0), 0u);

    // The database folder belongs to the server's user, as an office server's does.
    testing_support::TempFolder base;
    const std::string folder = base.file("data/");
    QDir().mkpath(QString::fromStdString(folder));
    const passwd* firebird = getpwnam("firebird");
    ASSERT_TRUE(firebird);
    ASSERT_EQ(chown(folder.c_str(), firebird->pw_uid, firebird->pw_gid), 0);
    ASSERT_EQ(chmod(base.path().c_str(), 0755), 0);

    Pc a;
    ASSERT_TRUE(a.Configure(folder));
    EXPECT_EQ(storage::DatabasePath(a.globals.settings),
              std::string(kAddress) + ":" + folder + "ZUMENDB.FDB");
    ASSERT_NO_FATAL_FAILURE(a.AddMember(1, "sato"));
    ASSERT_NO_FATAL_FAILURE(a.AddMember(2, "suzuki"));
    a.globals.settings.PcUserNo = 1;
    a.globals.settings.PcUserName = "sato";
    ASSERT_TRUE(a.menu.Prepare(app::MenuCommand::ProjectNew));
    projects::ProjectEditorLogic editor(a.db, a.globals);
    editor.Start();
    projects::ProjectForm form;
    form.number = std::to_string(kProject);
    form.texts[projects::kColPRNAME - projects::kFirstTextColumn] = "office";
    ASSERT_TRUE(editor.Save(form).saved);
    ASSERT_TRUE(drawings::ProjectDetailLogic(a.db, kProject).Open().found);
    testing_support::TempFolder drawingsFolder;
    QStringList files;
    for (const char* name : {"plan.txt", "section.txt"}) {
        std::ofstream(drawingsFolder.file(name)) << name;
        files << QString::fromStdString(drawingsFolder.file(name));
    }
    const drawings::RegistrationOutcome registered =
        drawings::FileRegistration(a.db, drawings::ProjectTables(kProject), 1)
            .RegisterFiles(
                0, files, [](int) { return true; }, [](const drawings::RegisteredFile&) {});
    ASSERT_EQ(registered.registered, 2) << registered.message.toStdString();

    // The second PC types the same three values and finds everything there.
    Pc b;
    ASSERT_TRUE(b.Configure(folder));
    b.globals.settings.PcUserNo = 2;
    b.globals.settings.PcUserName = "suzuki";
    EXPECT_EQ(ReadTable(b.db, "MEMBER", 3).size(), 2u);
    EXPECT_EQ(ReadTable(b.db, "ZPROJECT", projects::kProjectColumnCount).at(0)[3], "office");
    const std::vector<storage::Row> drawingRows = ReadTable(b.db, "ZMN_1", 20);
    ASSERT_EQ(drawingRows.size(), 2u);
    EXPECT_EQ(drawingRows[0][1], "plan.txt");
    const int node = std::stoi(drawingRows[0][0]);

    // Each stamps and saves; each sees the other's stamp.
    ASSERT_NO_FATAL_FAILURE(b.StampAndSave(node, drawings::Stamp::Check));
    drawings::DrawingNodeInfo seen =
        drawings::ProjectDetailLogic(a.db, kProject).ReadDrawingNode(node);
    EXPECT_EQ(seen.members[1], "2");         // KN
    EXPECT_EQ(seen.fields[10], "20240305");  // KDATE
    ASSERT_NO_FATAL_FAILURE(a.StampAndSave(node, drawings::Stamp::Approval));
    seen = drawings::ProjectDetailLogic(b.db, kProject).ReadDrawingNode(node);
    EXPECT_EQ(seen.members[1], "2");
    EXPECT_EQ(seen.members[2], "1");               // AN
    EXPECT_EQ(seen.fields[1], drawingRows[0][2]);  // the folder survived both saves
}

}  // namespace
