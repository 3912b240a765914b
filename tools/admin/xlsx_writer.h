#pragma once
// A list as an Excel workbook of one sheet: the header row bold and frozen,
// the grid's column widths, texts as texts (dates stay yyyymmdd), the number
// columns as numbers. Rows go to disk as they are written, so memory stays
// flat however long the list.
//
// Runs in the helper process only (`k5x7-admin xlsx`): the workbook library
// leaves its scratch files open when it cannot finish (a full disk), and only
// the end of the process that opened them closes them safely.

#include <QString>
#include <cstdint>

#include "reports/report_output.h"
#include "text/text_table.h"

namespace admin {

struct WrittenWorkbook {
    reports::ReportResult result;
    // The sheet's number of its last row with a cell (0 for none), for the
    // reader to check the file against: the library does not check its writes
    // to its scratch files, and a sheet cut short still closes well-formed.
    std::uint32_t lastRow = 0;
};

// Writes the workbook to path (a new file); its scratch files go into
// scratchFolder (the system's when empty).
WrittenWorkbook WriteXlsx(const text::TextTable& table, const QString& path,
                          const QString& scratchFolder,
                          const reports::ReportProgress& progress = {});

// Characters of the sheet's default font that a column of the grid's width holds.
double SheetColumnWidth(int pixels);

}  // namespace admin
