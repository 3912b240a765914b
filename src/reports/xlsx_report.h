#pragma once
// A list as an Excel workbook, written by the helper process `k5x7-admin xlsx`
// (tools/admin/xlsx_writer.h tells what the sheet holds). The workbook library
// leaves its scratch files open when it cannot finish (a full disk); in a
// process of its own, they close when it ends. The rows go to the helper as
// they are read, so memory stays flat however long the list; a stop kills it,
// and the workbook is read back before it counts as written.

#include <QString>
#include <chrono>
#include <cstdint>

#include "reports/report_output.h"
#include "text/text_table.h"

namespace reports {

// How long the helper may go without taking rows, or, once it has them all,
// without the workbook growing, before it counts as hung and is killed.
inline constexpr std::chrono::milliseconds kXlsxHelperTimeLimit{120000};
inline constexpr std::uint64_t kXlsxHelperMemoryBytes = 1ull << 30;

// Writes the workbook to path (a new file, removed by the caller unless done);
// the helper's scratch files go into a folder of their own in scratchFolder.
// K5X7_XLSX_HELPER names another helper (tests stand in one that dies).
ReportResult WriteXlsx(const text::TextTable& table, const QString& path,
                       const QString& scratchFolder, const ReportProgress& progress = {});

}  // namespace reports
