#pragma once
// The drawing list as the detail window shows it, without the window: the
// project's row and the rows of the walked nodes, for the page, the printer,
// files and the command line alike. And the revision history of one drawing
// as it is printed.

#include <functional>
#include <string>
#include <vector>

#include "drawings/drawing_chart_logic.h"
#include "drawings/project_detail_logic.h"
#include "storage/database.h"
#include "text/text_table.h"

namespace drawings {

struct ListedNode {
    int number = 0;
    std::string name;  // CP932, as stored
    int depth = 1;     // the project node has depth 0
};

// Every node of the tree in the order the tree lists them (depth first,
// children in ascending number): what the list walks from the project node.
std::vector<ListedNode> TreeOrder(const TreeContent& tree);

// The project's row, then one row per node (name indented from baseLevel).
// stopRequested is asked while the rows are read; when it stops the reading,
// the nodes from the first one left unread are left out.
std::vector<ListRow> DrawingListRows(storage::Database& db, const ProjectTables& tables,
                                     int projectNo, const std::vector<ListedNode>& nodes,
                                     int baseLevel,
                                     const std::function<bool()>& stopRequested = {});

// The widths the command line prints with, where no grid says.
std::vector<int> DrawingListPrintWidths();

text::TextTable DrawingListTable(const std::string& projectName, std::vector<ListRow> rows,
                                 std::vector<int> columnWidths);

// The whole project's list, as the page shows it with the project node chosen.
// Reads the tree only: the project's tables are never created from here.
text::TextTable ReadDrawingListTable(storage::Database& db, int projectNo);

// A drawing's revision history (N, CONT, RN, RDATE rows, as its editor shows them).
text::TextTable RevisionHistoryTable(storage::Database& db, int projectNo, int drawingNo,
                                     std::vector<storage::Row> rows, std::vector<int> columnWidths);

}  // namespace drawings
