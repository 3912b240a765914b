#include "reports/report_output.h"

#include <QFileInfo>

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
