#pragma once
// The issue set (出図セット): one PDF that goes with a delivery. Its cover is
// the issue register of a branch of the tree (or of the whole project), with
// the drawings that could not be put in listed after it and why; then every
// registered drawing of the branch in tree order, each page on its own paper
// at scale, bookmarked by drawing number.
//
// Files are read one at a time on a thread of their own, so memory does not
// grow with the number of drawings and a share that stopped answering costs
// at most the time-out: its file is listed as not answering, and the other
// files of the same share are not waited for again. The target is replaced
// only once the whole set is written.

#include <QDate>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "preview/sheet_pages.h"
#include "reports/report_output.h"
#include "storage/database.h"

namespace reports {

// Reads one file; `looked` is called once the file system has answered
// whether the file is there (the reading after that may take longer).
using SheetLoader = std::function<preview::SheetPages(
    const QString& path, const std::atomic<bool>* cancel, const std::function<void()>& looked)>;

preview::SheetPages LoadSheets(const QString& path, const std::atomic<bool>* cancel,
                               const std::function<void()>& looked);

struct IssueSetRequest {
    int projectNo = 0;
    int node = 0;  // the branch's top node; 0 for the whole project
    QString path;
    QDate printed;
    std::chrono::milliseconds lookTimeout{3000};   // until the file system answers
    std::chrono::milliseconds readTimeout{60000};  // until the file is read
    SheetLoader load = LoadSheets;
};

struct IssueSetFailure {
    std::string drawingNumber;  // CP932, as stored
    std::string title;          // CP932, as stored
    QString file;
    QString reason;
};

struct IssueSetSummary {
    ReportResult result;
    int drawings = 0;  // drawings put in
    int pages = 0;     // all pages, the cover's too
    std::vector<IssueSetFailure> failures;
};

// Progress counts drawings, then the cover.
IssueSetSummary WriteIssueSet(storage::Database& db, const IssueSetRequest& request,
                              const ReportProgress& progress = {});

}  // namespace reports
