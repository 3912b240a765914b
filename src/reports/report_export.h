#pragma once
// A list written to a file in the format its name asks for, through a
// temporary file beside it that takes the target's place only when complete.
// The screens and the command line write through here alike.

#include <QDate>
#include <QString>

#include "reports/report_output.h"
#include "text/text_table.h"

namespace reports {

struct ExportRequest {
    QString path;
    ReportFormat format = ReportFormat::Csv;
    CsvEncoding encoding = CsvEncoding::Cp932;
    QDate printed = QDate();  // for the page heads of a PDF
};

ReportResult ExportReport(const text::TextTable& table, const ExportRequest& request,
                          const ReportProgress& progress = {});

}  // namespace reports
