#pragma once
// The project detail window without its widgets: the project's own three
// tables, the name tree read from them, and what the information page shows.
// Texts go in and come out as CP932 bytes.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "drawings/tree_placement.h"
#include "storage/database.h"

namespace drawings {

// The tree, drawing and revision tables of one project: ZPRJ_n, ZMN_n, REV_n.
struct ProjectTables {
    explicit ProjectTables(int projectNo);
    std::string tree;
    std::string drawing;
    std::string revision;
};

struct ProjectHeader {
    bool found = false;  // whether ZPROJECT holds the project
    std::string name;    // PRNAME
    std::string member;  // MN as text, empty when NULL
};

// The tree as the window builds it: the project node's text, then the rows in
// ascending number with where each goes (tree_placement.h).
struct TreeContent {
    std::string projectText;
    std::vector<TreeRow> rows;
    std::vector<int> parents;
};

// Edit3 to Edit10 for the project node: the two periods, the due-date line,
// the titles and the memo lines.
using ProjectNodeFields = std::array<std::string, 8>;

struct DrawingNodeInfo {
    // Edit3 to Edit16: file, folder, drawing number, titles, memos, then the
    // made, updated, check, approval, issue and revision dates.
    std::array<std::string, 14> fields;
    // The stored MN, KN, AN, PN, RN, for ComboBox1 to ComboBox5.
    std::array<std::string, 5> members;
    // RDATE(RN):CONT for each revision in order of N.
    std::vector<std::string> revisions;
};

class ProjectDetailLogic {
public:
    ProjectDetailLogic(storage::Database& db, int projectNo);

    int projectNo() const { return projectNo_; }
    const ProjectTables& tables() const { return tables_; }

    // What the window does when it is shown: reads the project, creates its
    // missing tables in order (tree, drawing, revision), and inserts the
    // project node's row or renames it after the project. A project that is
    // not in ZPROJECT (deleted meanwhile) gets no tables and no rows written.
    ProjectHeader Open();
    ProjectHeader ReadProject();

    // The "none" item, then "N:PNAME" for every member in number order.
    std::vector<std::string> LoadMemberItems();

    TreeContent ReadTree(std::string_view projectName);

    ProjectNodeFields ReadProjectNode();
    // A drawing row that is missing reads as empty texts and no members.
    DrawingNodeInfo ReadDrawingNode(int number);

private:
    storage::Database& db_;
    int projectNo_;
    ProjectTables tables_;
};

// The combo item for a stored member number: the first after the "none" item
// whose number matches, else 0 ("none").
int FindMemberItem(const std::vector<std::string>& items, std::string_view stored);

// A drawing's revision history as the information page lists it:
// RDATE(RN):CONT in number order.
std::vector<std::string> ReadRevisionLines(storage::Database& db, const std::string& revisionTable,
                                           int node);

// A UTF-8 text constant as CP932 bytes.
std::string Cp932(const char* utf8);

}  // namespace drawings
