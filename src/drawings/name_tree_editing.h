#pragma once
// Creating, renaming and deleting nodes of a project's name tree, and the name
// dialog's check. Names are CP932 bytes.
//
// A node is its tree row and its drawing row. Both are written in one
// transaction, so no half-made node is ever left behind, and a node is deleted
// with its drawing row and revision history in one transaction, so no rows of
// a node that is gone are left to block its number.

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "drawings/project_detail_logic.h"
#include "storage/database.h"

namespace drawings {

// The name dialog's OK: a refusal to show, or the name to take.
struct NameCheck {
    QString message;   // empty when the name is taken
    std::string name;  // the typed text without quotes and control bytes
};

// Refuses a name that is empty after trimming blanks, or that holds a single
// or double quote or a colon (the colon would break the item text).
NameCheck CheckNodeName(std::string_view typed);

// The ZMN_n columns, N first, in table order.
const std::vector<std::string>& DrawingColumnNames();

// The values after N of the drawing row a new named node gets: no file, no
// texts, no dates and member 0 throughout.
std::vector<std::string> EmptyDrawingValues();

struct NodeCreation {
    int number = 0;   // the stored node's number; 0 when nothing was stored
    QString message;  // what to tell the user when nothing was stored
    bool created() const { return number > 0; }
};

class NameTreeEditor {
public:
    // Another PC may take a number between reading it and storing the node;
    // the next number is tried, up to this many times in all.
    static constexpr int kCreateAttempts = 5;

    NameTreeEditor(storage::Database& db, const ProjectTables& tables);

    // One more than the largest number found in the tree table, the drawing
    // table and the revision history, so rows left behind by a deletion that
    // broke off never become part of a new node; 0 when no number is left.
    int NextNodeNumber();

    // Stores a node under parentNumber with the given drawing values (after N).
    // The name is stored as given: callers decide what a name may hold.
    // firstNumber, when above 0, is tried before the next number is looked
    // up: a caller storing many nodes in a row knows it, and the unique keys
    // refuse it should another PC have taken it meanwhile.
    NodeCreation CreateNode(int parentNumber, std::string_view name, int member,
                            const std::vector<std::string>& drawingValues, int firstNumber = 0);
    bool RenameNode(int number, std::string_view name);
    // The tree row, the drawing row and the revisions, all or none.
    bool DeleteNode(int number);

private:
    storage::Database& db_;
    ProjectTables tables_;
};

QString HasChildrenMessage(std::string_view name, int number);
QString DeleteQuestion(std::string_view name, int number);

}  // namespace drawings
