#include "reports/report_output.h"

#include <QFileInfo>

#include "reports/report_texts.h"

namespace reports {

std::optional<ReportFormat> FormatOfPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return ReportFormat::Csv;
    if (suffix == QLatin1String("xlsx"))
        return ReportFormat::Xlsx;
    if (suffix == QLatin1String("pdf"))
        return ReportFormat::Pdf;
    return std::nullopt;
}

ReportResult WriteRows(const text::TextTable& table, const ReportProgress& progress,
                       const std::function<bool(const text::TextRow&)>& write)
{
    constexpr int kProgressEvery = 256;
    int done = 0;
    bool writeFailed = false;
    bool stopped = progress && !progress(0, table.rowCount);
    const bool read = stopped || !table.rows || table.rows([&](const text::TextRow& row) {
        if (!write(row)) {
            writeFailed = true;
            return false;
        }
        if (++done % kProgressEvery == 0 && progress && !progress(done, table.rowCount)) {
            stopped = true;
            return false;
        }
        return true;
    });
    if (writeFailed)
        return ReportResult::Failure(texts::kWriteFailed);
    if (stopped)
        return {ReportStatus::Stopped, {}};
    if (!read)
        return ReportResult::Failure(texts::kReadFailed);
    return {};
}

std::string WithoutControlBytes(std::string_view cp932)
{
    std::string out(cp932);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F)
            c = ' ';
    }
    return out;
}

}  // namespace reports
