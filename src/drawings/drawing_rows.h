#pragma once
// The drawing rows of the nodes the drawing list and chart show, by node
// number. A handful of nodes are looked up one by one; more are read in one
// pass over the drawing table, so a whole project of many thousand nodes
// costs one fetch of the table instead of a statement per node. Either way
// the result is the same.

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/database.h"

namespace drawings {

using DrawingRows = std::unordered_map<int, storage::Row>;

inline constexpr std::size_t kDrawingLookupLimit = 64;

// Rows for the given node numbers that the table holds; a number without a
// row is absent. lookupLimit is the most numbers looked up one by one.
// stopRequested is asked between rows; when it answers true the rows read so
// far come back.
DrawingRows ReadDrawingRows(storage::Database& db, const std::string& table,
                            const std::vector<int>& numbers,
                            std::size_t lookupLimit = kDrawingLookupLimit,
                            const std::function<bool()>& stopRequested = {});

// The rows of a walk that Esc may stop: nodeNumbers are the walked nodes in
// order (below 1 for a node without a row). When the reading stops, only the
// nodes before the first one whose row was not reached count as filled.
struct WalkRows {
    DrawingRows rows;
    std::size_t filled = 0;  // leading nodes of the walk that are complete
};
WalkRows ReadWalkRows(storage::Database& db, const std::string& table,
                      const std::vector<int>& nodeNumbers,
                      const std::function<bool()>& stopRequested);

}  // namespace drawings
