#include "search/drawing_search.h"

#include <gtest/gtest.h>

#include "search_fixture.h"
#include "text/cp932.h"

using search::DateKind;
using search::Preset;
using search::ProjectScope;
using search::Role;
using search::SearchCriteria;
using search::StampState;
using testing_support::SearchTest;
using testing_support::Sjis;

namespace {

using Keys = std::vector<std::string>;

class DrawingSearchTest : public SearchTest {
protected:
    // Project 1 (open) and 2 (done), drawings at every stage of the workflow.
    void addOffice()
    {
        addProject(1, Sjis("港北集合住宅"), "0");
        addProject(2, Sjis("大阪支店"), "1");
        addDrawing(1, 1, Sjis("意匠図"));  // a group node with no stamps
        addDrawing(1, 2, "A-101.jww",
                   {{"FILE_NAME", "A-101.jww"},
                    {"ZUMENN", Sjis("Ａ－１０１")},
                    {"MN", "3"},
                    {"DDATE", "20240105"}});
        addDrawing(1, 3, "A-102.jww",
                   {{"ZUMENN", "A-102"}, {"MN", "4"}, {"KN", "3"}, {"KDATE", "20240210"}});
        addDrawing(1, 4, "A-103.jww",
                   {{"MTITLE", Sjis("立面図")},
                    {"MN", "3"},
                    {"KDATE", "20240210"},
                    {"AN", "5"},
                    {"ADATE", "20240212"}});
        addDrawing(2, 1, "S-201.jww",
                   {{"MEMO2", Sjis("構造・港北と共通")},
                    {"MN", "3"},
                    {"KDATE", "20230301"},
                    {"ADATE", "20230302"},
                    {"PN", "3"},
                    {"PDATE", "20230303"},
                    {"RN", "4"},
                    {"RDATE", "20230401"}});
    }
};

}  // namespace

TEST_F(DrawingSearchTest, EachCriterionNarrowsTheDrawingsOfEveryProject)
{
    addOffice();
    SearchCriteria c;
    EXPECT_EQ(found(c), (Keys{"1:1", "1:2", "1:3", "1:4", "2:1"}));

    c.text = Sjis("港北");  // the project name is not searched, a memo is
    EXPECT_EQ(found(c), (Keys{"2:1"}));
    c.text = "a-10 JWW";
    EXPECT_EQ(found(c), (Keys{"1:2", "1:3", "1:4"}));
    c.text = Sjis("意匠");  // the node name
    EXPECT_EQ(found(c), (Keys{"1:1"}));

    c = {};
    c.scope = ProjectScope::Done;
    EXPECT_EQ(found(c), (Keys{"2:1"}));
    c.scope = ProjectScope::Open;
    c.projectNo = 2;
    EXPECT_EQ(found(c), Keys{});
    c.scope = ProjectScope::All;
    EXPECT_EQ(found(c), (Keys{"2:1"}));

    c = {};
    c.memberNo = 3;
    EXPECT_EQ(found(c), (Keys{"1:2", "1:3", "1:4", "2:1"}));
    c.role = Role::Checker;
    EXPECT_EQ(found(c), (Keys{"1:3"}));
    c.role = Role::Issuer;
    EXPECT_EQ(found(c), (Keys{"2:1"}));

    c = {};
    c.dateKind = DateKind::Checked;
    c.dateFrom = "20240201";
    EXPECT_EQ(found(c), (Keys{"1:3", "1:4"}));
    c.dateFrom.clear();
    c.dateTo = "20231231";
    EXPECT_EQ(found(c), (Keys{"2:1"}));
    c.dateTo.clear();  // a kind alone asks for drawings that have that date
    EXPECT_EQ(found(c), (Keys{"1:3", "1:4", "2:1"}));

    auto inState = [this](StampState state) {
        SearchCriteria s;
        s.state = state;
        return found(s);
    };
    EXPECT_EQ(inState(StampState::Unchecked), (Keys{"1:1", "1:2"}));
    EXPECT_EQ(inState(StampState::CheckedNotApproved), (Keys{"1:3"}));
    EXPECT_EQ(inState(StampState::ApprovedNotIssued), (Keys{"1:4"}));
    EXPECT_EQ(inState(StampState::Issued), (Keys{"2:1"}));
    EXPECT_EQ(inState(StampState::Revised), (Keys{"2:1"}));

    EXPECT_EQ(found(search::PresetCriteria(Preset::MineUnchecked, 3)), (Keys{"1:2"}));
    EXPECT_EQ(found(search::PresetCriteria(Preset::CheckedNotApproved, 3)), (Keys{"1:3"}));
    EXPECT_EQ(found(search::PresetCriteria(Preset::ApprovedNotIssued, 3)), (Keys{"1:4"}));

    const std::vector<search::SearchHit> hits = find(search::PresetCriteria(Preset::None, 0));
    ASSERT_EQ(hits.size(), 5u);
    EXPECT_EQ(hits[4].projectName, Sjis("大阪支店"));
    EXPECT_EQ(hits[4].issued, "20230303");
    EXPECT_EQ(hits[1].number, Sjis("Ａ－１０１"));
    EXPECT_EQ(hits[0].fileState, search::FileState::None);
    EXPECT_EQ(hits[1].fileState, search::FileState::Pending);
}

TEST_F(DrawingSearchTest, ProjectsWithoutReadableTablesAreSkippedAndNothingIsWritten)
{
    addProject(1, "one");
    addProject(2, "no tables", "0", false);
    addProject(3, "tree only", "0", false);
    ASSERT_TRUE(storage::CreateNameTreeTable(db, "ZPRJ_3"));
    addProject(4, "four");
    // Another program's table of the same name, not laid out as ours.
    addProject(5, "foreign", "0", false);
    ASSERT_TRUE(storage::CreateNameTreeTable(db, "ZPRJ_5"));
    ASSERT_TRUE(db.ExecuteDdl({"CREATE TABLE ZMN_5 (N INTEGER, OTHER VARCHAR(8))"}));
    ASSERT_TRUE(db.InsertRow("ZPRJ_5", {"N", "NAME", "PARENT_N"}, {"1", "'x'", "0"}));
    addProject(6, "six");
    addProject(7, "seven");
    for (int p : {1, 4, 6, 7})
        addDrawing(p, 1, "d");
    // Rows as another program may leave them: no drawing row for node 2, NULLs
    // and a check date that is no date (which counts as none).
    ASSERT_TRUE(db.InsertRow("ZPRJ_4", {"N", "NAME"}, {"2", "NULL"}));
    addDrawing(4, 3, "odd", {{"KDATE", "2024-1-1"}, {"MN", "0"}});
    sent.clear();

    search::DrawingSearch drawings(db, SearchCriteria{});
    std::vector<search::SearchHit> hits = drawings.All();
    Keys keys;
    for (const auto& h : hits)
        keys.push_back(std::to_string(h.projectNo) + ":" + std::to_string(h.nodeNo));
    EXPECT_EQ(keys, (Keys{"1:1", "4:1", "4:2", "4:3", "6:1", "7:1"}));
    EXPECT_EQ(drawings.ProjectsSkipped(), 3);
    EXPECT_FALSE(db.TransactionActive());  // the search ends its reading
    for (const std::string& statement : sent)
        EXPECT_TRUE(statement.rfind("SELECT ", 0) == 0 || statement.rfind("Select ", 0) == 0)
            << statement;
    EXPECT_FALSE(db.TableExists("ZMN_2"));
    EXPECT_FALSE(db.TableExists("ZMN_3"));

    // A typed text is matched here, never placed in a statement.
    SearchCriteria hostile;
    hostile.text = "x'%_\\:\x01\"" + std::string(300, 'q');
    sent.clear();
    EXPECT_TRUE(found(hostile).empty());
    for (const std::string& statement : sent)
        EXPECT_EQ(statement.find("x'%_"), std::string::npos) << statement;

    SearchCriteria unchecked;
    unchecked.state = StampState::Unchecked;
    unchecked.projectNo = 4;
    EXPECT_EQ(found(unchecked), (Keys{"4:1", "4:2", "4:3"}));
    unchecked.projectNo = 2;
    search::DrawingSearch missing(db, unchecked);
    EXPECT_TRUE(missing.All().empty());
    EXPECT_EQ(missing.ProjectsSkipped(), 1);
}

TEST_F(DrawingSearchTest, NothingToSearchWithoutConnectionOrProjectTable)
{
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE ZPROJECT"}));
    EXPECT_TRUE(find({}).empty());
    db.DisconnectDatabase();
    search::DrawingSearch drawings(db, SearchCriteria{});
    drawings.Start();
    EXPECT_TRUE(drawings.Finished());
    EXPECT_EQ(drawings.ProjectCount(), 0);
}
