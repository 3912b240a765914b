#include "drawings/project_detail_logic.h"

#include <gtest/gtest.h>

#include "drawings/detail_texts.h"
#include "drawings/node_text.h"
#include "project_fixture.h"

using drawings::Cp932;
using drawings::kProjectNode;
using drawings::ProjectDetailLogic;
using storage::Row;
using testing_support::kHyou;
using testing_support::kKouzou;

namespace texts = drawings::detail_texts;

namespace {

class ProjectDetailTest : public testing_support::ProjectTest {
protected:
    std::vector<std::string> changes() const
    {
        std::vector<std::string> found;
        for (const char* verb : {"CREATE", "INSERT", "UPDATE", "DELETE"})
            for (const std::string& s : sentStartingWith(verb))
                found.push_back(s);
        return found;
    }

    Row root() { return rows("ZPRJ_7", 4, "N=0").at(0); }
};

}  // namespace

TEST_F(ProjectDetailTest, FirstOpeningCreatesTheThreeTablesInOrderAndTheProjectNode)
{
    ProjectDetailLogic logic(db, kProject);
    const drawings::ProjectHeader project = logic.Open();
    EXPECT_TRUE(project.found);
    EXPECT_EQ(project.name, "Tower " + kKouzou);

    const std::vector<std::string> made = changes();
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[0].rfind("CREATE TABLE ZPRJ_7 (", 0), 0u);
    EXPECT_EQ(made[1].rfind("CREATE TABLE ZMN_7 (", 0), 0u);
    EXPECT_EQ(made[2].rfind("CREATE TABLE REV_7 (", 0), 0u);
    EXPECT_EQ(made[3], storage::JoinStatement(
                           storage::InsertRowLines("ZPRJ_7", {"N", "NAME", "MN", "PARENT_N"},
                                                   {"0", "'Tower " + kKouzou + "'", "3", "0"})));
    // The order they were sent in: the tree table and its root before the others.
    EXPECT_LT(std::find(sent.begin(), sent.end(), made[3]) - sent.begin(),
              std::find(sent.begin(), sent.end(), made[1]) - sent.begin());
    EXPECT_EQ(root(), (Row{"0", "Tower " + kKouzou, "3", "0"}));

    sent.clear();
    ProjectDetailLogic(db, kProject).Open();
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(rows("ZPRJ_7", 4).size(), 1u);
}

TEST_F(ProjectDetailTest, TheProjectNodeFollowsARenamedProjectButNotAChangedMemberAlone)
{
    ProjectDetailLogic(db, kProject).Open();
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "MN=4", "N=7"));
    ProjectDetailLogic(db, kProject).Open();
    EXPECT_EQ(root(), (Row{"0", "Tower " + kKouzou, "3", "0"}));

    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "PRNAME='Bridge',MN=5", "N=7"));
    sent.clear();
    ProjectDetailLogic(db, kProject).Open();
    EXPECT_EQ(changes(), (std::vector<std::string>{storage::JoinStatement(
                             storage::UpdateSetLines("ZPRJ_7", "NAME='Bridge',MN=5", "N=0"))}));
    EXPECT_EQ(root(), (Row{"0", "Bridge", "5", "0"}));
}

TEST_F(ProjectDetailTest, AProjectWithAQuoteInItsNameOrNoMemberStillGetsItsProjectNode)
{
    addProject(8, "O'Neil", "");
    ProjectDetailLogic(db, 8).Open();
    EXPECT_EQ(rows("ZPRJ_8", 4), (std::vector<Row>{{"0", "O'Neil", "", "0"}}));

    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "PRNAME='O''Hara'", "N=8"));
    ProjectDetailLogic(db, 8).Open();
    EXPECT_EQ(rows("ZPRJ_8", 4), (std::vector<Row>{{"0", "O'Hara", "", "0"}}));
}

TEST_F(ProjectDetailTest, AProjectThatIsGoneGetsNothingWrittenAndShowsWhatIsThere)
{
    ProjectDetailLogic gone(db, 9);
    EXPECT_FALSE(gone.Open().found);
    EXPECT_TRUE(changes().empty());
    EXPECT_FALSE(db.TableExists("ZPRJ_9"));
    drawings::TreeContent tree = gone.ReadTree(gone.ReadProject().name);
    EXPECT_EQ(tree.projectText, " :0");
    EXPECT_TRUE(tree.rows.empty());

    // Tables left from before the project was deleted keep their project node.
    ProjectDetailLogic(db, kProject).Open();
    addTreeRow(1, "kept", 0);
    ASSERT_TRUE(db.DeleteRows("ZPROJECT", "N=7"));
    sent.clear();
    ProjectDetailLogic logic(db, kProject);
    EXPECT_FALSE(logic.Open().found);
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(root()[1], "Tower " + kKouzou);
    tree = logic.ReadTree("");
    ASSERT_EQ(tree.rows.size(), 1u);
    EXPECT_EQ(tree.rows[0].text, "kept :1");
}

TEST_F(ProjectDetailTest, WithoutAConnectionNothingIsReadOrWritten)
{
    db.DisconnectDatabase();
    ProjectDetailLogic logic(db, kProject);
    EXPECT_FALSE(logic.Open().found);
    const drawings::TreeContent tree = logic.ReadTree(logic.ReadProject().name);
    EXPECT_EQ(tree.projectText, " :0");
    EXPECT_TRUE(tree.rows.empty());
    EXPECT_EQ(logic.LoadMemberItems(), (std::vector<std::string>{Cp932(texts::kNoMember)}));
    const drawings::DrawingNodeInfo info = logic.ReadDrawingNode(1);
    EXPECT_EQ(info.fields[0], "");
    EXPECT_TRUE(info.revisions.empty());
    EXPECT_TRUE(sent.empty());
}

TEST_F(ProjectDetailTest, TheTreeHoldsEveryPositiveRowInNumberOrderWithItsPlace)
{
    ProjectDetailLogic logic(db, kProject);
    logic.Open();
    addTreeRow(4, "late child", 9);  // parent comes later
    addTreeRow(2, kHyou, 0);
    addTreeRow(9, "B", 2);
    addTreeRow(3, "A", 2);
    addTreeRow(-1, "negative", 0);
    sent.clear();
    const drawings::TreeContent tree = logic.ReadTree("Tower");
    EXPECT_EQ(tree.projectText, "Tower :0");
    ASSERT_EQ(tree.rows.size(), 4u);
    EXPECT_EQ(tree.rows[0].text, kHyou + " :2");
    EXPECT_EQ(tree.rows[1].text, "A :3");
    EXPECT_EQ(tree.rows[2].text, "late child :4");
    EXPECT_EQ(tree.rows[3].text, "B :9");
    EXPECT_EQ(tree.parents, (std::vector<int>{kProjectNode, 0, kProjectNode, 0}));
    EXPECT_EQ(sent,
              (std::vector<std::string>{
                  storage::JoinStatement(storage::SelectAllWhereLines("ZPRJ_7", "N>0")),
                  storage::JoinStatement(storage::SelectOrderedLines("*", "ZPRJ_7", "N>0", "N"))}));
}

TEST_F(ProjectDetailTest, ATreeTableWrittenByAnotherProgramIsReadWhole)
{
    // No UNIQUE key: duplicate numbers, NULL names and parents, cycles.
    ASSERT_TRUE(db.ExecuteDdl(
        {"CREATE TABLE ZPRJ_7 (N INTEGER, NAME VARCHAR(32), MN INTEGER,", "  PARENT_N INTEGER);"}));
    ProjectDetailLogic logic(db, kProject);
    logic.Open();
    addTreeRow(1, "one", 1);
    addTreeRow(2, "two", 3);
    addTreeRow(3, "three", 2);
    addTreeRow(3, "three again", 2);
    ASSERT_TRUE(db.InsertRow("ZPRJ_7", {"N"}, {"5"}));
    const drawings::TreeContent tree = logic.ReadTree("P");
    ASSERT_EQ(tree.rows.size(), 5u);
    EXPECT_EQ(tree.rows[4].text, " :5");
    EXPECT_EQ(tree.parents[0], kProjectNode);
    EXPECT_EQ(tree.parents[1], kProjectNode);
    EXPECT_EQ(tree.parents[2], 1);
    EXPECT_EQ(tree.parents[3], 1);
    EXPECT_EQ(tree.parents[4], kProjectNode);
}

TEST_F(ProjectDetailTest, MemberItemsListEveryMemberAndFindTheStoredOne)
{
    ProjectDetailLogic logic(db, kProject);
    const std::string none = Cp932(texts::kNoMember);
    EXPECT_EQ(logic.LoadMemberItems(), (std::vector<std::string>{none}));
    ASSERT_TRUE(storage::CreateMemberTable(db));
    for (const auto& [n, name] : {std::pair{12, kHyou}, {3, std::string("Sato")}})
        ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"},
                                 {std::to_string(n), "1", text::SqlText(name)}));
    const std::vector<std::string> items = logic.LoadMemberItems();
    EXPECT_EQ(items, (std::vector<std::string>{none, "3:Sato", "12:" + kHyou}));
    EXPECT_EQ(drawings::FindMemberItem(items, "12"), 2);
    EXPECT_EQ(drawings::FindMemberItem(items, "3"), 1);
    EXPECT_EQ(drawings::FindMemberItem(items, "4"), 0);  // deleted member
    EXPECT_EQ(drawings::FindMemberItem(items, ""), 0);
    EXPECT_EQ(drawings::FindMemberItem(items, "0"), 0);
}

TEST_F(ProjectDetailTest, TheProjectNodeShowsItsPeriodsDueLineTitlesAndMemos)
{
    ASSERT_TRUE(db.UpdateRow("ZPROJECT",
                             {"MTITLE", "STITLE", "MEMO1", "MEMO2", "MEMO3", "NOUKI", "PDATE1",
                              "PDATE2", "DATE1", "DATE2", "NDATE", "ENDF"},
                             {"'T'", "'S'", "'M1'", "'M2'", "'M3'", text::SqlText(kHyou),
                              "'20240101'", "'20240301'", "'20240105'", "NULL", "'20240310'", "0"},
                             "N=7"));
    ProjectDetailLogic logic(db, kProject);
    const std::string join = Cp932(texts::kPeriodJoin);
    const std::string due =
        kHyou + Cp932(texts::kDeliveryDate) + "20240310" + Cp932(texts::kStateSeparator);
    EXPECT_EQ(
        logic.ReadProjectNode(),
        (drawings::ProjectNodeFields{"20240101" + join + "20240301", "20240105" + join,
                                     due + Cp932(texts::kNotDone), "T", "S", "M1", "M2", "M3"}));
    // Done for any ENDF but exactly 0, an empty one included.
    for (const char* endf : {"NULL", "1", "2"}) {
        ASSERT_TRUE(db.UpdateSet("ZPROJECT", std::string("ENDF=") + endf, "N=7"));
        EXPECT_EQ(logic.ReadProjectNode()[2], due + Cp932(texts::kDone)) << endf;
    }
}

TEST_F(ProjectDetailTest, ADrawingNodeShowsItsRecordMembersAndRevisionsInOrder)
{
    ProjectDetailLogic logic(db, kProject);
    logic.Open();
    // Every text column holds its own name, so a column read into the wrong box shows.
    const std::vector<std::string> columns{"N",      "FILE_NAME", "PATH_NAME", "ZUMENN", "MTITLE",
                                           "STITLE", "MEMO1",     "MEMO2",     "MEMO3",  "MN",
                                           "DDATE",  "UDATE",     "KN",        "KDATE",  "AN",
                                           "ADATE",  "PN",        "PDATE",     "RN",     "RDATE"};
    std::vector<std::string> values;
    for (size_t i = 0; i < columns.size(); ++i)
        values.push_back(columns[i] == "N" || columns[i].size() == 2
                             ? std::to_string(i)
                             : "'" + columns[i].substr(0, 8) + "'");
    values[0] = "4";
    ASSERT_TRUE(db.InsertRow("ZMN_7", columns, values));
    for (const auto& row : std::vector<std::vector<std::string>>{
             {"8", "4", "'second'", "2", "'20240202'"},
             {"3", "4", text::SqlText(kKouzou), "1", "'20240101'"},
             {"5", "6", "'other drawing'", "1", "'20240303'"}})
        ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"}, row));

    const drawings::DrawingNodeInfo info = logic.ReadDrawingNode(4);
    EXPECT_EQ(info.fields,
              (std::array<std::string, 14>{"FILE_NAM", "PATH_NAM", "ZUMENN", "MTITLE", "STITLE",
                                           "MEMO1", "MEMO2", "MEMO3", "DDATE", "UDATE", "KDATE",
                                           "ADATE", "PDATE", "RDATE"}));
    EXPECT_EQ(info.members, (std::array<std::string, 5>{"9", "12", "14", "16", "18"}));
    EXPECT_EQ(info.revisions,
              (std::vector<std::string>{"20240101(1):" + kKouzou, "20240202(2):second"}));

    const drawings::DrawingNodeInfo missing = logic.ReadDrawingNode(5);
    EXPECT_EQ(missing.fields, (std::array<std::string, 14>{}));
    EXPECT_EQ(missing.members, (std::array<std::string, 5>{}));
    EXPECT_TRUE(missing.revisions.empty());
}
