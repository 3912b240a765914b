#pragma once
// Where each row of a name tree goes. Rows arrive in ascending node number and
// each is added as the last child of its parent: the first item, in the order
// the tree lists its items (project node first, then depth first), whose
// number is the row's PARENT_N. A row whose parent is not among the items added
// before it (a parent with a larger number, a missing one, itself, a cycle)
// goes under the project node, so every row is placed exactly once.
//
// Parents are found through a map from number to item instead of a scan of the
// items, so a tree is placed in time linear in its rows. Only when two items
// read the same number (duplicate rows of a table another program made without
// its UNIQUE key) are their positions compared, walking up to their common
// ancestor.

#include <string>
#include <vector>

namespace drawings {

struct TreeRow {
    std::string text;      // the item text, NAME + " :" + N
    int parentNumber = 0;  // PARENT_N
};

inline constexpr int kProjectNode = -1;

// For each row, the index of the row it is placed under, or kProjectNode.
std::vector<int> PlaceNodes(const std::vector<TreeRow>& rows);

}  // namespace drawings
