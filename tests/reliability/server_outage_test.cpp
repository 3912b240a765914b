// A server that dies under a connected client: every operation answers with
// its documented failure within a bounded time, the connection is seen as
// lost, and after the server is back a new attach carries on with nothing
// lost that was committed before.

#include <gtest/gtest.h>

#include <QUuid>
#include <chrono>
#include <functional>
#include <string>

#include "common/database_fixture.h"
#include "common/texts.h"
#include "drawings/detail_texts.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/name_tree_editing.h"
#include "drawings/project_detail_logic.h"
#include "drawings/revision_history_logic.h"
#include "drawings/revision_history_texts.h"
#include "projects/project_columns.h"
#include "projects/project_editor_logic.h"
#include "projects/project_editor_texts.h"
#include "registers/register_logic.h"
#include "registers/register_texts.h"
#include "reliability/second_server.h"
#include "storage/app_globals.h"
#include "storage/schema.h"
#include "text/mbcs.h"

using testing_support::Q;

namespace {

using Clock = std::chrono::steady_clock;

// Far below the client library's own connect timeout: a dead peer on the same
// host refuses at once, so anything slower is a hang.
constexpr double kBoundSeconds = 15.0;

class ServerOutageTest : public testing_support::SecondServerTest {
protected:
    void SetUp() override
    {
        SecondServerTest::SetUp();
        if (!Ready())
            return;
        file_ = testing_support::ServerTestFolder() +
                QUuid::createUuid().toString(QUuid::Id128).toStdString() + ".FDB";
        path_ = server_->Path(file_);
        db.CreateDatabase(path_);
        ASSERT_TRUE(db.Connected()) << "cannot create " << path_;
    }

    void TearDown() override
    {
        db.DisconnectDatabase();
        if (!file_.empty())
            std::remove(file_.c_str());
    }

    // Kills the server and waits for nothing: the next call meets the dead connection.
    void Crash() { server_->Kill(); }

    void Restart()
    {
        if (!server_->running()) {
            ASSERT_TRUE(server_->Start()) << "second server did not start again";
        }
    }

    void Reconnect()
    {
        Restart();
        db.ConnectDatabase(path_);
        ASSERT_TRUE(db.Connected()) << "no reconnection to " << path_;
    }

    // Runs one call, checks it came back in time, and returns its duration.
    static double Timed(const std::function<void()>& call)
    {
        const auto start = Clock::now();
        call();
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    std::string file_;
    std::string path_;
    storage::Database db;
};

TEST_F(ServerOutageTest, EveryStorageOperationFailsAsDocumentedThenReconnects)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    std::vector<storage::Lines> rows;
    for (int n = 1; n <= 3000; ++n)
        rows.push_back(storage::InsertRowLines("SECTION", {"N", "SNAME"},
                                               {std::to_string(n), text::SqlText("s")}));
    ASSERT_TRUE(db.ExecuteInOneTransaction(rows));

    // A paged read left open across the crash, as a list window leaves it; the
    // client library prefetches a batch, so the move goes well beyond it.
    ASSERT_TRUE(db.OpenQuery(storage::SelectOrderedLines("*", "SECTION", "", "N")));
    ASSERT_TRUE(db.QueryFirst());
    Crash();

    struct Call {
        const char* name;
        std::function<bool()> failedAsDocumented;
    };
    storage::Row buffer(2);
    const Call calls[] = {
        {"QueryMoveBy", [&] { return !db.QueryMoveBy(2900); }},
        {"TableExists", [&] { return !db.TableExists("SECTION"); }},
        {"ExecuteDdl", [&] { return !db.ExecuteDdl(storage::CompanyTableLines()); }},
        {"InsertRow",
         [&] {
             return !db.InsertRow("SECTION", {"N", "SNAME"}, {"3001", text::SqlText("x")});
         }},
        {"UpdateRow",
         [&] {
             return !db.UpdateRow("SECTION", {"N", "SNAME"}, {"1", "NULL"}, "N=1");
         }},
        {"UpdateSet", [&] { return !db.UpdateSet("SECTION", "SNAME=NULL", "N=2"); }},
        {"DeleteRows", [&] { return !db.DeleteRows("SECTION", "N=3"); }},
        {"ExecuteInOneTransaction",
         [&] { return !db.ExecuteInOneTransaction({storage::DeleteRowsLines("SECTION", "")}); }},
        {"SelectAllWhere", [&] { return db.SelectAllWhere("SECTION", "") == -1; }},
        {"SelectExists", [&] { return !db.SelectExists("SECTION", "N", "", 1); }},
        {"SelectMax", [&] { return db.SelectMax("SECTION", "N", "").empty(); }},
        {"SelectColumns", [&] { return db.SelectColumns("*", "SECTION", "N=1", buffer) == -1; }},
        {"SelectOrdered", [&] { return db.SelectOrdered("*", "SECTION", "", "N") == 0; }},
        {"OpenQuery",
         [&] { return !db.OpenQuery(storage::SelectOrderedLines("*", "SECTION", "", "N")); }},
        {"FetchFirst",
         [&] {
             buffer = {"stale", "stale"};
             db.FetchFirst(buffer);
             return buffer[0] != "1";
         }},
    };
    for (const Call& call : calls) {
        bool failed = false;
        const double seconds = Timed([&] { failed = call.failedAsDocumented(); });
        EXPECT_TRUE(failed) << call.name << " did not report its failure";
        EXPECT_LT(seconds, kBoundSeconds) << call.name << " hung";
        EXPECT_FALSE(db.Connected()) << "still connected after " << call.name;
        EXPECT_FALSE(db.TransactionActive()) << call.name;
    }

    // Attaching while the server is still away fails quietly and in time.
    EXPECT_LT(Timed([&] { db.ConnectDatabase(path_); }), kBoundSeconds);
    EXPECT_FALSE(db.Connected());

    Reconnect();
    // Everything committed before the crash is there, nothing the dead calls tried.
    EXPECT_EQ(db.SelectAllWhere("SECTION", ""), 3000);
    EXPECT_FALSE(db.TableExists("COMPANY"));
    ASSERT_EQ(db.SelectColumns("*", "SECTION", "N=1", buffer), 2);
    EXPECT_EQ(buffer[1], "s");
    EXPECT_TRUE(db.InsertRow("SECTION", {"N", "SNAME"}, {"3001", text::SqlText("after")}));
    EXPECT_EQ(db.SelectMax("SECTION", "N", ""), "3001");
}

// Each logic call meets the crash as the first call after it, so each runs its
// own error path; then the same call succeeds once the server is back.
TEST_F(ServerOutageTest, EveryLogicSaveReportsItsFailureThenWorksAfterReconnect)
{
    constexpr int kProject = 5;
    ASSERT_TRUE(storage::CreateSectionTable(db));
    ASSERT_TRUE(storage::CreateMemberTable(db));
    ASSERT_TRUE(storage::CreateCompanyTable(db));
    ASSERT_TRUE(storage::CreateProjectTable(db));
    ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"}, {"5", "1", text::SqlText("p")}));
    ASSERT_TRUE(drawings::ProjectDetailLogic(db, kProject).Open().found);
    drawings::NameTreeEditor tree(db, drawings::ProjectTables(kProject));
    ASSERT_EQ(tree.CreateNode(0, "d", 1, drawings::EmptyDrawingValues()).number, 1);

    storage::AppGlobals globals;
    globals.settings.PcUserNo = 1;

    struct Case {
        const char* name;
        std::function<QString()> run;  // the message the user would see
        QString failure;
        QString success;
    };
    int round = 0;
    const Case cases[] = {
        {"section add",
         [&] {
             registers::RegisterLogic logic(db, registers::SectionRegister());
             return logic.Add({std::to_string(10 + round), {"s"}}).message;
         },
         Q(registers::texts::kAddFailed), Q(registers::texts::kAddOk)},
        {"member add",
         [&] {
             registers::RegisterLogic logic(db, registers::MemberRegister());
             return logic.Add({std::to_string(10 + round), {"0:-", "m"}}).message;
         },
         Q(registers::texts::kAddFailed), Q(registers::texts::kAddOk)},
        {"project save",
         [&] {
             globals.ProjectEditMode = 0;
             projects::ProjectEditorLogic logic(db, globals);
             logic.Start();
             projects::ProjectForm form;
             form.number = std::to_string(20 + round);
             form.texts[projects::kColPRNAME - projects::kFirstTextColumn] = "q";
             const projects::SaveOutcome out = logic.Save(form);
             return out.messages.empty() ? QString() : out.messages.back();
         },
         // The number check reads first and fails, which the editor cannot tell
         // from a free number: it then fails on the insert.
         Q(projects::editor_texts::kNotSavedMessage), Q(projects::editor_texts::kSavedMessage)},
        {"node create",
         [&] {
             drawings::NameTreeEditor editor(db, drawings::ProjectTables(kProject));
             const drawings::NodeCreation made =
                 editor.CreateNode(0, "n", 1, drawings::EmptyDrawingValues());
             return made.created() ? QStringLiteral("created") : made.message;
         },
         Q(drawings::detail_texts::kCreateFailed), QStringLiteral("created")},
        {"revision add",
         [&] {
             drawings::RevisionHistoryLogic logic(db, kProject, 1);
             return logic.Add({std::to_string(30 + round), "r", "1:x", "20240101"}).message;
         },
         Q(drawings::revision_texts::kAddFailed), Q(drawings::revision_texts::kAddOk)},
        {"drawing save",
         [&] {
             drawings::DrawingInfoLogic logic(db, kProject);
             drawings::DrawingPage page;
             page.Edit(1) = "1";
             page.Edit(5) = "z" + std::to_string(round);
             page.memberItems = {"0:-"};
             return logic.Save(page).message;
         },
         Q(drawings::drawing_info_texts::kSaveFailed), Q(drawings::drawing_info_texts::kSaved)},
    };
    for (const Case& c : cases) {
        ++round;
        Crash();
        QString message;
        EXPECT_LT(Timed([&] { message = c.run(); }), kBoundSeconds) << c.name << " hung";
        EXPECT_EQ(message, c.failure) << c.name;
        EXPECT_FALSE(db.Connected()) << c.name;
        Reconnect();
        EXPECT_EQ(c.run(), c.success) << c.name << " after reconnecting";
    }

    // Exactly what was reported stored after each reconnection is there.
    EXPECT_EQ(db.SelectAllWhere("SECTION", ""), 1);
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 1);
    EXPECT_EQ(db.SelectAllWhere("ZPROJECT", ""), 2);
    EXPECT_EQ(db.SelectAllWhere("ZPRJ_5", ""), 3);
    EXPECT_EQ(db.SelectAllWhere("ZMN_5", ""), 2);
    EXPECT_EQ(db.SelectAllWhere("REV_5", ""), 1);
    storage::Row drawing(20);
    ASSERT_GT(db.SelectColumns("*", "ZMN_5", "N=1", drawing), 0);
    EXPECT_EQ(drawing[3], "z6");
}

}  // namespace
