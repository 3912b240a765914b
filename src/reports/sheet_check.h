#pragma once
// Reads back the sheet of a workbook just written. The workbook library does
// not check its writes to its scratch files: when their disk fills up, it
// still closes a well-formed file that lacks rows, and reports success.

#include <QString>
#include <cstdint>
#include <optional>

namespace reports {

// The number of the first sheet's last row holding a cell (from 1; 0 for a
// sheet without cells), or none when the sheet cannot be read to its end.
std::optional<std::uint32_t> LastSheetRow(const QString& workbookPath);

}  // namespace reports
