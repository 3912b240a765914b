#include "timeline/time_scale.h"

#include <algorithm>
#include <cmath>

namespace timeline {

namespace {

constexpr double kMsecsPerDay = 86400000.0;
constexpr double kFitMargin = 0.02;  // of the span, on each side
constexpr double kScrollUnits = 1e9;

}  // namespace

double DayOf(const QDate& date)
{
    return static_cast<double>(date.toJulianDay());
}

double DayOf(const QDateTime& moment)
{
    return DayOf(moment.date()) + moment.time().msecsSinceStartOfDay() / kMsecsPerDay;
}

QDate DateOf(double day)
{
    return QDate::fromJulianDay(static_cast<qint64>(std::floor(day)));
}

double FirstShowableDay()
{
    static const double day = DayOf(QDate(1, 1, 1));
    return day;
}

double LastShowableDay()
{
    static const double day = DayOf(QDate(12000, 1, 1));
    return day;
}

void TimeScale::SetWidth(double width)
{
    width_ = std::max(1.0, width);
}

void TimeScale::Show(double firstDay, double days)
{
    const double lo = FirstShowableDay(), hi = LastShowableDay();
    if (!std::isfinite(days))
        days = hi - lo;
    if (!std::isfinite(firstDay))
        firstDay = lo;
    days_ = std::clamp(days, kMinimumDays, hi - lo);
    first_ = std::clamp(firstDay, lo, hi - days_);
}

void TimeScale::ZoomAt(double x, double factor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    const double anchor = DayAt(x);
    const double days =
        std::clamp(days_ / factor, kMinimumDays, LastShowableDay() - FirstShowableDay());
    Show(anchor - x * (days / width_), days);
}

void TimeScale::Pan(double pixels)
{
    Show(first_ + pixels * (days_ / width_), days_);
}

void FitDays(TimeScale& scale, double first, double last)
{
    if (last < first)
        std::swap(first, last);
    const double margin = std::max(0.5, (last - first) * kFitMargin);
    scale.Show(first - margin, last - first + 2 * margin);
}

void ShowMonthOf(TimeScale& scale, const QDate& day)
{
    const QDate start(day.year(), day.month(), 1);
    scale.Show(DayOf(start), start.daysInMonth());
}

DayScrollRange ScrollRangeOver(const TimeScale& scale, double first, double last)
{
    first = std::min(first, scale.FirstDay());
    last = std::max(last, scale.LastDay());
    DayScrollRange range;
    range.originDay = first;
    range.unitsPerDay = std::min(scale.PixelsPerDay(), kScrollUnits / std::max(1.0, last - first));
    range.page = std::max(1, static_cast<int>(std::lround(scale.Days() * range.unitsPerDay)));
    range.maximum =
        std::max(0, static_cast<int>(std::lround((last - first) * range.unitsPerDay)) - range.page);
    range.value =
        std::clamp(static_cast<int>(std::lround((scale.FirstDay() - first) * range.unitsPerDay)), 0,
                   range.maximum);
    return range;
}

}  // namespace timeline
