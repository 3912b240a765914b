#pragma once
// A register's rows as they are printed or saved: the dialog's caption and
// grid headers over the rows the grid shows.

#include <vector>

#include "registers/register_logic.h"
#include "text/text_table.h"

namespace registers {

// Without widths, the register's own column widths.
text::TextTable RegisterTable(const RegisterConfig& config, std::vector<storage::Row> rows,
                              std::vector<int> columnWidths = {});

// The whole register read afresh, as the command line writes it.
text::TextTable ReadRegisterTable(storage::Database& db, const RegisterConfig& config);

}  // namespace registers
