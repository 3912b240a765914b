#include "reports/csv_report.h"

#include <string_view>

#include "reports/report_texts.h"
#include "text/cp932.h"
#include "text/csv.h"

namespace reports {

namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

// A spreadsheet opening the file would run a cell that starts like a formula
// (=, +, -, @, or a tab or CR before one): a stored text must never become a command. A leading
// apostrophe makes it text there; a plain signed number stays as it is.
bool ReadsAsFormula(std::string_view cell)
{
    if (cell.empty() || std::string_view("=+-@\t\r").find(cell.front()) == std::string_view::npos)
        return false;
    const std::string_view rest = cell.substr(1);
    const bool number = (cell.front() == '+' || cell.front() == '-') && !rest.empty() &&
                        rest.find_first_not_of("0123456789.") == std::string_view::npos;
    return !number;
}

class CsvSink {
public:
    CsvSink(CsvEncoding encoding, QIODevice& out) : encoding_(encoding), out_(out) {}

    bool Add(const text::TextRow& row)
    {
        fields_.clear();
        for (const std::string& cell : row) {
            std::string clean = WithoutControlBytes(cell);
            if (ReadsAsFormula(clean))
                clean.insert(0, 1, '\'');
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
