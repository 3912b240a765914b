#include "timeline/row_axis.h"

#include <algorithm>
#include <cmath>

namespace timeline {

RowScrollRange ScrollRangeOf(const RowAxis& axis, const std::optional<RowExtent>& rows)
{
    if (!rows)
        return {axis.minimum, axis.minimum};
    const double top = rows->first - 1;
    const double bottom = std::max(top, rows->last + 1 - axis.Span());
    return {std::min(top, axis.minimum), std::max(bottom, axis.minimum)};
}

RowAxis ScrolledWithin(const RowAxis& axis, const std::optional<RowExtent>& rows, double delta)
{
    const RowScrollRange range = ScrollRangeOf(axis, rows);
    const double minimum = std::clamp(axis.minimum + delta, range.minimum, range.maximum);
    return {minimum, minimum + (axis.maximum - axis.minimum)};
}

std::vector<RowAxis> PageAxes(const RowExtent& rows, int perPage)
{
    perPage = std::max(1, perPage);
    const double first = std::floor(rows.first);
    const double count = std::max(1.0, std::ceil(rows.last) - first + 1);
    std::vector<RowAxis> pages;
    for (double row = first; row < first + count; row += perPage)
        pages.push_back({row - 0.5, row - 0.5 + std::min<double>(perPage, first + count - row)});
    return pages;
}

}  // namespace timeline
