#include "tools/admin/report_command.h"

#include <QDate>
#include <QFile>
#include <optional>
#include <ostream>

#include "reports/issue_set.h"
#include "reports/report_export.h"
#include "reports/report_kinds.h"
#include "reports/report_texts.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "tools/admin/report_texts.h"
#include "tools/admin/seeder.h"

namespace admin {

namespace {

struct ReportCommandLine {
    std::string database;
    std::optional<reports::ReportKind> kind;
    std::string out;
    reports::ReportRequest request;
    reports::CsvEncoding encoding = reports::CsvEncoding::Cp932;
    QDate printed = QDate::currentDate();
    bool issueSet = false;
    int node = 0;
};

constexpr char kIssueSet[] = "issue-set";

// The error to show, or empty when the arguments make a command.
std::string Parse(const std::vector<std::string>& args, ReportCommandLine& command)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--include-unissued") {
            command.request.range.includeUnissued = true;
            continue;
        }
        if (arg != "--project" && arg != "--from" && arg != "--to" && arg != "--out" &&
            arg != "--encoding" && arg != "--printed" && arg != "--node")
            return report_texts::kUnknownOption + arg;
        if (i + 1 >= args.size())
            return report_texts::kNeedsValue + arg;
        const std::string& value = args[++i];
        if (arg == "--project")
            command.request.projectNo = text::IsAllDigits(value) ? text::StrToIntOrZero(value) : 0;
        else if (arg == "--node" && text::IsAllDigits(value))
            command.node = text::StrToIntOrZero(value);
        else if (arg == "--node")
            return report_texts::kBadNode;
        else if (arg == "--from")
            command.request.range.from = value;
        else if (arg == "--to")
            command.request.range.to = value;
        else if (arg == "--out")
            command.out = value;
        else if (arg == "--encoding" && (value == "cp932" || value == "utf8"))
            command.encoding =
                value == "utf8" ? reports::CsvEncoding::Utf8Bom : reports::CsvEncoding::Cp932;
        else if (arg == "--encoding")
            return report_texts::kBadEncoding;
        else if (text::IsValidDateString(value))
            command.printed = QDate::fromString(QString::fromStdString(value), "yyyyMMdd");
        else
            return report_texts::kBadPrinted;
    }
    if (positional.size() != 2 || command.out.empty())
        return report_texts::kNeedsArguments;
    command.database = positional[0];
    if (positional[1] == kIssueSet) {
        command.issueSet = true;
        if (command.request.projectNo < 1)
            return report_texts::kNeedsProject;
        if (reports::FormatOfPath(QFile::decodeName(command.out.c_str())) !=
            reports::ReportFormat::Pdf)
            return report_texts::kIssueSetNeedsPdf;
        return std::string();
    }
    command.kind = reports::KindOfName(positional[1]);
    if (!command.kind)
        return report_texts::kUnknownKind + positional[1];
    command.request.kind = *command.kind;
    if (reports::NeedsProject(*command.kind) && command.request.projectNo < 1)
        return report_texts::kNeedsProject;
    if (!reports::FormatOfPath(QFile::decodeName(command.out.c_str())))
        return reports::texts::kUnknownFormat;
    const reports::RangeCheck range = reports::CheckIssueRange(command.request.range);
    if (!range.message.isEmpty())
        return range.message.toStdString();
    return std::string();
}

bool ProjectExists(storage::Database& db, int projectNo)
{
    storage::Row row(storage::kProjectColumns);
    return db.TableExists("ZPROJECT") &&
           db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(projectNo), row) >= 0;
}

int WriteIssueSet(storage::Database& db, const ReportCommandLine& command, std::ostream& out,
                  std::ostream& err)
{
    reports::IssueSetRequest request;
    request.projectNo = command.request.projectNo;
    request.node = command.node;
    request.path = QFile::decodeName(command.out.c_str());
    request.printed = command.printed;
    const reports::IssueSetSummary summary = reports::WriteIssueSet(db, request);
    if (!summary.result.done()) {
        err << report_texts::kPrefix
            << (summary.result.message.isEmpty() ? std::string(report_texts::kStopped)
                                                 : summary.result.message.toStdString())
            << ": " << command.out << "\n";
        return 1;
    }
    out << reports::texts::kWritten << " " << command.out << "\n"
        << QString::fromUtf8(reports::texts::kIssueSetWritten)
               .arg(summary.drawings)
               .arg(summary.pages)
               .toStdString()
        << "\n";
    for (const reports::IssueSetFailure& failure : summary.failures)
        out << report_texts::kLeftOut << text::FromCp932(failure.drawingNumber).toStdString() << " "
            << failure.file.toStdString() << ": " << failure.reason.toStdString() << "\n";
    return 0;
}

}  // namespace

int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& arg : args)
        if (arg == "-h" || arg == "--help") {
            out << report_texts::kUsage;
            return 0;
        }
    ReportCommandLine command;
    if (const std::string error = Parse(args, command); !error.empty()) {
        err << report_texts::kPrefix << error << "\n" << report_texts::kUsage;
        return 2;
    }

    storage::Database db;
    db.ConnectDatabase(seed::AbsoluteDatabasePath(command.database));
    if (!db.Connected()) {
        err << report_texts::kPrefix << report_texts::kCannotConnect << command.database << "\n";
        return 1;
    }
    if ((command.issueSet || reports::NeedsProject(command.request.kind)) &&
        !ProjectExists(db, command.request.projectNo)) {
        err << report_texts::kPrefix << report_texts::kNoProject << command.request.projectNo
            << "\n";
        return 1;
    }

    if (command.issueSet)
        return WriteIssueSet(db, command, out, err);
    const QString path = QFile::decodeName(command.out.c_str());
    const text::TextTable table = reports::TableOfKind(db, command.request);
    const reports::ReportResult result = reports::ExportReport(
        table, {path, *reports::FormatOfPath(path), command.encoding, command.printed});
    if (!result.done()) {
        err << report_texts::kPrefix
            << (result.message.isEmpty() ? std::string(report_texts::kStopped)
                                         : result.message.toStdString())
            << ": " << command.out << "\n";
        return 1;
    }
    out << reports::texts::kWritten << " " << command.out << "\n";
    return 0;
}

}  // namespace admin
