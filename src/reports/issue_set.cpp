#include "reports/issue_set.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>

#include "drawings/detail_texts.h"
#include "drawings/drawing_list_report.h"
#include "drawings/drawing_rows.h"
#include "drawings/project_detail_logic.h"
#include "reports/issue_register.h"
#include "reports/pdf_outline.h"
#include "reports/replacing_file.h"
#include "reports/report_texts.h"
#include "reports/table_painter.h"
#include "search/file_state.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace reports {

namespace {

using drawings::Cp932;

// ZMN_n columns in table order.
enum DrawingColumn { kFileName = 1, kPathName = 2, kZumenn = 3, kMtitle = 4 };

constexpr std::chrono::milliseconds kProgressEvery{100};

struct Candidate {
    int node = 0;
    std::string number, title, folder, file;
};

// The branch below `node` (the node itself first), or the whole tree for 0;
// empty when the node is not in the tree.
std::optional<std::vector<drawings::ListedNode>> Branch(std::vector<drawings::ListedNode> tree,
                                                        int node)
{
    if (node == 0)
        return tree;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        if (tree[i].number != node)
            continue;
        std::size_t end = i + 1;
        while (end < tree.size() && tree[end].depth > tree[i].depth)
            ++end;
        return std::vector<drawings::ListedNode>(tree.begin() + static_cast<std::ptrdiff_t>(i),
                                                 tree.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return std::nullopt;
}

// A load on a thread of its own that the waiter may leave behind.
struct Loading {
    std::mutex mutex;
    std::condition_variable changed;
    bool looked = false;
    bool done = false;
    preview::SheetPages pages;
    std::atomic<bool> cancel{false};
};

enum class LoadEnd { Loaded, Silent, Stopped };

LoadEnd LoadWithin(const IssueSetRequest& request, const QString& path,
                   const std::function<bool()>& keepGoing, preview::SheetPages& pages)
{
    auto loading = std::make_shared<Loading>();
    try {
        std::thread([loading, path, load = request.load] {
            preview::SheetPages read = load(path, &loading->cancel, [&loading] {
                const std::lock_guard<std::mutex> lock(loading->mutex);
                loading->looked = true;
                loading->changed.notify_all();
            });
            const std::lock_guard<std::mutex> lock(loading->mutex);
            loading->pages = std::move(read);
            loading->looked = loading->done = true;
            loading->changed.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return LoadEnd::Silent;  // no thread to spare: as good as no answer
    }
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock(loading->mutex);
    for (;;) {
        loading->changed.wait_for(lock, kProgressEvery, [&] { return loading->done; });
        if (loading->done) {
            pages = std::move(loading->pages);
            return LoadEnd::Loaded;
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited > (loading->looked ? request.readTimeout : request.lookTimeout)) {
            loading->cancel = true;
            return LoadEnd::Silent;
        }
        lock.unlock();
        const bool going = keepGoing();
        lock.lock();
        if (!going) {
            loading->cancel = true;
            return LoadEnd::Stopped;
        }
    }
}

text::TextTable FailureTable(const std::vector<IssueSetFailure>& failures)
{
    namespace dt = drawings::detail_texts;
    text::TextTable table;
    table.title = Cp932(texts::kIssueSetLeftOut);
    for (const char* header : {texts::kNumberHeader, dt::kDrawingLabel5, dt::kLabel6,
                               texts::kFileHeader, texts::kReasonHeader})
        table.headers.push_back(Cp932(header));
    table.columnWidths = {36, 110, 200, 300, 250};
    table.numberColumns = {true, false, false, false, false};
    table.headingInSheet = true;
    std::vector<text::TextRow> rows;
    int line = 0;
    for (const IssueSetFailure& failure : failures)
        rows.push_back({std::to_string(++line), failure.drawingNumber, failure.title,
                        text::ToCp932Lossy(failure.file), text::ToCp932Lossy(failure.reason)});
    table.rowCount = static_cast<int>(rows.size());
    table.rows = text::RowsOf(std::move(rows));
    return table;
}

QString Bookmark(const Candidate& drawing)
{
    QString mark = text::FromCp932(drawing.number).trimmed();
    const QString title = text::FromCp932(drawing.title).trimmed();
    if (!title.isEmpty())
        mark += (mark.isEmpty() ? QString() : QStringLiteral(" ")) + title;
    return mark.isEmpty() ? QFileInfo(text::FromCp932(drawing.file)).fileName() : mark;
}

}  // namespace

preview::SheetPages LoadSheets(const QString& path, const std::atomic<bool>* cancel,
                               const std::function<void()>& looked)
{
    // Asking for the file first tells a share that answers from one that does not.
    (void)QFileInfo(path).exists();
    looked();
    return preview::SheetPages::Load(path, cancel);
}

IssueSetSummary WriteIssueSet(storage::Database& db, const IssueSetRequest& request,
                              const ReportProgress& progress)
{
    IssueSetSummary summary;
    drawings::ProjectDetailLogic logic(db, request.projectNo);
    const drawings::ProjectHeader project = logic.ReadProject();
    if (!project.found) {
        summary.result = ReportResult::Failure(texts::kNoSuchProject);
        return summary;
    }
    const std::optional<std::vector<drawings::ListedNode>> branch =
        Branch(drawings::TreeOrder(logic.ReadTree(project.name)), request.node);
    if (!branch) {
        summary.result = ReportResult::Failure(texts::kNoSuchNode);
        return summary;
    }
    std::vector<int> numbers;
    for (const drawings::ListedNode& node : *branch)
        numbers.push_back(node.number);
    const drawings::DrawingRows rows =
        drawings::ReadDrawingRows(db, logic.tables().drawing, numbers);
    std::vector<Candidate> candidates;
    for (const drawings::ListedNode& node : *branch) {
        const auto row = rows.find(node.number);
        if (row == rows.end())
            continue;
        const storage::Row& d = row->second;
        Candidate c{node.number, d[kZumenn], d[kMtitle], d[kPathName], d[kFileName]};
        // A drawing number without a file is a drawing that cannot be put in.
        if (!text::IsBlank(c.file) || !text::IsBlank(c.number))
            candidates.push_back(std::move(c));
    }

    ReplacingFile file(request.path);
    if (summary.result = file.Open(); !summary.result.done())
        return summary;
    QPdfWriter writer(&file.device());
    writer.setResolution(300);
    writer.setTitle(text::Utf8(texts::kIssueSetTitle));
    writer.setCreator(QStringLiteral("k5x7"));
    QPainter painter;
    const auto startPage = [&](const QPageLayout& layout) {
        writer.setPageLayout(layout);
        return painter.isActive() ? writer.newPage() : painter.begin(&writer);
    };
    const int total = static_cast<int>(candidates.size()) + 1;
    int done = 0;
    const auto keepGoing = [&] { return !progress || progress(done, total); };
    const auto stopped = [&] {
        if (painter.isActive())
            painter.end();
        summary.result = {ReportStatus::Stopped, {}};
        return summary;
    };
    const auto failed = [&] {
        if (painter.isActive())
            painter.end();
        summary.result = ReportResult::Failure(texts::kWriteFailed);
        return summary;
    };

    std::vector<OutlineItem> outline{{text::Utf8(texts::kIssueRegisterTitle), 0}};
    std::unordered_set<std::string> silentShares;
    int drawingPages = 0;
    for (const Candidate& drawing : candidates) {
        if (!keepGoing())
            return stopped();
        ++done;
        if (text::IsBlank(drawing.file)) {
            summary.failures.push_back(
                {drawing.number, drawing.title, {}, text::Utf8(texts::kNoFile)});
            continue;
        }
        const std::string share = search::ShareRoot(drawing.folder);
        const QString path = text::FromCp932(drawing.folder + drawing.file);
        IssueSetFailure failure{drawing.number, drawing.title, path, {}};
        if (!share.empty() && silentShares.count(share)) {
            failure.reason = text::Utf8(texts::kNoAnswer);
            summary.failures.push_back(std::move(failure));
            continue;
        }
        preview::SheetPages pages;
        switch (LoadWithin(request, path, keepGoing, pages)) {
            case LoadEnd::Stopped:
                return stopped();
            case LoadEnd::Silent:
                if (!share.empty())
                    silentShares.insert(share);
                failure.reason = text::Utf8(texts::kNoAnswer);
                summary.failures.push_back(std::move(failure));
                continue;
            case LoadEnd::Loaded:
                break;
        }
        if (!pages.printable()) {
            failure.reason = pages.problem();
            summary.failures.push_back(std::move(failure));
            continue;
        }
        outline.push_back({Bookmark(drawing), drawingPages});
        for (int page = 0; page < pages.pages(); ++page) {
            if (!startPage(pages.Place(page, {}).layout))
                return failed();
            pages.PaintOnDevice(painter, writer, page);
            ++drawingPages;
        }
        ++summary.drawings;
    }
    if (!keepGoing())
        return stopped();

    // The cover, written last and moved to the front with the bookmarks.
    IssueRange range;
    range.includeUnissued = true;
    range.nodes = numbers;
    text::TextTable cover = IssueRegisterTable(db, request.projectNo, range);
    if (request.node != 0)
        cover.headingLines.push_back(Cp932(drawings::detail_texts::kReportNodeLabel) +
                                     branch->front().name);
    std::vector<text::TextRow> coverRows;
    if (ReportResult read = ReadAllRows(cover, coverRows); !read.done()) {
        if (painter.isActive())
            painter.end();
        summary.result = read;
        return summary;
    }
    const TablePainter coverPainter(cover, std::move(coverRows), request.printed);
    if (!startPage(ReportPageLayout()))
        return failed();
    const int firstCoverPage = drawingPages;
    if (!coverPainter.PaintOn(painter, writer, false).done())
        return failed();
    int coverPages = coverPainter.PageCount(writer);
    if (!summary.failures.empty()) {
        const text::TextTable leftOut = FailureTable(summary.failures);
        std::vector<text::TextRow> leftRows;
        ReadAllRows(leftOut, leftRows);
        const TablePainter leftPainter(leftOut, std::move(leftRows), request.printed);
        if (!leftPainter.PaintOn(painter, writer, true).done())
            return failed();
        coverPages += leftPainter.PageCount(writer);
    }
    if (!painter.end())
        return failed();

    summary.pages = drawingPages + coverPages;
    std::vector<int> order;
    for (int page = 0; page < coverPages; ++page)
        order.push_back(firstCoverPage + page);
    for (int page = 0; page < drawingPages; ++page)
        order.push_back(page);
    for (std::size_t i = 1; i < outline.size(); ++i)
        outline[i].page += coverPages;
    if (!AppendOutline(file.device(), order, outline)) {
        summary.result = ReportResult::Failure(texts::kWriteFailed);
        return summary;
    }
    summary.result = file.Commit();
    if (progress)
        progress(total, total);
    return summary;
}

}  // namespace reports
