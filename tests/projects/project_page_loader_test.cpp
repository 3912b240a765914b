#include "projects/project_page_loader.h"

#include <gtest/gtest.h>

#include "project_fixture.h"

using projects::FilterCondition;
using projects::ProjectPageLoader;
using projects::SortOrderText;

namespace {

class ProjectPageLoaderTest : public testing_support::ProjectDatabaseTest {
protected:
    // The N of the first and last row on the page, and how many rows it holds.
    struct Page {
        std::string first;
        std::string last;
        size_t rows = 0;
        bool operator==(const Page&) const = default;
    };

    static Page PageOf(const ProjectPageLoader& loader)
    {
        const auto& rows = loader.rows();
        if (rows.empty())
            return {};
        return {rows.front().number, rows.back().number, rows.size()};
    }

    static Page Rows(int first, int last)
    {
        return {std::to_string(first), std::to_string(last), size_t(last - first + 1)};
    }

    void AddTitled(int n, const std::string& title)
    {
        ASSERT_TRUE(
            db.InsertRow("ZPROJECT", {"N", "MTITLE"},
                         {std::to_string(n), title.empty() ? "NULL" : text::SqlText(title)}));
    }

    std::vector<std::string> Numbers(const ProjectPageLoader& loader)
    {
        std::vector<std::string> n;
        for (const auto& row : loader.rows())
            n.push_back(row.number);
        return n;
    }

    ProjectPageLoader loader{db};
};

TEST_F(ProjectPageLoaderTest, SendsTheListStatementExactly)
{
    FillProjects(3);
    loader.Refresh();
    EXPECT_EQ(lastSent(), "SELECT * FROM ZPROJECT\r\n  ORDER BY N;\r\n");

    loader.SelectSort(7);
    loader.SelectFilter(2, "abc");
    EXPECT_EQ(lastSent(),
              "SELECT * FROM ZPROJECT\r\n  WHERE MTITLE LIKE '%abc%'\r\n"
              "  ORDER BY NOUKI DESC;\r\n");
    EXPECT_FALSE(db.QueryOpen());
}

TEST_F(ProjectPageLoaderTest, SortTextsByPositionAndNothingForOtherPositions)
{
    const char* expected[] = {"N",           "N DESC", "PRNAME",     "PRNAME DESC", "MTITLE",
                              "MTITLE DESC", "NOUKI",  "NOUKI DESC", "NDATE",       "NDATE DESC"};
    for (int i = 0; i < projects::kSortItemCount; ++i)
        EXPECT_EQ(SortOrderText(i), expected[i]);

    FillProjects(3);
    loader.SelectSort(1);
    EXPECT_EQ(Numbers(loader), (std::vector<std::string>{"3", "2", "1"}));
    sent.clear();
    loader.SelectSort(-1);
    loader.SelectSort(10);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(loader.order(), "N DESC");
}

TEST_F(ProjectPageLoaderTest, SortingStartsAgainAtTheFirstRowAndOrdersNoukiAsText)
{
    FillProjects(150);  // NOUKI "0150" for N 1 down to "0001" for N 150
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "NOUKI='9'", "N=1"));
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "NOUKI='10'", "N=2"));
    loader.First();
    loader.Next();
    loader.SelectSort(6);
    EXPECT_EQ(loader.firstRow(), 1);
    EXPECT_EQ(PageOf(loader), (Page{"150", "51", 100}));  // "0001" .. "0100"
    loader.SelectSort(7);
    EXPECT_EQ(Numbers(loader)[0], "1");  // "9" sorts after "10" as text
    EXPECT_EQ(Numbers(loader)[1], "2");
}

TEST_F(ProjectPageLoaderTest, FilterTextsPlaceTheTypedTextInOneLiteral)
{
    EXPECT_EQ(FilterCondition(0, "abc"), "");
    EXPECT_EQ(FilterCondition(1, "abc"), "PRNAME LIKE '%abc%'");
    EXPECT_EQ(FilterCondition(2, "abc"), "MTITLE LIKE '%abc%'");
    EXPECT_EQ(FilterCondition(3, "abc"), "NOUKI LIKE '%abc%'");
    EXPECT_EQ(FilterCondition(4, "abc"), "NDATE LIKE '%abc%'");
    EXPECT_EQ(FilterCondition(2, ""), "");  // an empty text counts as no filter
    EXPECT_EQ(FilterCondition(2, "O'Neil"), "MTITLE LIKE '%O''Neil%'");
    EXPECT_EQ(FilterCondition(2, "%' OR '1'='1"), "MTITLE LIKE '%%'' OR ''1''=''1%'");
}

TEST_F(ProjectPageLoaderTest, FilterMatchesQuotesAsTypedAndKeepsWildcards)
{
    AddTitled(1, "O'Neil house");
    AddTitled(2, "ABC");
    AddTitled(3, "AXC");
    AddTitled(4, "AC");
    AddTitled(5, "");  // NULL title
    AddTitled(6, "say \"hi\"");
    AddTitled(7, "x%' OR '1'='1 y");
    AddTitled(8, testing_support::Sj("東京都港区"));

    loader.SelectFilter(2, "O'Neil");
    EXPECT_EQ(Numbers(loader), std::vector<std::string>{"1"});
    loader.SelectFilter(2, "\"hi\"");
    EXPECT_EQ(Numbers(loader), std::vector<std::string>{"6"});
    loader.SelectFilter(2, "A_C");
    EXPECT_EQ(Numbers(loader), (std::vector<std::string>{"2", "3"}));
    loader.SelectFilter(2, "%");
    EXPECT_EQ(loader.rows().size(), 7u);  // every title but the NULL one
    loader.SelectFilter(2, testing_support::Sj("港"));
    EXPECT_EQ(Numbers(loader), std::vector<std::string>{"8"});

    // The crafted text is only text: it matches the one title that holds it.
    loader.SelectFilter(2, "%' OR '1'='1");
    EXPECT_EQ(Numbers(loader), std::vector<std::string>{"7"});
    ASSERT_TRUE(db.DeleteRows("ZPROJECT", "N=7"));
    loader.Refresh();
    EXPECT_TRUE(loader.rows().empty());

    // The filter stays through paging until the next selection; an empty text removes it.
    loader.SelectFilter(1, "");
    EXPECT_EQ(loader.filter(), "");
    EXPECT_EQ(loader.rows().size(), 7u);
}

TEST_F(ProjectPageLoaderTest, EmptyTableGivesEmptyPagesThatStayAtTheFirstRow)
{
    loader.Reset();
    loader.Refresh();
    EXPECT_TRUE(loader.rows().empty());
    EXPECT_EQ(loader.nextFirstRow(), 1);
    loader.Next();
    EXPECT_EQ(loader.firstRow(), 1);
    loader.Previous();
    EXPECT_EQ(loader.firstRow(), 1);
    EXPECT_TRUE(loader.rows().empty());
}

TEST_F(ProjectPageLoaderTest, ExactlyOnePageThenAnEmptyPageThatHolds)
{
    FillProjects(100);
    loader.First();
    EXPECT_EQ(PageOf(loader), Rows(1, 100));
    EXPECT_EQ(loader.nextFirstRow(), 101);
    loader.Next();
    EXPECT_EQ(loader.firstRow(), 101);
    EXPECT_TRUE(loader.rows().empty());
    loader.Next();
    EXPECT_EQ(loader.firstRow(), 101);
    loader.Previous();
    EXPECT_EQ(PageOf(loader), Rows(1, 100));
}

TEST_F(ProjectPageLoaderTest, PagesThroughTwoHundredFiftyAndGoesBackUnaligned)
{
    FillProjects(250);
    loader.First();
    EXPECT_EQ(PageOf(loader), Rows(1, 100));
    loader.Next();
    EXPECT_EQ(PageOf(loader), Rows(101, 200));
    loader.Next();
    EXPECT_EQ(PageOf(loader), Rows(201, 250));
    EXPECT_EQ(loader.nextFirstRow(), 251);
    loader.Next();
    EXPECT_EQ(loader.firstRow(), 251);
    EXPECT_TRUE(loader.rows().empty());
    EXPECT_EQ(loader.nextFirstRow(), 251);
    loader.Previous();
    EXPECT_EQ(PageOf(loader), Rows(151, 250));
    loader.Previous();
    EXPECT_EQ(PageOf(loader), Rows(51, 150));
    loader.Previous();
    EXPECT_EQ(PageOf(loader), Rows(1, 100));  // below 1 becomes 1
    loader.Previous();
    EXPECT_EQ(loader.firstRow(), 1);
    loader.Next();
    loader.Next();
    loader.Previous();
    EXPECT_EQ(PageOf(loader), Rows(101, 200));
    loader.First();
    EXPECT_EQ(PageOf(loader), Rows(1, 100));
}

TEST_F(ProjectPageLoaderTest, RefreshRereadsTheSamePlaceAndRowsCarryTheirColumns)
{
    FillProjects(120);
    loader.First();
    loader.Next();  // rows 101 .. 120
    ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "PRNAME"}, {"121", "'late'"}));
    loader.Refresh();
    EXPECT_EQ(PageOf(loader), Rows(101, 121));
    const projects::ProjectListRow& r = loader.rows()[0];
    EXPECT_EQ(r.name, "P0101");
    EXPECT_EQ(r.title, "T0101");
    EXPECT_EQ(r.due, "0020");
    EXPECT_EQ(r.delivered, "20240601");
    EXPECT_FALSE(r.done);
    EXPECT_TRUE(loader.rows()[1].done);
    EXPECT_FALSE(loader.rows().back().done);  // ENDF NULL reads as 0
}

TEST_F(ProjectPageLoaderTest, FailingLoadLeavesNoRowsAndNoPageMove)
{
    FillProjects(120);
    loader.First();
    db.DisconnectDatabase();
    loader.Next();
    EXPECT_EQ(loader.firstRow(), 101);
    EXPECT_TRUE(loader.rows().empty());
    EXPECT_EQ(loader.nextFirstRow(), 101);
}

}  // namespace
