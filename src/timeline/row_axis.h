#pragma once
// The chart's vertical axis as the windows set it: the minimum lies at the top
// edge, the maximum at the bottom, a row's centre at its number.

#include <optional>
#include <vector>

namespace timeline {

struct RowAxis {
    double minimum = 0;
    double maximum = 11;

    double Span() const { return maximum > minimum ? maximum - minimum : 1; }
    double Pixels(double height) const { return height / Span(); }  // one row's height
    double Y(double row, double height) const { return (row - minimum) * Pixels(height); }
    double RowAt(double y, double height) const { return minimum + y / Pixels(height); }
};

// The first and last rows holding bars.
struct RowExtent {
    double first = 0;
    double last = 0;
};

// Where scrolling may take the axis's minimum: from a row above the first to
// showing a row below the last, widened to include where it already is, so a
// scroll never pulls the view further out than the windows' own paging put it.
struct RowScrollRange {
    double minimum = 0;
    double maximum = 0;
};
RowScrollRange ScrollRangeOf(const RowAxis& axis, const std::optional<RowExtent>& rows);

// The axis moved by `delta` rows within that range.
RowAxis ScrolledWithin(const RowAxis& axis, const std::optional<RowExtent>& rows, double delta);

// Axes of `perPage` whole rows each, the last holding what is left, covering
// the rows from first to last.
std::vector<RowAxis> PageAxes(const RowExtent& rows, int perPage);

}  // namespace timeline
