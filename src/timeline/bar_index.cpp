#include "timeline/bar_index.h"

#include <algorithm>
#include <cmath>

#include "timeline/time_scale.h"

namespace timeline {

std::optional<PlacedBar> Place(const QDateTime& start, const QDateTime& end, double row)
{
    if (!start.isValid() || !end.isValid() || !std::isfinite(row))
        return std::nullopt;
    PlacedBar placed{DayOf(start), DayOf(end), row};
    if (placed.end < placed.start)
        placed.end = placed.start + 1;
    return placed;
}

void BarIndex::Clear()
{
    placed_.clear();
    rows_.clear();
    days_.reset();
}

void BarIndex::Add(int bar, const PlacedBar& placed)
{
    if (bar < 0)
        return;
    if (static_cast<size_t>(bar) >= placed_.size())
        placed_.resize(static_cast<size_t>(bar) + 1);
    placed_[static_cast<size_t>(bar)] = placed;
    rows_[placed.row].push_back(bar);
    days_ = days_ ? std::make_pair(std::min(days_->first, placed.start),
                                   std::max(days_->second, placed.end))
                  : std::make_pair(placed.start, placed.end);
}

const PlacedBar* BarIndex::Find(int bar) const
{
    if (bar < 0 || static_cast<size_t>(bar) >= placed_.size() || !placed_[static_cast<size_t>(bar)])
        return nullptr;
    return &*placed_[static_cast<size_t>(bar)];
}

std::optional<RowExtent> BarIndex::Rows() const
{
    if (rows_.empty())
        return std::nullopt;
    return RowExtent{rows_.begin()->first, rows_.rbegin()->first};
}

std::pair<BarIndex::RowMap::const_iterator, BarIndex::RowMap::const_iterator> BarIndex::RowsBetween(
    double top, double bottom) const
{
    return {rows_.lower_bound(top), rows_.upper_bound(bottom)};
}

}  // namespace timeline
