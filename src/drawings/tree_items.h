#pragma once
// The name tree's items as the detail window and its pages share them: each
// item keeps the stored CP932 bytes of its text beside the text shown, so a
// name read back from an item is the stored name byte for byte.

#include <functional>
#include <string>
#include <vector>

class QTreeWidgetItem;

namespace drawings {

std::string ItemBytes(const QTreeWidgetItem* item);
void SetItemText(QTreeWidgetItem* item, const std::string& bytes);

struct WalkedNode {
    QTreeWidgetItem* item;
    int depth;  // the project node has depth 0
};

struct BranchWalk {
    std::vector<WalkedNode> nodes;
    int baseLevel = 1;  // the depth names are indented from
};

// The items the drawing list and chart show for the selected item, in order:
// below the project node every item; below any other node, the siblings of
// the item and what shows of them on screen. The walk ends early when
// stopRequested answers true.
BranchWalk WalkBranch(QTreeWidgetItem* item, const std::function<bool()>& stopRequested);

}  // namespace drawings
