#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "drawings/node_text.h"
#include "drawings/tree_placement.h"

using drawings::kProjectNode;
using drawings::NodeText;
using drawings::ParseNodeText;
using drawings::PlaceNodes;
using drawings::TreeRow;

namespace {

TreeRow Node(int n, int parent, const std::string& name = "node")
{
    return {NodeText(name, n), parent};
}

// The placement done the slow way the rule reads: for every row, walk all
// items in tree order (project node first, then depth first) and take the
// first whose text reads the parent's number.
std::vector<int> PlaceByScanning(const std::vector<TreeRow>& rows)
{
    std::vector<std::vector<int>> children(rows.size() + 1);  // [0] is the project node
    std::vector<int> parents;
    for (size_t i = 0; i < rows.size(); ++i) {
        int found = -1;  // item index + 1, 0 for the project node
        std::function<bool(int)> visit = [&](int item) {
            const int number = item == 0 ? 0 : drawings::NodeNumberOf(rows[item - 1].text);
            if (number == rows[i].parentNumber) {
                found = item;
                return true;
            }
            for (int child : children[item])
                if (visit(child))
                    return true;
            return false;
        };
        visit(0);
        const int parentItem = found < 0 ? 0 : found;
        children[parentItem].push_back(static_cast<int>(i) + 1);
        parents.push_back(parentItem == 0 ? kProjectNode : parentItem - 1);
    }
    return parents;
}

}  // namespace

TEST(NodeText, NumberAndNameAreReadBackFromTheFirstSeparator)
{
    EXPECT_EQ(NodeText("Plan", 12), "Plan :12");
    auto node = ParseNodeText("Plan :12");
    EXPECT_EQ(node.number, 12);
    EXPECT_EQ(node.name, "Plan");

    // A two-byte name whose second bytes are 0x5C, blanks kept.
    const std::string name = "  \x8D\x5C\x91\xA2 ";
    node = ParseNodeText(NodeText(name, 3));
    EXPECT_EQ(node.name, name);
    EXPECT_EQ(node.number, 3);

    node = ParseNodeText("no separator");
    EXPECT_EQ(node.number, 0);
    EXPECT_EQ(node.name, "no separator");
    EXPECT_FALSE(drawings::HasNodeSeparator("A:B"));

    // A colon in a project name does not disturb the project node's number.
    node = ParseNodeText(NodeText("A:B", 0));
    EXPECT_EQ(node.number, 0);
    EXPECT_EQ(node.name, "A:B");

    // Another program's name holding the separator: the first one counts.
    node = ParseNodeText(NodeText("x :5", 9));
    EXPECT_EQ(node.name, "x");
    EXPECT_EQ(node.number, 0);  // "5 :9" is not a number
    EXPECT_EQ(ParseNodeText("x :5").number, 5);
    EXPECT_EQ(ParseNodeText(" :").number, 0);
}

TEST(TreePlacement, SiblingsFollowTheirNumbersUnderTheParentAlreadyPlaced)
{
    // 1 and 4 under the project, 2 and 3 under 1, 5 under 3.
    const std::vector<TreeRow> rows{Node(1, 0), Node(2, 1), Node(3, 1), Node(4, 0), Node(5, 3)};
    EXPECT_EQ(PlaceNodes(rows), (std::vector<int>{kProjectNode, 0, 0, kProjectNode, 2}));
    EXPECT_TRUE(PlaceNodes({}).empty());
}

TEST(TreePlacement, RowsWhoseParentIsNotPlacedYetGoUnderTheProjectNode)
{
    const std::vector<TreeRow> rows{
        Node(1, 6),                // parent comes later
        Node(2, 99),               // parent missing
        Node(3, 3),                // its own parent
        Node(4, 5),                // 4 and 5 name each other: 4 first, so 5 goes under 4
        Node(5, 4),  Node(6, -2),  // negative parent
        Node(7, 6),                // 6 is placed by now
    };
    EXPECT_EQ(PlaceNodes(rows), (std::vector<int>{kProjectNode, kProjectNode, kProjectNode,
                                                  kProjectNode, 3, kProjectNode, 5}));
}

TEST(TreePlacement, OfItemsReadingTheSameNumberTheFirstInTreeOrderIsTheParent)
{
    // Two rows numbered 3 (a table without its UNIQUE key): the second is placed
    // under 2 and so comes first in tree order, before the first 3.
    std::vector<TreeRow> rows{Node(1, 0), Node(2, 1), Node(3, 0), Node(3, 2), Node(4, 3)};
    EXPECT_EQ(PlaceNodes(rows), (std::vector<int>{kProjectNode, 0, kProjectNode, 1, 3}));

    // The second 4 lies deeper but under an earlier branch, so it comes first.
    rows = {Node(1, 0), Node(2, 1), Node(3, 2), Node(4, 0), Node(4, 3), Node(5, 4)};
    EXPECT_EQ(PlaceNodes(rows), (std::vector<int>{kProjectNode, 0, 1, kProjectNode, 2, 4}));

    // A name holding the separator makes its item read 0 at most, and an item
    // reading 0 never takes the project node's place.
    // A decoy reading 0 never takes the project node's place.
    rows = {Node(1, 0, "x :0"), Node(2, 0)};
    EXPECT_EQ(PlaceNodes(rows), (std::vector<int>{kProjectNode, kProjectNode}));
}

TEST(TreePlacement, HostileTablesArePlacedExactlyAsAScanOfTheItemsWould)
{
    std::mt19937 random(20240401);
    for (int round = 0; round < 300; ++round) {
        const int count = 1 + static_cast<int>(random() % 120);
        std::vector<TreeRow> rows;
        int n = 0;
        for (int i = 0; i < count; ++i) {
            if (random() % 6 != 0)  // else a duplicate of the previous number
                n += 1 + static_cast<int>(random() % 2);
            const int parent = static_cast<int>(random() % (n + 8)) - 3;
            std::string name = "n";
            if (random() % 8 == 0)
                name = "decoy :" + std::to_string(random() % (n + 2));
            rows.push_back(Node(n, parent, name));
        }
        ASSERT_EQ(PlaceNodes(rows), PlaceByScanning(rows)) << "round " << round;
    }
}

TEST(TreePlacement, DuplicatesAtTheBottomOfATallTreeArePlacedWithoutEndlessWork)
{
    // Node 1, then a chain of 3000 nodes each under the one before; then 3002
    // under node 1 and 3000 more rows numbered 3002 at the bottom of the chain,
    // each of which has to be compared with the first one up the whole chain.
    std::vector<TreeRow> rows{Node(1, 0), Node(2, 0)};
    for (int n = 3; n <= 3001; ++n)
        rows.push_back(Node(n, n - 1));
    rows.push_back(Node(3002, 1));
    for (int i = 0; i < 3000; ++i)
        rows.push_back(Node(3002, 3001));
    rows.push_back(Node(3003, 3002));
    const std::vector<int> parents = PlaceNodes(rows);
    ASSERT_EQ(parents.size(), 6003u);
    EXPECT_EQ(parents[3000], 2999);
    EXPECT_EQ(parents[3001], 0);
    EXPECT_EQ(parents[3002], 3000);
    EXPECT_EQ(parents.back(), 3001);  // the 3002 under node 1 comes first in tree order
}
