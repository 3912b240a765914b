#pragma once
// The chart's bars by row, so that painting and hit-testing visit only the rows
// in view and, within a row, only its own few bars.

#include <QDateTime>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "timeline/row_axis.h"

namespace timeline {

// Where a bar is drawn, in days and rows.
struct PlacedBar {
    double start = 0;
    double end = 0;
    double row = 0;
};

// A bar whose start lies after its end (another program may store one) is drawn
// as one day at its start; one without a valid date is not drawn at all.
std::optional<PlacedBar> Place(const QDateTime& start, const QDateTime& end, double row);

class BarIndex {
public:
    void Clear();
    // `bar` is the caller's own number for it, handed back by the queries.
    void Add(int bar, const PlacedBar& placed);

    const PlacedBar* Find(int bar) const;
    // The first and last day any bar covers.
    std::optional<std::pair<double, double>> Days() const { return days_; }
    std::optional<RowExtent> Rows() const;

    // Bars of each row, in the order they were added.
    using RowMap = std::map<double, std::vector<int>>;
    const RowMap& ByRow() const { return rows_; }
    // The rows from `top` to `bottom`, both included.
    std::pair<RowMap::const_iterator, RowMap::const_iterator> RowsBetween(double top,
                                                                          double bottom) const;

private:
    std::vector<std::optional<PlacedBar>> placed_;  // by bar number
    RowMap rows_;
    std::optional<std::pair<double, double>> days_;
};

}  // namespace timeline
