#include "registers/register_report.h"

#include "text/cp932.h"

namespace registers {

text::TextTable RegisterTable(const RegisterConfig& config, std::vector<storage::Row> rows,
                              std::vector<int> columnWidths)
{
    text::TextTable table;
    table.title = text::ToCp932Lossy(text::Utf8(config.caption));
    for (const char* header : config.headers)
        table.headers.push_back(text::ToCp932Lossy(text::Utf8(header)));
    table.columnWidths = columnWidths.empty() ? config.columnWidths : std::move(columnWidths);
    table.numberColumns = config.numberColumns;
    table.rowCount = static_cast<int>(rows.size());
    table.rows = text::RowsOf(std::move(rows));
    return table;
}

text::TextTable ReadRegisterTable(storage::Database& db, const RegisterConfig& config)
{
    // A register whose table is missing lists nothing, as its dialog does.
    std::vector<storage::Row> rows;
    if (db.TableExists(config.table))
        rows = RegisterLogic(db, config).LoadRows();
    return RegisterTable(config, std::move(rows));
}

}  // namespace registers
