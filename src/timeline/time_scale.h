#pragma once
// The chart's horizontal axis. Moments are day numbers (the Julian day of the
// date plus the time of day as a fraction), so every mapping is arithmetic on
// doubles: nothing walks the days between two dates, and a span of centuries
// costs what a span of a week does.

#include <QDate>
#include <QDateTime>

namespace timeline {

double DayOf(const QDate& date);
// Local wall-clock time, so a day is one unit even across a clock change.
double DayOf(const QDateTime& moment);
QDate DateOf(double day);

// What the axis can show: year 1 to year 12000, and never less than one day.
inline constexpr double kMinimumDays = 1;
double FirstShowableDay();
double LastShowableDay();

class TimeScale {
public:
    // `width` pixels show `days` days from `firstDay`; the window is kept
    // between one day and everything showable.
    void SetWidth(double width);
    void Show(double firstDay, double days);

    double Width() const { return width_; }
    double FirstDay() const { return first_; }
    double Days() const { return days_; }
    double LastDay() const { return first_ + days_; }
    double PixelsPerDay() const { return width_ / days_; }

    double X(double day) const { return (day - first_) * (width_ / days_); }
    double DayAt(double x) const { return first_ + x * (days_ / width_); }

    // More than 1 shows fewer days; the day under `x` stays under it.
    void ZoomAt(double x, double factor);
    // Positive pixels move the window to later days.
    void Pan(double pixels);

private:
    double width_ = 1;
    double first_ = 0;
    double days_ = 1;
};

// A window over [first, last] with a little room on both sides; one day when
// the two coincide.
void FitDays(TimeScale& scale, double first, double last);
// The month holding `day`: an empty chart shows where today is.
void ShowMonthOf(TimeScale& scale, const QDate& day);

// A horizontal scroll bar over a day range: its integer values stay far from
// the int limit however long the range and however close the zoom.
struct DayScrollRange {
    double originDay = 0;
    double unitsPerDay = 1;
    int maximum = 0;  // the minimum is 0
    int page = 1;
    int value = 0;
};
DayScrollRange ScrollRangeOver(const TimeScale& scale, double first, double last);

}  // namespace timeline
