#include "drawings/drawing_chart_logic.h"

#include <gtest/gtest.h>

#include "storage/project_periods.h"

using drawings::DrawingBarsOf;
using storage::Row;

namespace {

QDateTime At(int y, int m, int d, double dayFraction = 0)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0)).addMSecs(std::llround(dayFraction * 86400000));
}

Row Drawing(std::string d, std::string u, std::string k, std::string a, std::string p,
            std::string r)
{
    Row row(20);
    row[10] = d;
    row[11] = u;
    row[13] = k;
    row[15] = a;
    row[17] = p;
    row[19] = r;
    return row;
}

TEST(DrawingChart, PeriodBarFromCreationToUpdate)
{
    auto bars = DrawingBarsOf(Drawing("20250101", "20250110", "", "", "", ""));
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].start, At(2025, 1, 1));
    EXPECT_EQ(bars[0].end, At(2025, 1, 10));
    EXPECT_EQ(bars[0].rgb, storage::kAqua);

    bars = DrawingBarsOf(Drawing("20250101", "20250101", "", "", "", ""));  // same day
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].end, At(2025, 1, 2));
    bars = DrawingBarsOf(Drawing("", "20250105", "", "", "", ""));  // update only
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].start, At(2025, 1, 5));
    EXPECT_TRUE(DrawingBarsOf(Drawing("", "", "", "", "", "")).empty());
    EXPECT_TRUE(DrawingBarsOf(Row(2)).empty());
}

TEST(DrawingChart, StampsOfOneDayAreSpreadOverIt)
{
    // All four on one day: quarters.
    auto bars = DrawingBarsOf(Drawing("", "", "20250301", "20250301", "20250301", "20250301"));
    ASSERT_EQ(bars.size(), 4u);
    const double expected[] = {0, 0.25, 0.5, 0.75};
    const std::uint32_t colours[] = {storage::kLime, storage::kRed, storage::kYellow,
                                     storage::kFuchsia};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bars[i].start, At(2025, 3, 1, expected[i])) << i;
        EXPECT_EQ(bars[i].end, At(2025, 3, 2, expected[i])) << i;
        EXPECT_EQ(bars[i].rgb, colours[i]) << i;
        EXPECT_EQ(bars[i].stage, static_cast<drawings::DrawingStage>(i + 1)) << i;  // after kPeriod
    }

    // Check, approval and issue on one day: thirds.
    bars = DrawingBarsOf(Drawing("", "", "20250301", "20250301", "20250301", ""));
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[1].start, At(2025, 3, 1, 0.33));
    EXPECT_EQ(bars[2].start, At(2025, 3, 1, 0.66));

    // Approval and issue on one day, check on another: issue half a day later.
    bars = DrawingBarsOf(Drawing("", "", "20250228", "20250301", "20250301", ""));
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].start, At(2025, 2, 28));
    EXPECT_EQ(bars[1].start, At(2025, 3, 1));
    EXPECT_EQ(bars[2].start, At(2025, 3, 1, 0.5));

    // Approval, issue and revision on one day after a check: thirds from the approval.
    bars = DrawingBarsOf(Drawing("", "", "20250228", "20250301", "20250301", "20250301"));
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_EQ(bars[2].start, At(2025, 3, 1, 0.33));
    EXPECT_EQ(bars[3].start, At(2025, 3, 1, 0.66));

    // Check and issue on one day with another approval day: not consecutive, not moved.
    bars = DrawingBarsOf(Drawing("", "", "20250301", "20250305", "20250301", ""));
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[2].start, At(2025, 3, 1));

    // Issue and revision alone on a day: revision half a day on.
    bars = DrawingBarsOf(Drawing("", "", "", "", "20250310", "20250310"));
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[1].start, At(2025, 3, 10, 0.5));

    // A stored date that is no day draws nothing and breaks nothing.
    bars = DrawingBarsOf(Drawing("2025013", "", "20250230", "", "", "20250311"));
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].rgb, storage::kFuchsia);
}

TEST(DrawingChart, RowAxisAndListCells)
{
    EXPECT_EQ(drawings::ChartRowAxisMaximum(300), 16);
    EXPECT_EQ(drawings::ChartRowAxisMaximum(40), 4);
    EXPECT_EQ(drawings::ChartRowAxisMaximum(0), 4);

    Row project(16);
    project[3] = "P";
    project[9] = "3 months";
    project[14] = "20250401";
    auto row = drawings::ProjectListRow(project);
    EXPECT_EQ(row[0], "0");
    EXPECT_EQ(row[1], "P");
    EXPECT_EQ(row[2],
              "\x94\x5B\x8A\xFA\x81\x46"
              "3 months");  // 納期：
    EXPECT_EQ(row[11], "20250401");
    EXPECT_EQ(row[12], "");

    Row drawing(20);
    drawing[1] = "a.jww";
    drawing[2] = "/d/";
    drawing[19] = "20250102";
    auto cells = drawings::DrawingListCells(drawing);
    EXPECT_EQ(cells[2], "a.jww");
    EXPECT_EQ(cells[3], "/d/");
    EXPECT_EQ(cells[12], "20250102");

    EXPECT_EQ(drawings::IndentedName("x", 1, 1), " x");
    EXPECT_EQ(drawings::IndentedName("x", 3, 1), "   x");
}

}  // namespace
