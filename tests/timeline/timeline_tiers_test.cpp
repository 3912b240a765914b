#include "timeline/timeline_tiers.h"

#include <gtest/gtest.h>

using timeline::DayOf;
using timeline::Step;
using timeline::TimeScale;
using timeline::Unit;

namespace {

// Seven pixels a character: close enough to a real font for choosing tiers.
double Width(const QString& text)
{
    return 7.0 * text.size();
}

timeline::TimelineLayout LayOut(const QDate& first, double days, double width = 1000)
{
    TimeScale scale;
    scale.SetWidth(width);
    scale.Show(DayOf(first), days);
    return timeline::LayOutTimeline(scale, Width);
}

TEST(TimelineTiers, TheZoomChoosesTheTiersAPlannerExpects)
{
    struct Case {
        double days;
        Step lower, upper;
    } cases[] = {
        {14, {Unit::Day, 1}, {Unit::Month, 1}},
        {120, {Unit::Week, 1}, {Unit::Month, 1}},
        {700, {Unit::Month, 1}, {Unit::Year, 1}},
        {2000, {Unit::Quarter, 1}, {Unit::Year, 1}},
        {365.0 * 20, {Unit::Year, 1}, {Unit::Year, 10}},
        {365.0 * 40, {Unit::Year, 2}, {Unit::Year, 10}},
        {365.0 * 8000, {Unit::Year, 500}, {Unit::Year, 1000}},
    };
    for (const Case& c : cases) {
        const timeline::TimelineLayout layout = LayOut(QDate(2024, 3, 15), c.days);
        EXPECT_EQ(layout.lower.step, c.lower) << c.days;
        EXPECT_EQ(layout.upper.step, c.upper) << c.days;
        EXPECT_EQ(layout.weekends, c.days <= 250) << c.days;
    }

    // Year over month: the upper tier names the year, the lower the months.
    const timeline::TimelineLayout year = LayOut(QDate(2024, 1, 1), 366);
    ASSERT_FALSE(year.upper.labels.empty());
    EXPECT_EQ(year.upper.labels[0].text, QString::fromUtf8("2024年"));
    EXPECT_EQ(year.lower.labels[0].text, QString::fromUtf8("1月"));
    EXPECT_EQ(year.lower.boundaries[1], DayOf(QDate(2024, 2, 1)));
}

TEST(TimelineTiers, OnlyTheVisibleBoundariesAreMadeAndTheyFrameTheWindow)
{
    for (double days : {1.0, 31.0, 3650.0, 365.0 * 8100}) {
        TimeScale scale;
        scale.SetWidth(1200);
        scale.Show(DayOf(QDate(1899, 12, 30)), days);
        const timeline::TimelineLayout layout = timeline::LayOutTimeline(scale, Width);
        for (const timeline::Tier* tier : {&layout.lower, &layout.upper}) {
            ASSERT_GE(tier->boundaries.size(), 2u) << days;
            EXPECT_LE(tier->boundaries.front(), scale.FirstDay()) << days;
            EXPECT_GE(tier->boundaries.back(), scale.LastDay()) << days;
        }
        // No more lower boundaries than labels could fit: never a band of ticks.
        EXPECT_LE(layout.lower.boundaries.size(), 1200 / (2 * timeline::kLabelPadding + 7) + 2)
            << days;
    }
}

}  // namespace
