#pragma once
// k5x7-admin xlsx OUT.xlsx [--scratch FOLDER]: the workbook helper. Reads a
// list from standard input (reports/table_stream.h), writes it as a workbook,
// and tells the number of the sheet's last row with a cell on standard output;
// on failure, why, on standard error, and exits 1. The program runs it for
// every workbook, so that whatever the writing leaves open ends with it.

#include <iosfwd>
#include <string>
#include <vector>

namespace admin {

int RunXlsxCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
