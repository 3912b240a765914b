#pragma once
// The two tiers of the timeline header (year over month, month over day, year
// over quarter, ...), chosen by the zoom so that no two labels of a tier touch,
// with the boundaries the grid draws. Only the visible boundaries are made.

#include <QString>
#include <functional>
#include <vector>

#include "timeline/time_scale.h"

namespace timeline {

enum class Unit { Day, Week, Month, Quarter, Year };

struct Step {
    Unit unit = Unit::Day;
    int count = 1;  // years per step; 1 for the other units
    bool operator==(const Step&) const = default;
};

// Pixels from the scale's left edge.
struct TierLabel {
    QString text;
    double left = 0;
    double width = 0;
};

struct Tier {
    Step step;
    // Day numbers, from the boundary at or before the window's first day to the
    // one at or after its last.
    std::vector<double> boundaries;
    std::vector<TierLabel> labels;
};

struct TimelineLayout {
    Tier upper;
    Tier lower;
    bool weekends = false;  // days are wide enough to shade Saturdays and Sundays
};

// Room left and right of every label, in pixels.
inline constexpr double kLabelPadding = 3;

using TextWidth = std::function<double(const QString&)>;

// The finest lower tier whose labels fit at this zoom, never finer than
// `minimumStepDays` days, and the tier above it.
TimelineLayout LayOutTimeline(const TimeScale& scale, const TextWidth& textWidth,
                              int minimumStepDays = 1);

}  // namespace timeline
