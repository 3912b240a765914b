#include "storage/project_periods.h"

#include <gtest/gtest.h>

using storage::DateValue;
using storage::ProjectSpansOf;
using storage::Row;

namespace {

QDateTime Day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

Row Project(std::string p1, std::string p2, std::string d1, std::string d2, std::string n)
{
    Row row(16);
    row[10] = p1;
    row[11] = p2;
    row[12] = d1;
    row[13] = d2;
    row[14] = n;
    return row;
}

TEST(ProjectPeriods, DateStringsBecomeCalendarDays)
{
    EXPECT_EQ(DateValue("20240229"), Day(2024, 2, 29));
    EXPECT_EQ(DateValue("18991230"), Day(1899, 12, 30));
    EXPECT_FALSE(DateValue("20230229"));
    EXPECT_FALSE(DateValue("2024013"));
    EXPECT_FALSE(DateValue(""));
    EXPECT_FALSE(DateValue("abcdefgh"));
}

TEST(ProjectPeriods, EachPeriodNeedsBothEndsAndDeliveryTakesOneDay)
{
    auto all = ProjectSpansOf(Project("20250101", "20250110", "20250105", "20250105", "20250120"));
    ASSERT_TRUE(all.valid);
    ASSERT_EQ(all.spans.size(), 3u);
    EXPECT_EQ(all.spans[0].rgb, storage::kAqua);
    EXPECT_EQ(all.spans[0].end, Day(2025, 1, 10));
    EXPECT_EQ(all.spans[1].start, all.spans[1].end);  // same day: no length
    EXPECT_EQ(all.spans[2].rgb, storage::kGreen);
    EXPECT_EQ(all.spans[1].period, storage::ProjectPeriod::kActual);
    EXPECT_EQ(all.spans[2].period, storage::ProjectPeriod::kDelivery);
    EXPECT_EQ(all.spans[2].end, Day(2025, 1, 21));

    auto half = ProjectSpansOf(Project("20250101", "", "", "20250105", ""));
    EXPECT_TRUE(half.valid);
    EXPECT_TRUE(half.spans.empty());

    // A date that is no day ends the reading; what came before stays.
    auto bad = ProjectSpansOf(Project("20250101", "20250102", "2025013", "20250105", "20250107"));
    EXPECT_FALSE(bad.valid);
    ASSERT_EQ(bad.spans.size(), 1u);

    EXPECT_TRUE(ProjectSpansOf(Row(3)).spans.empty());  // a short row reads as empty
}

}  // namespace
