#include "reports/report_export.h"

#include <QFileInfo>
#include <QPdfWriter>

#include "reports/csv_report.h"
#include "reports/replacing_file.h"
#include "reports/table_painter.h"
#include "reports/xlsx_report.h"
#include "text/cp932.h"

namespace reports {

namespace {

ReportResult WritePdf(const text::TextTable& table, QIODevice& out, QDate printed,
                      const ReportProgress& progress)
{
    std::vector<text::TextRow> rows;
    const ReportResult read = ReadAllRows(table, rows, progress);
    if (!read.done())
        return read;
    QPdfWriter writer(&out);
    writer.setPageLayout(ReportPageLayout());
    writer.setResolution(300);
    writer.setTitle(text::FromCp932(table.title));
    writer.setCreator(QStringLiteral("k5x7"));
    return TablePainter(table, std::move(rows), printed).Paint(writer, progress);
}

}  // namespace

ReportResult ExportReport(const text::TextTable& table, const ExportRequest& request,
                          const ReportProgress& progress)
{
    ReplacingFile file(request.path);
    if (ReportResult opened = file.Open(); !opened.done())
        return opened;
    ReportResult written;
    switch (request.format) {
        case ReportFormat::Csv:
            written = WriteCsv(table, request.encoding, file.device(), progress);
            break;
        case ReportFormat::Xlsx:
            written = WriteXlsx(table, file.HandOverPath(), QFileInfo(request.path).absolutePath(),
                                progress);
            break;
        case ReportFormat::Pdf:
            written = WritePdf(table, file.device(), request.printed, progress);
            break;
    }
    if (!written.done())
        return written;
    return file.Commit();
}

}  // namespace reports
