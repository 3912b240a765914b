// The issue set PDF from the real database: cover first, drawings in tree
// order on their own paper, bookmarks, the cover's list of what was left out,
// a share that stopped answering, and a stop that leaves nothing behind.

#include "reports/issue_set.h"

#include <poppler-qt6.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <thread>

#include "common/outside_tools.h"
#include "preview/preview_texts.h"
#include "reports/report_fixture.h"
#include "reports/report_texts.h"
#include "tools/admin/jww_writer.h"

using namespace testing_support;

namespace {

class IssueSetTest : public ReportDatabaseTest {
protected:
    void SetUp() override
    {
        ReportDatabaseTest::SetUp();
        drawingFolder = folder.file("drawings/");
        QDir().mkpath(QString::fromStdString(drawingFolder));
        WriteDrawing("a.jww", 3);  // A-101 on A3
        WriteDrawing("s.jww", 2);  // S-201 on A2; b.jww is missing
        SetFolder("3, 4, 5", drawingFolder);
    }

    void WriteDrawing(const std::string& name, std::uint32_t paper)
    {
        jww_writer::JwwFile drawing;
        drawing.paper = paper;
        drawing.elements = {jww_writer::Line(-100, 0, 100, 0)};
        QFile file(QString::fromStdString(drawingFolder + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = drawing.Bytes();
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    void SetFolder(const std::string& nodes, const std::string& where)
    {
        ASSERT_TRUE(
            db.UpdateSet("ZMN_7", "PATH_NAME=" + text::SqlText(where), "N IN (" + nodes + ")"));
    }

    reports::IssueSetRequest Request(const char* name, int node = 0)
    {
        reports::IssueSetRequest request;
        request.projectNo = kProject;
        request.node = node;
        request.path = QString::fromStdString(folder.file(name));
        request.printed = QDate(2024, 4, 1);
        return request;
    }

    std::string drawingFolder;
};

struct PdfFacts {
    std::vector<QSizeF> pages;                       // millimetres
    std::vector<std::pair<QString, int>> bookmarks;  // title, page from 1
};

PdfFacts Read(const QString& path)
{
    PdfFacts facts;
    const std::unique_ptr<Poppler::Document> pdf = Poppler::Document::load(path);
    if (!pdf)
        return facts;
    for (int i = 0; i < pdf->numPages(); ++i)
        facts.pages.push_back(pdf->page(i)->pageSizeF() * (25.4 / 72));
    for (const Poppler::OutlineItem& item : pdf->outline())
        facts.bookmarks.emplace_back(item.name(),
                                     item.destination() ? item.destination()->pageNumber() : -1);
    return facts;
}

// Width and height rounded to whole millimetres.
std::vector<QSize> Rounded(const std::vector<QSizeF>& sizes)
{
    std::vector<QSize> rounded;
    for (const QSizeF& size : sizes)
        rounded.push_back(size.toSize());
    return rounded;
}

QString Text(const QString& path, int page)
{
    return QString::fromStdString(RunTool(
        "pdftotext", {"-f", QString::number(page), "-l", QString::number(page), path, "-"}));
}

}  // namespace

TEST_F(IssueSetTest, CoverFirstThenTheBranchInTreeOrderOnTheirPapersWithBookmarks)
{
    if (!testing_support::ToolAvailable("pdftotext"))
        GTEST_SKIP() << "pdftotext is not on this machine";
    reports::IssueSetRequest request = Request("set.pdf");
    std::vector<int> progress;
    const reports::IssueSetSummary all = reports::WriteIssueSet(db, request, [&](int done, int) {
        progress.push_back(done);
        return true;
    });
    ASSERT_TRUE(all.result.done()) << all.result.message.toStdString();
    EXPECT_EQ(all.drawings, 2);
    EXPECT_EQ(progress.back(), 5);  // three files, X-1 without one, and the cover
    const PdfFacts facts = Read(request.path);
    // The register and the list of what was left out on A4, then A-101 (A3) and S-201 (A2).
    EXPECT_EQ(Rounded(facts.pages),
              (std::vector<QSize>{{297, 210}, {297, 210}, {420, 297}, {594, 420}}));
    EXPECT_EQ(facts.bookmarks,
              (std::vector<std::pair<QString, int>>{{QStringLiteral("出図表"), 1},
                                                    {QStringLiteral("A-101 表題A-101"), 3},
                                                    {QStringLiteral("S-201 表題S-201"), 4}}));
    const QString cover = Text(request.path, 1);
    for (const char* expected : {"出図表", "A-101", "S-201", "X-1", "受領印"})
        EXPECT_TRUE(cover.contains(QString::fromUtf8(expected))) << expected;
    const QString leftOut = Text(request.path, 2);
    for (const char* expected : {reports::texts::kIssueSetLeftOut, "b.jww",
                                 preview::texts::kMissing, "X-1", reports::texts::kNoFile})
        EXPECT_TRUE(leftOut.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(leftOut.contains(QStringLiteral("S-201")));
    ASSERT_EQ(all.failures.size(), 2u);
    EXPECT_EQ(all.failures[0].drawingNumber, "");  // A-102 has none, in tree order first
    EXPECT_EQ(all.failures[1].drawingNumber, "X-1");

    // The branch 構造図 alone: its register and S-201; a node not in the tree fails.
    const reports::IssueSetSummary branch = reports::WriteIssueSet(db, Request("branch.pdf", 2));
    ASSERT_TRUE(branch.result.done());
    const PdfFacts branchFacts = Read(Request("branch.pdf").path);
    EXPECT_EQ(Rounded(branchFacts.pages), (std::vector<QSize>{{297, 210}, {297, 210}, {594, 420}}));
    const QString branchCover = Text(Request("branch.pdf").path, 1);
    EXPECT_TRUE(branchCover.contains(QStringLiteral("名称：構造図")));
    EXPECT_FALSE(branchCover.contains(QStringLiteral("A-101")));
    const reports::IssueSetSummary none = reports::WriteIssueSet(db, Request("none.pdf", 99));
    EXPECT_EQ(none.result.status, reports::ReportStatus::Failed);
    EXPECT_FALSE(QFile::exists(Request("none.pdf").path));
}

TEST_F(IssueSetTest, AShareThatStoppedAnsweringIsListedAndWaitedForOnceAndAStopLeavesNoFile)
{
    if (!testing_support::ToolAvailable("pdftotext"))
        GTEST_SKIP() << "pdftotext is not on this machine";
    SetFolder("4, 5", "/dead/share/");
    std::atomic<int> deadLooks{0};
    reports::IssueSetRequest request = Request("dead.pdf");
    request.lookTimeout = std::chrono::milliseconds(300);
    request.load = [&deadLooks](const QString& path, const std::atomic<bool>* cancel,
                                const std::function<void()>& looked) {
        if (!path.startsWith(QStringLiteral("/dead/")))
            return reports::LoadSheets(path, cancel, looked);
        ++deadLooks;
        while (!cancel->load())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return preview::SheetPages();
    };
    QElapsedTimer clock;
    clock.start();
    const reports::IssueSetSummary summary = reports::WriteIssueSet(db, request);
    ASSERT_TRUE(summary.result.done());
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(deadLooks.load(), 1);
    EXPECT_EQ(summary.drawings, 1);  // S-201 on a share that answers
    ASSERT_EQ(summary.failures.size(), 3u);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(summary.failures[i].reason, QString::fromUtf8(reports::texts::kNoAnswer));
    EXPECT_TRUE(Text(request.path, 2).contains(QString::fromUtf8(reports::texts::kNoAnswer)));

    // 中止 during the second file: no target, nothing part-written beside it.
    reports::IssueSetRequest stopped = Request("stopped.pdf");
    const reports::IssueSetSummary stop =
        reports::WriteIssueSet(db, stopped, [](int done, int) { return done < 2; });
    EXPECT_EQ(stop.result.status, reports::ReportStatus::Stopped);
    EXPECT_FALSE(QFile::exists(stopped.path));
    EXPECT_TRUE(QDir(QString::fromStdString(folder.path()))
                    .entryList({QStringLiteral(".k5x7-*")}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}
