#include "tools/admin/xlsx_writer.h"

#include <xlsxwriter.h>

#include <QFile>
#include <memory>

#include "reports/report_texts.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace admin {

using reports::ReportResult;

namespace {

constexpr int kSheetNameLength = 31;
// Whole numbers up to this many digits are exact in a sheet's numbers.
constexpr std::size_t kExactDigits = 15;

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

// A sheet cell's text: UTF-8, one kind of line break, no control bytes.
std::string SheetText(const std::string& cp932)
{
    std::string utf8 = text::FromCp932(reports::WithoutControlBytes(cp932)).toStdString();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r') {
            out += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

// A stored whole number as written, without leading zeros that a number would drop.
bool IsPlainWholeNumber(const std::string& cell)
{
    const std::size_t start = !cell.empty() && cell[0] == '-' ? 1 : 0;
    const std::string_view digits = std::string_view(cell).substr(start);
    return !digits.empty() && digits.size() <= kExactDigits && text::IsAllDigits(digits) &&
           (digits.size() == 1 || digits[0] != '0');
}

// The sheet's name: the list's title without the characters a sheet name
// cannot hold, cut to the length it may have.
std::string SheetName(const std::string& titleCp932)
{
    QString name = text::FromCp932(titleCp932);
    for (QChar& c : name)
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    name = name.left(kSheetNameLength);
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    return name.isEmpty() ? std::string("Sheet1") : name.toStdString();
}

class SheetWriter {
public:
    SheetWriter(lxw_workbook* workbook, lxw_worksheet* sheet)
        : sheet_(sheet), bold_(workbook_add_format(workbook))
    {
        format_set_bold(bold_);
    }

    // False once a row would pass the sheet's last row or a write failed.
    bool Row(const text::TextRow& cells, const text::TextTable& table, bool header)
    {
        if (row_ >= LXW_ROW_MAX) {
            tooMany_ = true;
            return false;
        }
        for (std::size_t c = 0; c < cells.size() && c < LXW_COL_MAX; ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            const std::string& cell = cells[c];
            lxw_error error = LXW_NO_ERROR;
            if (cell.empty())
                continue;
            if (!header && table.IsNumberColumn(c) && IsPlainWholeNumber(cell))
                error = worksheet_write_number(sheet_, row_, col, std::stod(cell), nullptr);
            else
                error = worksheet_write_string(sheet_, row_, col, SheetText(cell).c_str(),
                                               header ? bold_ : nullptr);
            if (error != LXW_NO_ERROR)
                return false;
            lastFilled_ = row_ + 1;
        }
        ++row_;
        return true;
    }

    bool Line(const std::string& cp932, bool bold)
    {
        if (row_ >= LXW_ROW_MAX) {
            tooMany_ = true;
            return false;
        }
        if (!cp932.empty()) {
            if (worksheet_write_string(sheet_, row_, 0, SheetText(cp932).c_str(),
                                       bold ? bold_ : nullptr) != LXW_NO_ERROR)
                return false;
            lastFilled_ = row_ + 1;
        }
        ++row_;
        return true;
    }

    lxw_row_t row() const { return row_; }
    // The sheet's number of the last row with a cell, 0 for none.
    std::uint32_t lastFilled() const { return lastFilled_; }
    bool tooMany() const { return tooMany_; }

private:
    lxw_worksheet* sheet_;
    lxw_format* bold_;
    lxw_row_t row_ = 0;
    std::uint32_t lastFilled_ = 0;
    bool tooMany_ = false;
};

}  // namespace

double SheetColumnWidth(int pixels)
{
    // The default font's digit is 7 pixels wide, with 5 pixels of padding.
    return std::max(1.0, (pixels - 5) / 7.0);
}

WrittenWorkbook WriteXlsx(const text::TextTable& table, const QString& path,
                          const QString& scratchFolder, const reports::ReportProgress& progress)
{
    QByteArray scratch = QFile::encodeName(scratchFolder);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = scratchFolder.isEmpty() ? nullptr : scratch.data();
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(
        workbook_new_opt(QFile::encodeName(path).constData(), &options));
    if (!workbook)
        return {ReportResult::Failure(reports::texts::kCannotCreate)};
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), SheetName(table.title).c_str());
    if (!sheet)
        sheet = workbook_add_worksheet(workbook.get(), nullptr);
    if (!sheet)
        return {ReportResult::Failure(reports::texts::kWriteFailed)};
    for (std::size_t c = 0; c < table.columnWidths.size() && c < LXW_COL_MAX; ++c)
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             SheetColumnWidth(table.columnWidths[c]), nullptr);

    SheetWriter writer(workbook.get(), sheet);
    bool written = true;
    if (table.headingInSheet) {
        written = writer.Line(table.title, true);
        for (const std::string& line : table.headingLines)
            written = written && writer.Line(line, false);
        written = written && writer.Line(std::string(), false);
    }
    written = written && writer.Row(table.headers, table, true);
    worksheet_freeze_panes(sheet, writer.row(), 0);

    const ReportResult rows = written ? reports::WriteRows(table, progress,
                                                           [&](const text::TextRow& row) {
                                                               return writer.Row(row, table, false);
                                                           })
                                      : ReportResult::Failure(reports::texts::kWriteFailed);
    if (rows.done() && table.headingInSheet && !table.footer.empty())
        written = writer.Line(std::string(), false) && writer.Line(table.footer, false);

    if (writer.tooMany())
        return {ReportResult::Failure(reports::texts::kTooManyRows)};
    if (!rows.done())
        return {rows};
    if (!written || workbook_close(workbook.release()) != LXW_NO_ERROR)
        return {ReportResult::Failure(reports::texts::kWriteFailed)};
    return {{}, writer.lastFilled()};
}

}  // namespace admin
