#include "drawings/tree_placement.h"

#include <unordered_map>

#include "drawings/node_text.h"

namespace drawings {

namespace {

struct Placed {
    int parent = kProjectNode;
    int depth = 1;       // the project node has depth 0
    int childIndex = 0;  // position among its parent's children
};

// Whether item a comes before item b in the tree's item order. Children are
// only ever appended, so the order of items already placed never changes.
bool ComesBefore(const std::vector<Placed>& placed, int a, int b)
{
    if (a == b)
        return false;
    int x = a;
    int y = b;
    while (placed[x].depth > placed[y].depth)
        x = placed[x].parent;
    while (placed[y].depth > placed[x].depth)
        y = placed[y].parent;
    if (x == y)  // one is an ancestor of the other, and an ancestor comes first
        return x == a;
    while (placed[x].parent != placed[y].parent) {
        x = placed[x].parent;
        y = placed[y].parent;
    }
    return placed[x].childIndex < placed[y].childIndex;
}

}  // namespace

std::vector<int> PlaceNodes(const std::vector<TreeRow>& rows)
{
    const int count = static_cast<int>(rows.size());
    std::vector<Placed> placed(rows.size());
    std::vector<int> childCount(rows.size(), 0);
    int projectChildren = 0;
    // The first item in tree order for each number; the project node, first of
    // all items, answers 0 itself.
    std::unordered_map<int, int> firstWithNumber;
    firstWithNumber.reserve(rows.size());

    for (int i = 0; i < count; ++i) {
        Placed& p = placed[i];
        const int wanted = rows[i].parentNumber;
        if (wanted != 0) {
            auto found = firstWithNumber.find(wanted);
            if (found != firstWithNumber.end())
                p.parent = found->second;
        }
        if (p.parent == kProjectNode) {
            p.childIndex = projectChildren++;
        } else {
            p.depth = placed[p.parent].depth + 1;
            p.childIndex = childCount[p.parent]++;
        }

        const int number = NodeNumberOf(rows[i].text);
        if (number == 0)
            continue;
        auto [entry, inserted] = firstWithNumber.try_emplace(number, i);
        if (!inserted && ComesBefore(placed, i, entry->second))
            entry->second = i;
    }

    std::vector<int> parents(rows.size());
    for (int i = 0; i < count; ++i)
        parents[i] = placed[i].parent;
    return parents;
}

}  // namespace drawings
