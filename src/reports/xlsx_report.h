#pragma once
// A list as an Excel workbook of one sheet: the header row bold and frozen,
// the grid's column widths, texts as texts (dates stay yyyymmdd), the number
// columns as numbers. Rows go to disk as they are written, so memory stays
// flat however long the list.

#include <QString>

#include "reports/report_output.h"
#include "text/text_table.h"

namespace reports {

// Writes the workbook to path (a new file); its scratch files go into scratchFolder.
ReportResult WriteXlsx(const text::TextTable& table, const QString& path,
                       const QString& scratchFolder, const ReportProgress& progress = {});

// Characters of the sheet's default font that a column of the grid's width holds.
double SheetColumnWidth(int pixels);

}  // namespace reports
