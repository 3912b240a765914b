#pragma once
// A list as comma-separated values: the header row as on screen, then every
// row, RFC 4180 quoting, CR LF line ends. CP932 files carry the stored bytes
// unchanged; UTF-8 files start with a byte order mark, which spreadsheets need
// to read them as UTF-8. Rows are written as they come, in blocks, so memory
// stays flat however long the list.

#include <QIODevice>

#include "reports/report_output.h"
#include "text/text_table.h"

namespace reports {

ReportResult WriteCsv(const text::TextTable& table, CsvEncoding encoding, QIODevice& out,
                      const ReportProgress& progress = {});

}  // namespace reports
