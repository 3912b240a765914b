#include "timeline/time_scale.h"

#include <gtest/gtest.h>

#include <climits>

#include "timeline/bar_index.h"
#include "timeline/row_axis.h"

using timeline::DayOf;
using timeline::TimeScale;

namespace {

double Day(int y, int m, int d)
{
    return DayOf(QDate(y, m, d));
}

TEST(TimeScale, ZoomKeepsTheDayUnderThePointerAndStaysWithinOneDayAndEverything)
{
    TimeScale scale;
    scale.SetWidth(1000);
    scale.Show(Day(2025, 1, 1), 365);
    const double under = scale.DayAt(300);
    scale.ZoomAt(300, 4);
    EXPECT_NEAR(scale.Days(), 365 / 4.0, 1e-9);
    EXPECT_NEAR(scale.DayAt(300), under, 1e-6);

    scale.ZoomAt(300, 1e12);  // a wheel flung hard
    EXPECT_EQ(scale.Days(), timeline::kMinimumDays);
    EXPECT_NEAR(scale.DayAt(300), under, 1);
    scale.ZoomAt(300, 1e-12);
    EXPECT_EQ(scale.FirstDay(), timeline::FirstShowableDay());
    EXPECT_EQ(scale.LastDay(), timeline::LastShowableDay());
    scale.Pan(-1e9);  // nothing further to show
    EXPECT_EQ(scale.FirstDay(), timeline::FirstShowableDay());

    // Moments are wall-clock days: six in the morning is a quarter of one.
    EXPECT_DOUBLE_EQ(DayOf(QDateTime(QDate(2024, 1, 10), QTime(6, 0))), Day(2024, 1, 10) + 0.25);
}

TEST(TimeScale, TheWidestSpanAtTheClosestZoomKeepsItsScrollBarInsideInt)
{
    TimeScale scale;
    scale.SetWidth(5000);
    const double first = Day(1899, 12, 30), last = Day(9999, 12, 31);
    timeline::FitDays(scale, first, last);
    EXPECT_LT(scale.FirstDay(), first);
    EXPECT_GT(scale.LastDay(), last);
    scale.Show(Day(5000, 6, 1), 1);
    const timeline::DayScrollRange range = timeline::ScrollRangeOver(scale, first, last);
    EXPECT_GT(range.page, 0);
    EXPECT_GT(range.maximum, 0);
    EXPECT_LT(range.maximum, INT_MAX - range.page);
    EXPECT_NEAR(range.originDay + range.value / range.unitsPerDay, scale.FirstDay(),
                1 / range.unitsPerDay);

    // One day alone still shows a day, and an empty chart its month.
    timeline::FitDays(scale, Day(2024, 4, 1), Day(2024, 4, 1));
    EXPECT_GE(scale.Days(), 1);
    timeline::ShowMonthOf(scale, QDate(2024, 2, 17));
    EXPECT_EQ(scale.FirstDay(), Day(2024, 2, 1));
    EXPECT_EQ(scale.Days(), 29);
}

TEST(RowAxis, WheelScrollsStayNearTheRowsWhilePagingIsLeftWhereItWent)
{
    using timeline::RowAxis;
    const std::optional<timeline::RowExtent> rows = timeline::RowExtent{1, 100};
    RowAxis axis{0, 11};
    axis = timeline::ScrolledWithin(axis, rows, -5);
    EXPECT_EQ(axis.minimum, 0);  // row 1 stays one row below the top
    axis = timeline::ScrolledWithin(axis, rows, 1000);
    EXPECT_EQ(axis.minimum, 90);  // the last row shows one row above the bottom
    EXPECT_EQ(axis.maximum, 101);
    // Paged past the end by the window's own buttons, the wheel brings it back only.
    axis = timeline::ScrolledWithin(RowAxis{200, 211}, rows, 1);
    EXPECT_EQ(axis.minimum, 200);
    axis = timeline::ScrolledWithin(RowAxis{200, 211}, rows, -1);
    EXPECT_EQ(axis.minimum, 199);
    EXPECT_EQ(timeline::ScrolledWithin(RowAxis{-1, 4}, std::nullopt, 3).minimum, -1);

    const std::vector<RowAxis> pages = timeline::PageAxes({0, 24}, 10);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].minimum, -0.5);
    EXPECT_EQ(pages[2].minimum, 19.5);
    EXPECT_EQ(pages[2].maximum, 24.5);
}

TEST(BarIndex, BadDatesAreDrawnSafelyAndRowsAreFoundByRange)
{
    const QDateTime may(QDate(2024, 5, 10), QTime(0, 0)), march(QDate(2024, 3, 1), QTime(0, 0));
    const auto backwards = timeline::Place(may, march, 2);
    ASSERT_TRUE(backwards);
    EXPECT_EQ(backwards->start, DayOf(may));
    EXPECT_EQ(backwards->end, DayOf(may) + 1);
    EXPECT_FALSE(timeline::Place(QDateTime(), may, 1));

    timeline::BarIndex index;
    index.Add(0, *timeline::Place(march, may, 5));
    index.Add(1, *backwards);
    index.Add(2, *timeline::Place(march, march, 5));
    EXPECT_EQ(index.Days()->first, DayOf(march));
    EXPECT_EQ(index.Days()->second, DayOf(may) + 1);
    EXPECT_EQ(index.Rows()->first, 2);
    EXPECT_EQ(index.Rows()->last, 5);
    const auto [first, last] = index.RowsBetween(4.5, 9);
    ASSERT_EQ(std::distance(first, last), 1);
    EXPECT_EQ(first->second, (std::vector<int>{0, 2}));
    EXPECT_EQ(index.Find(3), nullptr);
}

}  // namespace
