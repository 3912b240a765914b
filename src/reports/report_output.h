#pragma once
// What every writer of a list shares: the formats, how a writer tells its
// progress and hears a stop, and how it ends.

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text/text_table.h"

namespace reports {

enum class ReportFormat { Csv, Xlsx, Pdf };
enum class CsvEncoding { Cp932, Utf8Bom };

// By the file name's extension (any case); none for another extension.
std::optional<ReportFormat> FormatOfPath(const QString& path);

// Rows (or pages) done of the total (-1 when unknown); false asks to stop.
using ReportProgress = std::function<bool(int done, int total)>;

enum class ReportStatus { Done, Stopped, Failed };

struct ReportResult {
    ReportStatus status = ReportStatus::Done;
    QString message;  // why it failed; empty otherwise

    bool done() const { return status == ReportStatus::Done; }
    static ReportResult Failure(const char* utf8)
    {
        return {ReportStatus::Failed, QString::fromUtf8(utf8)};
    }
};

// Hands every row of the table to `write` (false: the write failed), telling
// progress at the start and every few hundred rows. Done, Stopped, or Failed
// with why: the write, or the rows that could not be read.
ReportResult WriteRows(const text::TextTable& table, const ReportProgress& progress,
                       const std::function<bool(const text::TextRow&)>& write);

// A stored text made safe for a page or a sheet: control bytes other than tab
// and line breaks become blanks (a NUL would end a C string, others are not
// allowed in a sheet). CP932 trail bytes lie above them all.
std::string WithoutControlBytes(std::string_view cp932);

}  // namespace reports
