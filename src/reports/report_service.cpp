#include "reports/report_service.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>
#include <memory>

#include "reports/issue_register_dialog.h"
#include "reports/issue_set.h"
#include "reports/report_export.h"
#include "reports/report_texts.h"
#include "reports/table_painter.h"
#include "text/cp932.h"
#include "widgets/print_preview.h"

namespace reports {

namespace {

constexpr int kShowProgressAfterMs = 1000;

// The box appears only once the work has taken a while; while it is up it is
// modal to the whole application, so nothing else uses the database meanwhile.
class Progress {
public:
    Progress(QWidget* parent, const char* label)
        : dialog_(text::Utf8(label), text::Utf8(texts::kStop), 0, 0, parent)
    {
        dialog_.setObjectName(QStringLiteral("ReportProgress"));
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setMinimumDuration(kShowProgressAfterMs);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }

    ReportProgress Callback()
    {
        return [this](int done, int total) {
            if (total > 0 && dialog_.maximum() != total)
                dialog_.setRange(0, total);
            dialog_.setValue(total > 0 ? std::min(done, total) : done % 100);
            return !dialog_.wasCanceled();
        };
    }

private:
    QProgressDialog dialog_;
};

QString FileNameOf(const text::TextTable& table, const char* extension)
{
    QString name = text::FromCp932(table.title);
    for (QChar& c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return name + QLatin1String(extension);
}

void DesktopPrint(QWidget* parent, QPrinter& printer, int pages,
                  const std::function<ReportResult(QPrinter&)>& paint)
{
    widgets::PreviewOrPrint(parent, printer, pages, [&paint](QPrinter& target) { paint(target); });
}

}  // namespace

OutputDialogs DesktopOutputDialogs()
{
    return {widgets::AskSaveFile, DesktopPrint, [](QDialog* dialog) { dialog->exec(); }};
}

ReportService::ReportService(storage::Database& db, widgets::UiPorts& ports, OutputDialogs dialogs)
    : db_(db), ports_(ports), dialogs_(std::move(dialogs))
{}

void ReportService::Output(QWidget* parent, widgets::ListFormat format,
                           const text::TextTable& table)
{
    if (format == widgets::ListFormat::Print)
        Print(parent, table);
    else
        Save(parent, format, table);
}

void ReportService::Save(QWidget* parent, widgets::ListFormat format, const text::TextTable& table)
{
    SaveRequest request;
    ExportRequest exportRequest;
    const char* extension = ".csv";
    switch (format) {
        case widgets::ListFormat::Excel:
            request.caption = text::Utf8(texts::kExcelCaption);
            request.filters = QStringList{text::Utf8(texts::kExcelFilter)};
            exportRequest.format = ReportFormat::Xlsx;
            extension = ".xlsx";
            break;
        case widgets::ListFormat::Pdf:
            request.caption = text::Utf8(texts::kPdfCaption);
            request.filters = QStringList{text::Utf8(texts::kPdfFilter)};
            exportRequest.format = ReportFormat::Pdf;
            extension = ".pdf";
            break;
        default:
            request.caption = text::Utf8(texts::kCsvCaption);
            request.filters =
                QStringList{text::Utf8(texts::kCsvCp932Filter), text::Utf8(texts::kCsvUtf8Filter)};
            break;
    }
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    request.folder = folder_;
    request.fileName = FileNameOf(table, extension);

    const SaveChoice choice = dialogs_.chooseSaveFile(parent, request);
    if (choice.path.isEmpty())
        return;
    exportRequest.path = choice.path;
    if (!exportRequest.path.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
        exportRequest.path += QLatin1String(extension);
    exportRequest.encoding = choice.filter == 1 ? CsvEncoding::Utf8Bom : CsvEncoding::Cp932;
    exportRequest.printed = ports_.Today();
    folder_ = QFileInfo(exportRequest.path).absolutePath();

    ReportResult result;
    {
        Progress progress(parent, texts::kWriting);
        result = ExportReport(table, exportRequest, progress.Callback());
    }
    const QString where = QDir::toNativeSeparators(exportRequest.path);
    if (result.done())
        ports_.Inform(parent, text::Utf8(texts::kWritten) + QLatin1Char('\n') + where);
    else if (result.status == ReportStatus::Failed)
        ports_.Inform(parent, result.message + QLatin1Char('\n') + where);
}

void ReportService::Print(QWidget* parent, const text::TextTable& table)
{
    std::vector<text::TextRow> rows;
    ReportResult read;
    {
        Progress progress(parent, texts::kPrinting);
        read = ReadAllRows(table, rows, progress.Callback());
    }
    if (read.status == ReportStatus::Failed)
        ports_.Inform(parent, read.message);
    if (!read.done())
        return;

    const TablePainter painter(table, std::move(rows), ports_.Today());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(ReportPageLayout());
    printer.setDocName(text::FromCp932(table.title));
    bool failed = false;
    dialogs_.print(parent, printer, painter.PageCount(printer), [&](QPrinter& target) {
        Progress progress(parent, texts::kPrinting);
        ReportResult painted = painter.Paint(target, progress.Callback());
        failed = failed || painted.status == ReportStatus::Failed;
        return painted;
    });
    if (failed)
        ports_.Inform(parent, text::Utf8(texts::kPrintFailed));
}

void ReportService::IssueRegister(QWidget* parent, int projectNo)
{
    IssueRegisterDialog dialog(
        ports_,
        [this, projectNo, &dialog](widgets::ListFormat format, const IssueRange& range) {
            Output(&dialog, format, IssueRegisterTable(db_, projectNo, range));
        },
        parent);
    dialogs_.run(&dialog);
}

void ReportService::IssueSet(QWidget* parent, int projectNo, int node)
{
    SaveRequest request;
    request.caption = text::Utf8(texts::kIssueSetCaption);
    request.filters = QStringList{text::Utf8(texts::kPdfFilter)};
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    request.folder = folder_;
    request.fileName = text::Utf8(texts::kIssueSetTitle) + QStringLiteral(".pdf");
    IssueSetRequest set;
    set.path = dialogs_.chooseSaveFile(parent, request).path;
    if (set.path.isEmpty())
        return;
    if (!set.path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        set.path += QLatin1String(".pdf");
    folder_ = QFileInfo(set.path).absolutePath();
    set.projectNo = projectNo;
    set.node = node;
    set.printed = ports_.Today();
    IssueSetSummary summary;
    {
        Progress progress(parent, texts::kIssueSetProgress);
        summary = WriteIssueSet(db_, set, progress.Callback());
    }
    const QString where = QDir::toNativeSeparators(set.path);
    if (summary.result.status == ReportStatus::Failed)
        ports_.Inform(parent, summary.result.message + QLatin1Char('\n') + where);
    if (!summary.result.done())
        return;
    QString message = text::Utf8(texts::kIssueSetWritten).arg(summary.drawings).arg(summary.pages);
    if (!summary.failures.empty())
        message += QLatin1Char('\n') +
                   text::Utf8(texts::kIssueSetLeftOutCount).arg(summary.failures.size());
    ports_.Inform(parent, message + QLatin1Char('\n') + where);
}

}  // namespace reports
