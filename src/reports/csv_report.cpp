#include "reports/csv_report.h"

#include "reports/report_texts.h"
#include "text/cp932.h"
#include "text/csv.h"

namespace reports {

namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

class CsvSink {
public:
    CsvSink(CsvEncoding encoding, QIODevice& out) : encoding_(encoding), out_(out) {}

    bool Add(const text::TextRow& row)
    {
        fields_.clear();
        for (const std::string& cell : row) {
            std::string clean = WithoutControlBytes(cell);
            if (encoding_ == CsvEncoding::Utf8Bom)
                clean = text::FromCp932(clean).toStdString();
            fields_.push_back(std::move(clean));
        }
        block_ += text::CsvLine(fields_);
        return block_.size() < kBlockBytes || Flush();
    }

    bool Flush()
    {
        const auto size = static_cast<qint64>(block_.size());
        const bool ok = size == 0 || out_.write(block_.data(), size) == size;
        block_.clear();
        return ok;
    }

private:
    CsvEncoding encoding_;
    QIODevice& out_;
    std::vector<std::string> fields_;
    std::string block_;
};

}  // namespace

ReportResult WriteCsv(const text::TextTable& table, CsvEncoding encoding, QIODevice& out,
                      const ReportProgress& progress)
{
    CsvSink sink(encoding, out);
    if (encoding == CsvEncoding::Utf8Bom && out.write(text::kUtf8Bom) != 3)
        return ReportResult::Failure(texts::kWriteFailed);
    if (!sink.Add(table.headers))
        return ReportResult::Failure(texts::kWriteFailed);

    const ReportResult rows =
        WriteRows(table, progress, [&](const text::TextRow& row) { return sink.Add(row); });
    if (rows.status == ReportStatus::Failed || !sink.Flush())
        return rows.done() ? ReportResult::Failure(texts::kWriteFailed) : rows;
    return rows;
}

}  // namespace reports
