#include "drawings/drawing_list_report.h"

#include "drawings/detail_texts.h"
#include "drawings/drawing_rows.h"
#include "drawings/node_text.h"
#include "drawings/revision_history_texts.h"
#include "storage/schema.h"

namespace drawings {

namespace texts = detail_texts;

std::vector<ListedNode> TreeOrder(const TreeContent& tree)
{
    const int count = static_cast<int>(tree.rows.size());
    // Children in the order they were placed, which is ascending number.
    std::vector<std::vector<int>> children(static_cast<size_t>(count) + 1);
    const auto slot = [count](int parent) { return parent == kProjectNode ? count : parent; };
    for (int i = 0; i < count; ++i)
        children[static_cast<size_t>(slot(tree.parents[i]))].push_back(i);

    std::vector<ListedNode> order;
    order.reserve(tree.rows.size());
    struct Frame {
        int node;
        size_t next;
        int depth;
    };
    std::vector<Frame> stack{{count, 0, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const std::vector<int>& below = children[static_cast<size_t>(top.node)];
        if (top.next == below.size()) {
            stack.pop_back();
            continue;
        }
        const int child = below[top.next++];
        const int depth = top.depth + 1;
        ParsedNode parsed = ParseNodeText(tree.rows[static_cast<size_t>(child)].text);
        order.push_back({parsed.number, std::move(parsed.name), depth});
        stack.push_back({child, 0, depth});
    }
    return order;
}

std::vector<ListRow> DrawingListRows(storage::Database& db, const ProjectTables& tables,
                                     int projectNo, const std::vector<ListedNode>& nodes,
                                     int baseLevel, const std::function<bool()>& stopRequested)
{
    storage::Row project(storage::kProjectColumns);
    db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(projectNo), project);
    std::vector<ListRow> rows{ProjectListRow(project)};

    std::vector<int> numbers;
    for (const ListedNode& node : nodes)
        numbers.push_back(node.number);
    const WalkRows read = ReadWalkRows(db, tables.drawing, numbers, stopRequested);

    rows.reserve(read.filled + 1);
    for (std::size_t i = 0; i < read.filled; ++i) {
        const ListedNode& node = nodes[i];
        ListRow cells{};
        if (const auto found = read.rows.find(node.number);
            node.number > 0 && found != read.rows.end())
            cells = DrawingListCells(found->second);
        cells[0] = std::to_string(node.number);
        cells[1] = IndentedName(node.name, node.depth, baseLevel);
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::vector<int> DrawingListPrintWidths()
{
    return {56, 200, 120, 100, 80, 80, 80, 80, 80, 80, 80, 80, 80};
}

text::TextTable DrawingListTable(const std::string& projectName, std::vector<ListRow> rows,
                                 std::vector<int> columnWidths)
{
    text::TextTable table;
    table.title = Cp932(texts::kListReportTitle);
    table.headingLines = {Cp932(texts::kReportProjectLabel) + projectName};
    for (const char* header : texts::kListHeaders)
        table.headers.push_back(Cp932(header));
    table.columnWidths = std::move(columnWidths);
    table.numberColumns.assign(table.headers.size(), false);
    table.numberColumns[0] = true;
    std::vector<text::TextRow> cells;
    cells.reserve(rows.size());
    for (const ListRow& row : rows)
        cells.emplace_back(row.begin(), row.end());
    table.rowCount = static_cast<int>(cells.size());
    table.rows = text::RowsOf(std::move(cells));
    return table;
}

text::TextTable ReadDrawingListTable(storage::Database& db, int projectNo)
{
    ProjectDetailLogic logic(db, projectNo);
    const ProjectHeader project = logic.ReadProject();
    const std::vector<ListedNode> nodes = TreeOrder(logic.ReadTree(project.name));
    return DrawingListTable(project.name, DrawingListRows(db, logic.tables(), projectNo, nodes, 1),
                            DrawingListPrintWidths());
}

text::TextTable RevisionHistoryTable(storage::Database& db, int projectNo, int drawingNo,
                                     std::vector<storage::Row> rows, std::vector<int> columnWidths)
{
    const ProjectTables tables(projectNo);
    const std::string number = std::to_string(drawingNo);
    storage::Row project(storage::kProjectColumns);
    db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(projectNo), project);
    storage::Row node(storage::kNameTreeColumns);
    db.SelectColumns("*", tables.tree, "N=" + number, node);
    storage::Row drawing(storage::kDrawingColumns);
    db.SelectColumns("*", tables.drawing, "N=" + number, drawing);

    text::TextTable table;
    table.title = Cp932(texts::kLabel20);
    table.headingLines = {Cp932(texts::kReportProjectLabel) + project[3],
                          Cp932(texts::kReportNodeLabel) + NodeText(node[1], number) +
                              Cp932(texts::kReportSeparator) + Cp932(texts::kReportNumberLabel) +
                              drawing[3]};
    for (const char* header : {revision_texts::kNumberHeader, revision_texts::kContentHeader,
                               revision_texts::kReviserNoHeader, revision_texts::kDateHeader})
        table.headers.push_back(Cp932(header));
    table.columnWidths = std::move(columnWidths);
    table.numberColumns = {true, false, true, false};
    table.rowCount = static_cast<int>(rows.size());
    table.rows = text::RowsOf(std::move(rows));
    return table;
}

}  // namespace drawings
