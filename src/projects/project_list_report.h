#pragma once
// The project list as it is printed or saved: every project of the current
// sort and filter, not only the page on screen, read once from start to end.

#include <string>
#include <vector>

#include "storage/database.h"
#include "text/text_table.h"

namespace projects {

// The widths the command line prints with, where no grid says.
std::vector<int> ProjectListPrintWidths();

// filter and order as the page loader holds them. The rows are read when the
// table is written; a table that is missing reads as no rows.
text::TextTable ProjectListTable(storage::Database& db, const std::string& filter,
                                 const std::string& order, std::vector<int> columnWidths);

}  // namespace projects
