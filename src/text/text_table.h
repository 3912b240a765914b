#pragma once
// One list as it leaves the screen for the printer or a file: its title and
// heading, the header row, the grid's column widths and the rows. Every text
// is CP932 bytes, as stored, so a file in CP932 carries the stored bytes
// unchanged. Rows are handed out one at a time, so a list of every project
// is written without being held in memory.

#include <functional>
#include <string>
#include <vector>

namespace text {

using TextRow = std::vector<std::string>;
// Takes one row; false stops the rows.
using RowSink = std::function<bool(const TextRow&)>;

struct TextTable {
    std::string title;
    // Printed under the title on every page (the project, a date range, ...).
    std::vector<std::string> headingLines;
    std::vector<std::string> headers;
    std::vector<int> columnWidths;  // pixels, as the grid shows them
    std::vector<bool> numberColumns;
    // Printed at the foot of every page; empty for none.
    std::string footer;
    // Whether a spreadsheet carries the title, heading lines and footer around
    // the table too (a register that goes to a client), not just the table.
    bool headingInSheet = false;

    // Hands every row to the sink in order. False when the rows could not be
    // read to the end (a stop asked for by the sink is not a failure).
    std::function<bool(const RowSink&)> rows;
    int rowCount = -1;  // when known beforehand; -1 otherwise

    bool IsNumberColumn(std::size_t column) const
    {
        return column < numberColumns.size() && numberColumns[column];
    }
};

// Rows already read, handed out from memory.
inline std::function<bool(const RowSink&)> RowsOf(std::vector<TextRow> rows)
{
    return [rows = std::move(rows)](const RowSink& sink) {
        for (const TextRow& row : rows)
            if (!sink(row))
                break;
        return true;
    };
}

}  // namespace text
