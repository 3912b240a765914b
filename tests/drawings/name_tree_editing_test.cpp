#include "drawings/name_tree_editing.h"

#include <gtest/gtest.h>

#include <QDir>
#include <mutex>
#include <set>
#include <thread>

#include "drawings/detail_texts.h"
#include "drawings/name_dialog_texts.h"
#include "project_fixture.h"
#include "text/cp932.h"

using drawings::CheckNodeName;
using drawings::NameTreeEditor;
using drawings::NodeCreation;
using drawings::ProjectDetailLogic;
using storage::Row;
using testing_support::kHyou;
using testing_support::kKouzou;

namespace {

const QString kEnterName = QString::fromUtf8(drawings::name_dialog_texts::kEnterName);
const QString kNoQuotes = QString::fromUtf8(drawings::name_dialog_texts::kNoQuotesOrColon);
const QString kCreateFailed = QString::fromUtf8(drawings::detail_texts::kCreateFailed);

class NameTreeEditingTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        ProjectDetailLogic(db, kProject).Open();
        sent.clear();
    }

    NodeCreation create(int parent, const std::string& name, int member = 2)
    {
        return editor.CreateNode(parent, name, member, drawings::EmptyDrawingValues());
    }

    std::vector<Row> tree() { return rows("ZPRJ_7", 4, "N>0"); }

    drawings::ProjectTables tables{kProject};
    NameTreeEditor editor{db, tables};
};

}  // namespace

TEST(NodeName, EmptyBlankQuotedOrColonNamesAreRefusedAndOthersCleaned)
{
    for (const std::string typed : {"", "   ", " \t\x01 "})
        EXPECT_EQ(CheckNodeName(typed).message, kEnterName) << typed;
    for (const std::string typed : {"a'b", "say \"x\"", "A:B", "a :1", ":"})
        EXPECT_EQ(CheckNodeName(typed).message, kNoQuotes) << typed;

    auto check = CheckNodeName("  lead and trail  ");
    EXPECT_TRUE(check.message.isEmpty());
    EXPECT_EQ(check.name, "  lead and trail  ");
    EXPECT_EQ(CheckNodeName("tab\there\x7f").name, "tabhere\x7f");
    // 30 bytes and a two-byte character: 32 bytes kept whole; 「」 are no quotes.
    const std::string full = std::string(30, 'x') + kHyou;
    EXPECT_EQ(CheckNodeName(full).name, full);
    const std::string brackets = "\x81\x75\x8D\x5C\x81\x76";  // 「構」
    EXPECT_EQ(CheckNodeName(brackets).name, brackets);
}

TEST_F(NameTreeEditingTest, NodesAreNumberedFromOneAndTheLargestNumberIsGivenOutAgain)
{
    NodeCreation first = create(0, "  Plans");
    EXPECT_EQ(first.number, 1);
    EXPECT_TRUE(first.message.isEmpty());
    EXPECT_EQ(create(1, kKouzou, 0).number, 2);
    EXPECT_EQ(create(1, "C").number, 3);
    EXPECT_EQ(tree(),
              (std::vector<Row>{
                  {"1", "  Plans", "2", "0"}, {"2", kKouzou, "0", "1"}, {"3", "C", "2", "1"}}));

    // Each node is its tree row and an empty drawing row.
    const std::string emptyDrawing = storage::JoinStatement(storage::InsertRowLines(
        "ZMN_7", drawings::DrawingColumnNames(),
        {"3",    "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "0",
         "NULL", "NULL", "0",    "NULL", "0",    "NULL", "0",    "NULL", "0",    "NULL"}));
    EXPECT_EQ(sentStartingWith("INSERT INTO ZMN_7").back(), emptyDrawing);
    EXPECT_EQ(rows("ZMN_7", 20).size(), 3u);

    ASSERT_TRUE(editor.DeleteNode(3));  // the largest: its number comes back
    EXPECT_EQ(create(0, "D").number, 3);
    ASSERT_TRUE(editor.DeleteNode(2));  // another: a gap stays
    EXPECT_EQ(create(0, "E").number, 4);
    EXPECT_EQ(tree().size(), 3u);
    EXPECT_EQ(rows("ZMN_7", 20).size(), 3u);
}

TEST_F(NameTreeEditingTest, ANodeThatCannotBeStoredLeavesNothingAndSaysSo)
{
    create(0, "A");
    // Its drawing row cannot be written: the tree row goes with it, and a
    // bounded number of numbers is tried.
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE ZMN_7;"}));
    sent.clear();
    NodeCreation failed = create(0, "B");
    EXPECT_FALSE(failed.created());
    EXPECT_EQ(failed.message, kCreateFailed);
    EXPECT_EQ(sentStartingWith("INSERT INTO ZPRJ_7").size(),
              static_cast<size_t>(NameTreeEditor::kCreateAttempts));
    EXPECT_EQ(tree().size(), 1u);

    // A name longer than the column holds is not stored either.
    ASSERT_TRUE(storage::CreateDrawingTable(db, "ZMN_7"));
    failed = create(0, std::string(33, 'x'));
    EXPECT_EQ(failed.message, kCreateFailed);
    EXPECT_EQ(tree().size(), 1u);

    db.DisconnectDatabase();
    sent.clear();
    EXPECT_EQ(create(0, "C").message, kCreateFailed);
    EXPECT_TRUE(sent.empty());
}

TEST_F(NameTreeEditingTest, RowsLeftBehindByABrokenDeletionNeverJoinANewNode)
{
    create(0, "A");
    create(0, "B");
    create(0, "C");
    // An older deletion of nodes 5 and 6 stopped after their tree rows.
    ASSERT_TRUE(db.InsertRow("ZMN_7", {"N"}, {"5"}));
    ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN", "CONT"}, {"1", "6", "'old revision'"}));
    const NodeCreation made = create(3, "D");
    EXPECT_EQ(made.number, 7);
    ProjectDetailLogic logic(db, kProject);
    EXPECT_TRUE(logic.ReadDrawingNode(7).revisions.empty());
    EXPECT_EQ(rows("ZMN_7", 20, "N=7").size(), 1u);
}

TEST_F(NameTreeEditingTest, ANumberTakenByAnotherPcMeanwhileIsPassedOver)
{
    storage::Database other;
    other.ConnectDatabase(path);
    ASSERT_TRUE(other.Connected());
    NameTreeEditor otherEditor(other, tables);
    create(0, "A");

    // The other PC stores node 2 just as this one is about to store it.
    bool interfered = false;
    NodeCreation theirs;
    db.SetStatementObserver([&](std::string_view text) {
        sent.emplace_back(text);
        if (!interfered && text.rfind("INSERT INTO ZPRJ_7", 0) == 0) {
            interfered = true;
            theirs = otherEditor.CreateNode(0, "theirs", 9, drawings::EmptyDrawingValues());
        }
    });
    const NodeCreation mine = create(1, "mine");
    EXPECT_EQ(theirs.number, 2);
    EXPECT_EQ(mine.number, 3);
    EXPECT_EQ(tree(),
              (std::vector<Row>{
                  {"1", "A", "2", "0"}, {"2", "theirs", "9", "0"}, {"3", "mine", "2", "1"}}));
    EXPECT_EQ(rows("ZMN_7", 20).size(), 3u);
}

TEST_F(NameTreeEditingTest, RenamingWritesTheNameAndReportsAFailure)
{
    create(0, "A");
    EXPECT_TRUE(editor.RenameNode(1, "  " + kKouzou));
    EXPECT_EQ(sent.back(), storage::JoinStatement(storage::UpdateSetLines(
                               "ZPRJ_7", "NAME='  " + kKouzou + "'", "N=1")));
    EXPECT_EQ(tree()[0][1], "  " + kKouzou);
    EXPECT_FALSE(editor.RenameNode(1, std::string(33, 'x')));
    EXPECT_EQ(tree()[0][1], "  " + kKouzou);
}

TEST_F(NameTreeEditingTest, ANodeIsDeletedWithItsDrawingAndRevisionsOrNotAtAll)
{
    create(0, "A");
    create(0, "B");
    for (const auto& [n, zn] : {std::pair{1, 1}, {2, 1}, {3, 2}})
        ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN"}, {std::to_string(n), std::to_string(zn)}));

    // The revision history cannot be deleted: the tree and drawing rows stay too.
    ASSERT_TRUE(db.ExecuteDdl({"CREATE EXCEPTION KEEP_ROWS 'kept';"}));
    ASSERT_TRUE(db.ExecuteDdl({"CREATE TRIGGER REV_KEEP FOR REV_7 BEFORE DELETE AS", "BEGIN",
                               "  IF (OLD.ZN = 1) THEN EXCEPTION KEEP_ROWS;", "END"}));
    EXPECT_FALSE(editor.DeleteNode(1));
    EXPECT_EQ(tree().size(), 2u);
    EXPECT_EQ(rows("ZMN_7", 20, "N=1").size(), 1u);
    EXPECT_EQ(rows("REV_7", 5, "ZN=1").size(), 2u);

    ASSERT_TRUE(db.ExecuteDdl({"DROP TRIGGER REV_KEEP;"}));
    EXPECT_TRUE(editor.DeleteNode(1));
    EXPECT_EQ(tree(), (std::vector<Row>{{"2", "B", "2", "0"}}));
    EXPECT_TRUE(rows("ZMN_7", 20, "N=1").empty());
    EXPECT_TRUE(rows("REV_7", 5, "ZN=1").empty());
    EXPECT_EQ(rows("REV_7", 5).size(), 1u);  // node 2's history stays
}

TEST(NodeMessages, NameAndNumberAreSetInTheRefusalAndTheQuestion)
{
    const QString name = text::FromCp932(kKouzou);
    const QString open = QString::fromUtf8(drawings::detail_texts::kNodeOpen);
    const QString number = QString::fromUtf8(drawings::detail_texts::kNodeNumber);
    EXPECT_EQ(
        drawings::HasChildrenMessage(kKouzou, 12),
        open + name + number + "12" + QString::fromUtf8(drawings::detail_texts::kHasChildrenEnd));
    EXPECT_EQ(
        drawings::DeleteQuestion(kKouzou, 3),
        open + name + number + "3" + QString::fromUtf8(drawings::detail_texts::kDeleteQuestionEnd));
}

// Two PCs on one server database making nodes at the same time.
class ServerNodeTest : public testing_support::ServerDatabaseTest {};

TEST_F(ServerNodeTest, NodesMadeAtTheSameTimeFromTwoPcsAreEachStoredOnce)
{
    ASSERT_TRUE(storage::CreateProjectTable(db));
    ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"}, {"7", "1", "'P'"}));
    ProjectDetailLogic(db, 7).Open();
    storage::Database other;
    other.ConnectDatabase(path);
    ASSERT_TRUE(other.Connected());

    constexpr int kEach = 40;
    struct Made {
        std::string name;
        NodeCreation result;
    };
    std::vector<Made> made;
    std::mutex guard;
    auto work = [&](storage::Database& connection, const std::string& pc) {
        NameTreeEditor pcEditor(connection, drawings::ProjectTables(7));
        for (int i = 0; i < kEach; ++i) {
            const std::string name = pc + std::to_string(i);
            NodeCreation result = pcEditor.CreateNode(0, name, 1, drawings::EmptyDrawingValues());
            std::lock_guard lock(guard);
            made.push_back({name, result});
        }
    };
    std::thread a(work, std::ref(db), "A");
    std::thread b(work, std::ref(other), "B");
    a.join();
    b.join();

    // Every node reported as made is stored once under its number with its
    // drawing row; nothing else is stored; a node not made says so.
    std::set<int> numbers;
    int stored = 0;
    for (const Made& m : made) {
        if (!m.result.created()) {
            EXPECT_EQ(m.result.message, kCreateFailed);
            continue;
        }
        ++stored;
        EXPECT_TRUE(numbers.insert(m.result.number).second) << m.result.number;
        Row row(4);
        const std::string n = "N=" + std::to_string(m.result.number);
        EXPECT_EQ(db.SelectColumns("*", "ZPRJ_7", n, row), 4);
        EXPECT_EQ(row[1], m.name);
        EXPECT_EQ(db.SelectAllWhere("ZMN_7", n), 1);
    }
    EXPECT_GT(stored, kEach);
    EXPECT_EQ(db.SelectAllWhere("ZPRJ_7", "N>0"), stored);
    EXPECT_EQ(db.SelectAllWhere("ZMN_7", ""), stored);
    other.DisconnectDatabase();
}
