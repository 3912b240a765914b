#include "reports/xlsx_report.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <charconv>

#include "preview/thumbnail_helper.h"
#include "reports/report_texts.h"
#include "reports/sheet_check.h"
#include "reports/table_stream.h"
#include "text/platform.h"

namespace reports {

namespace {

// Rows buffered for the helper beyond this wait until it has taken them.
constexpr qint64 kBufferedBytes = 256 * 1024;
constexpr int kPollMs = 100;
// A helper that ended by itself has closed its end of the pipe at once.
constexpr int kEndingMs = 5000;

int LimitMs()
{
    return static_cast<int>(kXlsxHelperTimeLimit.count());
}

// False once the helper has ended, or has not taken rows within the limit.
bool Send(QProcess& helper, const QByteArray& bytes)
{
    if (helper.write(bytes) != bytes.size())
        return false;
    while (helper.bytesToWrite() > kBufferedBytes)
        if (!helper.waitForBytesWritten(LimitMs()))
            return false;
    return true;
}

void Kill(QProcess& helper)
{
    helper.kill();
    helper.waitForFinished(kEndingMs);
}

// Why the helper failed, as one of the texts a workbook's failure has; a
// crash, a kill or anything it did not say is a failed write.
ReportResult HelperFailure(QProcess& helper)
{
    const QString said = QString::fromUtf8(helper.readAllStandardError());
    if (helper.exitStatus() == QProcess::NormalExit && helper.exitCode() != 0)
        for (const char* known : {texts::kCannotCreate, texts::kTooManyRows})
            if (said.contains(QString::fromUtf8(known)))
                return ReportResult::Failure(known);
    return ReportResult::Failure(texts::kWriteFailed);
}

// Waits for the helper to finish the workbook, telling progress meanwhile. It
// counts as hung once the file has not grown within the limit (a long list to
// a slow share takes long, but the file grows all the while).
ReportResult Finish(QProcess& helper, const QString& path, const ReportProgress& progress, int rows,
                    int total)
{
    QDeadlineTimer deadline(kXlsxHelperTimeLimit);
    qint64 size = -1;
    while (helper.state() != QProcess::NotRunning && !helper.waitForFinished(kPollMs)) {
        if (progress && !progress(rows, total)) {
            Kill(helper);
            return {ReportStatus::Stopped, {}};
        }
        if (const qint64 now = QFileInfo(path).size(); now != size) {
            size = now;
            deadline.setRemainingTime(kXlsxHelperTimeLimit);
        } else if (deadline.hasExpired()) {
            Kill(helper);
            return ReportResult::Failure(texts::kWriteFailed);
        }
    }
    return {};
}

// The last row the helper says it filled; none when it said no number.
std::optional<std::uint32_t> LastRowSaid(QProcess& helper)
{
    const QByteArray said = helper.readAllStandardOutput().trimmed();
    std::uint32_t row = 0;
    const auto [end, error] = std::from_chars(said.data(), said.data() + said.size(), row);
    if (said.isEmpty() || error != std::errc() || end != said.data() + said.size())
        return std::nullopt;
    return row;
}

}  // namespace

ReportResult WriteXlsx(const text::TextTable& table, const QString& path,
                       const QString& scratchFolder, const ReportProgress& progress)
{
    const QString program = preview::FindAdminHelper("K5X7_XLSX_HELPER");
    if (program.isEmpty())
        return ReportResult::Failure(texts::kNoWorkbookHelper);
    // Removed after the helper, declared below, has ended: whatever the helper
    // did, its scratch files go with the folder.
    const QTemporaryDir scratch(scratchFolder + QStringLiteral("/.k5x7-XXXXXX"));
    QProcess helper;
    text::LimitHelperProcess(helper, kXlsxHelperMemoryBytes);
    QStringList arguments{QStringLiteral("xlsx"), path};
    if (scratch.isValid())
        arguments << QStringLiteral("--scratch") << scratch.path();
    helper.start(program, arguments);
    if (!helper.waitForStarted(LimitMs()))
        return ReportResult::Failure(texts::kNoWorkbookHelper);

    int sent = 0;
    bool lost = !Send(helper, TableHeadLines(table));
    const ReportResult rows = lost ? ReportResult::Failure(texts::kWriteFailed)
                                   : WriteRows(table, progress, [&](const text::TextRow& row) {
                                         lost = !Send(helper, TableRowLine(row));
                                         sent += lost ? 0 : 1;
                                         return !lost;
                                     });
    if (!lost && !rows.done()) {
        Kill(helper);
        return rows;
    }
    lost = lost || !Send(helper, TableEndLine());
    helper.closeWriteChannel();
    if (lost) {
        // The helper stopped taking rows: it failed and says why, or hangs.
        if (!helper.waitForFinished(kEndingMs))
            Kill(helper);
        return HelperFailure(helper);
    }
    if (const ReportResult finished = Finish(helper, path, progress, sent, table.rowCount);
        !finished.done())
        return finished;
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0)
        return HelperFailure(helper);
    // A scratch file that could not be written shows only here: rows are missing.
    const std::optional<std::uint32_t> lastRow = LastRowSaid(helper);
    if (!lastRow || LastSheetRow(path) != *lastRow)
        return ReportResult::Failure(texts::kWriteFailed);
    return {};
}

}  // namespace reports
