#pragma once
// What the drawing list and the drawing chart make of stored rows: list cells,
// the bars of one drawing with its stamp days staggered, and the row axis.

#include <QDateTime>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/database.h"

namespace drawings {

enum class DrawingStage { kPeriod, kCheck, kApproval, kIssue, kRevision };

struct DrawingBar {
    QDateTime start;
    QDateTime end;
    std::uint32_t rgb = 0;  // 0xRRGGBB
    DrawingStage stage = DrawingStage::kPeriod;
};

// The period bar, then one-day bars for check, approval, issue and revision, as
// far as their dates are present. Stamps of consecutive stages on one day are
// spread over that day so that none hides another. A date that names no
// calendar day draws no bar.
std::vector<DrawingBar> DrawingBarsOf(const storage::Row& drawing);

// The largest row the chart shows for its height in pixels.
int ChartRowAxisMaximum(int heightPixels);

using ListRow = std::array<std::string, 13>;  // CP932 cells, column 0 first

// The project's own row of the list.
ListRow ProjectListRow(const storage::Row& project);
// Columns 2 to 12 of a node's row from its drawing row; 0 and 1 are left empty.
ListRow DrawingListCells(const storage::Row& drawing);
// The name as the list shows it: one blank for the walked level, one more a level below.
std::string IndentedName(const std::string& name, int depth, int baseLevel);

}  // namespace drawings
