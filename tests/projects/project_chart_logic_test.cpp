#include "projects/project_chart_logic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "project_fixture.h"
#include "projects/project_chart_texts.h"

using projects::ChartBuildOutcome;
using projects::ChartCondition;
using projects::ProjectChartLogic;
using testing_support::Sj;

namespace {

constexpr int kUnfinished = projects::kChartUnfinished;
constexpr int kFinished = projects::kChartFinished;
constexpr int kBoth = projects::kChartBoth;

QDateTime Day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

class ProjectChartLogicTest : public testing_support::ProjectDatabaseTest {
protected:
    // A project with the given dates ("" for NULL) and done flag ("NULL" allowed).
    void Add(int n, const std::string& pdate1, const std::string& pdate2, const std::string& date1,
             const std::string& date2, const std::string& ndate, const std::string& endf = "0",
             const std::string& name = "")
    {
        auto value = [](const std::string& v) {
            return v.empty() ? std::string("NULL") : text::SqlText(v);
        };
        ASSERT_TRUE(db.InsertRow(
            "ZPROJECT",
            {"N", "MN", "CN", "PRNAME", "PDATE1", "PDATE2", "DATE1", "DATE2", "NDATE", "ENDF"},
            {std::to_string(n), "0", "0",
             text::SqlText(name.empty() ? "P" + std::to_string(n) : name), value(pdate1),
             value(pdate2), value(date1), value(date2), value(ndate), endf}));
    }

    std::vector<int> Numbers(const ChartBuildOutcome& outcome)
    {
        std::vector<int> numbers;
        for (const projects::ChartRow& row : outcome.rows)
            numbers.push_back(row.number);
        return numbers;
    }

    std::vector<int> Charted(std::string_view start, std::string_view end, int item)
    {
        return Numbers(logic.Build(start, end, item));
    }

    ProjectChartLogic logic{db};
};

TEST(ChartConditionTest, BuildsTheRangeAndDoneFlagTextPieceByPiece)
{
    EXPECT_EQ(ChartCondition("", "", kUnfinished),
              "( (PDATE1 IS NOT NULL) AND (PDATE1 >= '00000000') AND (PDATE1 <= '99999999') "
              "OR (PDATE2 IS NOT NULL) AND (PDATE2 >= '00000000') AND (PDATE2 <= '99999999') "
              "OR (DATE1 IS NOT NULL) AND (DATE1 >= '00000000') AND (DATE1 <= '99999999') "
              "OR (DATE2 IS NOT NULL) AND (DATE2 >= '00000000') AND (DATE2 <= '99999999') "
              "OR (NDATE IS NOT NULL) AND (NDATE >= '00000000') AND (NDATE <= '99999999') "
              ")AND (ENDF = 0)");
    EXPECT_EQ(ChartCondition("2024", "20241231", kFinished),
              "( (PDATE1 IS NOT NULL) AND (PDATE1 >= '2024') AND (PDATE1 <= '20241231') "
              "OR (PDATE2 IS NOT NULL) AND (PDATE2 >= '2024') AND (PDATE2 <= '20241231') "
              "OR (DATE1 IS NOT NULL) AND (DATE1 >= '2024') AND (DATE1 <= '20241231') "
              "OR (DATE2 IS NOT NULL) AND (DATE2 >= '2024') AND (DATE2 <= '20241231') "
              "OR (NDATE IS NOT NULL) AND (NDATE >= '2024') AND (NDATE <= '20241231') "
              ")AND (ENDF = 1)");

    // 双方 (and an index of no item) adds nothing after the closing parenthesis.
    const std::string both = ChartCondition("", "", kBoth);
    EXPECT_TRUE(both.ends_with("(NDATE <= '99999999') )")) << both;
    EXPECT_EQ(ChartCondition("", "", -1), both);

    // Blanks alone count as empty; any other text goes in exactly as typed.
    EXPECT_EQ(ChartCondition(" \t", "  ", kBoth), both);
    EXPECT_NE(ChartCondition(" 2024", "", kBoth).find("(PDATE1 >= ' 2024')"), std::string::npos);
    // A quote is doubled inside the literal: the structure of the statement stays.
    const std::string quoted = ChartCondition("2024' OR 1=1 --", "x'", kBoth);
    EXPECT_NE(quoted.find("(NDATE >= '2024'' OR 1=1 --') AND (NDATE <= 'x''') "),
              std::string::npos);
}

TEST_F(ProjectChartLogicTest, ChartsAtMostOneHundredProjectsInNumberOrder)
{
    FillProjects(150);  // each with a delivery date in 2024, every other one done
    sent.clear();
    const ChartBuildOutcome outcome = logic.Build("", "", kBoth);
    ASSERT_EQ(outcome.rows.size(), 100u);
    EXPECT_TRUE(outcome.message.isEmpty());
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(outcome.rows[i].row, i + 1);
        EXPECT_EQ(outcome.rows[i].number, i + 1);
    }
    EXPECT_EQ(outcome.rows[41].label, "P0042");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "SELECT * \r\n   FROM ZPROJECT \r\n   WHERE " +
                           ChartCondition("", "", kBoth) + " \r\n   ORDER BY N \r\n   ;\r\n");
    EXPECT_FALSE(db.QueryOpen());

    // The bar-click lookup: rows 1..100 only, rounded, whatever the number.
    EXPECT_EQ(logic.ProjectAtRow(1), 1);
    EXPECT_EQ(logic.ProjectAtRow(37.2), 37);
    EXPECT_EQ(logic.ProjectAtRow(100), 100);
    for (double outside :
         {0.0, 0.4, -3.0, 100.6, 101.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity()})
        EXPECT_EQ(logic.ProjectAtRow(outside), 0) << outside;

    // Undone only: odd numbers, still in ascending order and still cut at 100.
    ASSERT_TRUE(db.ExecuteDdl({"UPDATE ZPROJECT SET ENDF = 0 WHERE N > 120"}));
    const std::vector<int> undone = Charted("", "", kUnfinished);
    ASSERT_EQ(undone.size(), 90u);  // 60 odd of 1..119, then 121..150
    EXPECT_EQ(undone[59], 119);
    EXPECT_EQ(undone[60], 121);
    EXPECT_EQ(logic.ProjectAtRow(61), 121);
}

TEST_F(ProjectChartLogicTest, PicksProjectsByAnyOfTheirFiveDatesAsText)
{
    Add(1, "20231201", "20240110", "", "", "");
    Add(2, "", "", "20231231", "", "");  // an actual start alone still counts
    Add(3, "", "", "", "", "20250105");
    Add(4, "", "", "", "", "");  // no date at all
    Add(5, "", "", "", "", "", "0");
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "PDATE1='', NDATE=''", "N=5"));  // empty is no date
    Add(6, "", "", "", "20240229", "", "NULL");

    EXPECT_EQ(Charted("", "", kBoth), (std::vector<int>{1, 2, 3, 6}));
    // Four digits of a year as start: every date of that year and later.
    EXPECT_EQ(Charted("2024", "", kBoth), (std::vector<int>{1, 3, 6}));
    // The same as end: no date of that year (longer texts sort after it).
    EXPECT_EQ(Charted("", "2024", kBoth), (std::vector<int>{1, 2}));
    // Both ends belong to the range.
    EXPECT_EQ(Charted("20240110", "20240229", kBoth), (std::vector<int>{1, 6}));
    EXPECT_TRUE(Charted("20240111", "20240228", kBoth).empty());

    // Done flag: 0 and 1 only for their items; a NULL flag only for 双方.
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "ENDF=1", "N=3"));
    EXPECT_EQ(Charted("", "", kUnfinished), (std::vector<int>{1, 2}));
    EXPECT_EQ(Charted("", "", kFinished), (std::vector<int>{3}));
    EXPECT_EQ(Charted("", "", kBoth), (std::vector<int>{1, 2, 3, 6}));
}

TEST_F(ProjectChartLogicTest, QuoteInADateFieldIsComparedAsTextNotObeyed)
{
    Add(1, "", "", "", "", "20240301");
    Add(2, "", "", "", "", "20230301");
    // "'" sorts before every digit, so "2024'" starts where "2024" does.
    EXPECT_EQ(Charted("2024'", "", kBoth), (std::vector<int>{1}));
    EXPECT_TRUE(Charted("", "'", kBoth).empty());
    // A crafted text neither widens the match nor breaks the statement.
    EXPECT_EQ(Charted("2024' OR '1'='1", "", kBoth), (std::vector<int>{1}));
    EXPECT_EQ(Charted("", "2023z') OR (1=1", kBoth), (std::vector<int>{2}));
    EXPECT_FALSE(db.QueryOpen());
}

TEST_F(ProjectChartLogicTest, RowsCarryTheirPlannedActualAndDeliveryBars)
{
    Add(1, "20240101", "20240131", "20240105", "20240210", "20240215", "0", Sj("新館"));
    Add(2, "", "", "", "", "20240301");          // delivery only
    Add(3, "20240101", "", "", "20240110", "");  // halves of periods: no bar, still a row
    Add(4, "20240401", "20240401", "", "", "");  // a planned period of no length
    const ChartBuildOutcome outcome = logic.Build("", "", kBoth);
    ASSERT_EQ(outcome.rows.size(), 4u);

    const projects::ChartRow& full = outcome.rows[0];
    EXPECT_EQ(full.label, Sj("新館"));
    ASSERT_EQ(full.spans.size(), 3u);
    EXPECT_EQ(full.spans[0].start, Day(2024, 1, 1));
    EXPECT_EQ(full.spans[0].end, Day(2024, 1, 31));
    EXPECT_EQ(full.spans[0].rgb, storage::kAqua);
    EXPECT_EQ(full.spans[1].start, Day(2024, 1, 5));
    EXPECT_EQ(full.spans[1].end, Day(2024, 2, 10));
    EXPECT_EQ(full.spans[1].rgb, storage::kBlue);
    EXPECT_EQ(full.spans[2].start, Day(2024, 2, 15));
    EXPECT_EQ(full.spans[2].end, Day(2024, 2, 16));
    EXPECT_EQ(full.spans[2].rgb, storage::kGreen);

    ASSERT_EQ(outcome.rows[1].spans.size(), 1u);
    EXPECT_EQ(outcome.rows[1].spans[0].rgb, storage::kGreen);
    EXPECT_EQ(outcome.rows[1].spans[0].start.daysTo(outcome.rows[1].spans[0].end), 1);
    EXPECT_EQ(outcome.rows[2].row, 3);
    EXPECT_TRUE(outcome.rows[2].spans.empty());
    ASSERT_EQ(outcome.rows[3].spans.size(), 1u);
    EXPECT_EQ(outcome.rows[3].spans[0].start, outcome.rows[3].spans[0].end);
}

TEST_F(ProjectChartLogicTest, InvalidStoredDateEndsTheBuildAndKeepsTheBarsBeforeIt)
{
    Add(1, "", "", "", "", "20240301");
    Add(2, "20240101", "20240201", "20241301", "20241302", "20240401");  // month 13
    Add(3, "", "", "", "", "20240501");
    ChartBuildOutcome outcome = logic.Build("", "", kBoth);
    EXPECT_EQ(outcome.message, QString::fromUtf8(projects::chart_texts::kInvalidDateMessage));
    ASSERT_EQ(outcome.rows.size(), 2u);
    EXPECT_EQ(outcome.rows[0].spans.size(), 1u);
    ASSERT_EQ(outcome.rows[1].spans.size(), 1u);  // the planned bar came before the bad date
    EXPECT_EQ(outcome.rows[1].spans[0].rgb, storage::kAqua);
    EXPECT_EQ(logic.ProjectAtRow(2), 2);
    EXPECT_FALSE(db.QueryOpen());

    // Too short to be a date; the next build starts afresh and says it again.
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "DATE1=NULL, DATE2=NULL", "N=2"));
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "NDATE='2024051'", "N=1"));
    outcome = logic.Build("", "", kBoth);
    EXPECT_FALSE(outcome.message.isEmpty());
    ASSERT_EQ(outcome.rows.size(), 1u);
    EXPECT_TRUE(outcome.rows[0].spans.empty());

    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "NDATE='20240510'", "N=1"));
    outcome = logic.Build("", "", kBoth);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_EQ(outcome.rows.size(), 3u);
}

TEST_F(ProjectChartLogicTest, RejectedStatementChartsNothingSilently)
{
    Add(1, "", "", "", "", "20240301");
    ASSERT_EQ(Charted("", "", kBoth), (std::vector<int>{1}));
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE ZPROJECT"}));
    const ChartBuildOutcome outcome = logic.Build("", "", kBoth);
    EXPECT_TRUE(outcome.rows.empty());
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_FALSE(db.QueryOpen());
}

}  // namespace
